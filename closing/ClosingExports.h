#pragma once

#include "platform/Result.h"
#include "platform/TextFiles.h"

#include <QString>
#include <QStringList>

#include <filesystem>

namespace trv {

class CColStrav;
class CStrav;
class Config;
class Prompts;

// The exports written from the closing window, named after the day data file.

// The day data file's name without its folder and extension ("241209007_2").
QString zakladniJmeno(const std::filesystem::path& dayFile);

// The lines of the per-company export of one type: base name, "|", code, "|0|", for every code other than the
// NOREAD text, each handed to `line` as it is made.
void radkyExportuSpolecnosti(const CStrav& type, const QString& baseName, const QString& noRead,
                             const TextFiles::LineSink& line);

// exportujSpolecnost: writes the per-company export file of a type whose definition asks for it (export type
// "SODEXHO"): <Cesta>/<base name>.<Pripona>. A definition that lacks the type, the folder or the extension, or
// names a folder that does not exist, is reported to the operator and nothing is written (the result is then
// success: the save goes on). The type's Cesta gets a final separator for the rest of the run. The operator is
// told of the file once it is written; an error when it cannot be.
Status exportujSpolecnost(CStrav& type, const std::filesystem::path& dayFile, const QString& noRead,
                          const Config& config, Prompts& prompts);

// The AS400 records of the first voucher type: characters 2-12 of the code, "<", 13-19, 21-22, "<", 2-10, "<",
// the last six characters of the base name and the reading kind; NOREAD readings included.
QStringList zaznamyAS400(const CColStrav& types, const QString& baseName);
// The nominal summary of the first voucher type: per nominal field (characters 13-17 of the code), in the
// order of first occurrence, base name, ";", the count as five digits, ";", the field. NOREAD readings left out.
QStringList souhrnNominalu(const CColStrav& types, const QString& baseName, const QString& noRead);

// The two AS400 files of a receipt: <AS400 folder>/<base name>.400 and the nominal summary beside the day data
// file, <day data file without extension>.TXT. Each is written whole or not at all; an error names the file.
struct As400Files {
    std::filesystem::path as400;
    std::filesystem::path souhrn;
};
As400Files souboryAS400(const std::filesystem::path& dayFile, const std::filesystem::path& as400Folder);
Status exportujAS400(const std::filesystem::path& dayFile, const std::filesystem::path& as400Folder,
                     const CColStrav& types, const QString& noRead);

} // namespace trv
