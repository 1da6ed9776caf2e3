#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <span>

namespace trv {

class CStrav;

// One write to the reader's port, after a pause of pauseBeforeMs milliseconds.
struct ReaderWrite {
    qint64 pauseBeforeMs = 0;
    QByteArray bytes;

    friend bool operator==(const ReaderWrite&, const ReaderWrite&) = default;
};
using ReaderScript = QList<ReaderWrite>;

// The texts of the reader commands in the reader's two dialects, chosen by [Comm] TypScaneru: the
// angle-bracket dialect ("<Kv0,,,>", configuration commands ending with "<Z>") below 3, the line dialect
// ("SSET", the command lines, "SAVE", each with CR, and "SEND" with CR LF, every line a write of its own)
// from 3 on.
namespace ReaderCommandTexts {

inline constexpr qint64 kPauseMs = 200;

bool lineDialect(qint32 typScaneru);

// Reader on or off.
ReaderScript prepni(bool on, qint32 typScaneru);
// The reader ends every code with CR LF.
ReaderScript crlf(qint32 typScaneru);
// [Comm] ExtCMD with "<CR>" made CR and then "<LF>" made LF (exact case).
QString rozvinExtCmd(QString command);
// The external command (already expanded).
ReaderScript extCommand(const QString& command, qint32 typScaneru);
// The reader sends "NOREAD" for a failed read: the same text in both dialects.
ReaderScript noRead();

// The four length parameters of a voucher-type button: the check flag twice and the shortest and longest
// length, over all types with customer switch 39 on, else of the chosen type.
struct LengthParameters {
    qint32 A = 0;
    qint32 B = 0;
    qint32 C = 0;
    qint32 D = 0;
};
LengthParameters allTypesParameters(std::span<const std::shared_ptr<CStrav>> types);
LengthParameters chosenTypeParameters(const CStrav& chosen);

// What a voucher-type button sends for reader types 1, 2 and 3; nothing for any other type. `gF39` is
// customer switch 39, `trideni` the sorting mode, `minDelka`/`maxDelka` gMinDelka and gMaxDelka.
ReaderScript typeButton(qint32 typScaneru, const CStrav& chosen, std::span<const std::shared_ptr<CStrav>> types,
                        bool gF39, bool trideni, qint32 minDelka, qint32 maxDelka);

} // namespace ReaderCommandTexts
} // namespace trv
