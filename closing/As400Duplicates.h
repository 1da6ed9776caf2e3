#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace trv {

struct AppState;
class CColStrav;

// The duplicate search in the AS400 files (.400) that the closing exports write into the AS400 folder: which of
// the chosen files already hold codes of the current receipt.
namespace As400Duplicates {

// The .400 files of the AS400 folder, by name (case-insensitively sorted); an error names the folder.
Result<QStringList> soubory(const std::filesystem::path& as400Folder);

// The code parts (characters 2 to 10) of the receipt's codes that the AS400 files hold: those of the first
// voucher type, NOREAD readings left out (an AS400 file keeps its own NOREAD lines, which every NOREAD would hit).
QStringList castiKodu(const CColStrav& types, const QString& noRead);

struct Hit {
    QString file;
    QString part;
    QString line() const { return file + QStringLiteral(" - ") + part; }
};
struct Result {
    std::vector<Hit> hits;
    QStringList filesWithHits;
};

// hledejDuplicity: each chosen file read whole and searched for every code part (exact, case-sensitive); one hit
// per code part found in a file. Stops at the first file that cannot be read, with the hits found before it.
trv::Result<Result> hledej(const std::filesystem::path& as400Folder, const QStringList& files, const QStringList& parts,
                           Result* partial = nullptr);

// The output of frmTiskUloz: two empty lines, the heading, 18 asterisks, an empty line, one line per hit.
QStringList vystup(const QString& heading, const QStringList& hitLines);

// A name for the output file typed by the operator: refused when empty, holding a path separator or "..", or a
// character a file name cannot hold. Empty when acceptable, else the reason.
QString chybaNazvu(const QString& name);

} // namespace As400Duplicates
} // namespace trv
