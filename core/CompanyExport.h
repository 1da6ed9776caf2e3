#pragma once

#include "platform/Result.h"
#include "platform/TextCodec.h"

#include <QString>
#include <QStringList>

class QIODevice;

namespace trv {

class CColStrav;
class CPolozka;

// The per-issuer list export: the codes of every voucher type of one issuer (the first three letters of the
// type's name, in any letter case), one line per code, types in collection order and codes in booking order.
// Cheques of "CHE" are written in the AS400 layout: characters 2-12, "<", 13-19, 21-22, "<", 2-10, "<" and the
// reading kind; every other issuer's code as read. No header, no count.

// The line of one code for the issuer prefix.
QString radekProSpolecnost(const QString& prefix, const CPolozka& code);
// The lines of the issuer's codes.
QStringList ExportProSpolecnosti(const QString& prefix, const CColStrav& types);
// Writes the lines, each ended by CR LF, to an open device (the file the summary window created). An error
// names the device's file when the write fails; the lines written before it stay.
Status ExportProSpolecnosti(const QString& prefix, QIODevice& out, const CColStrav& types,
                            TextEncoding enc = TextEncoding::Windows1250);

} // namespace trv
