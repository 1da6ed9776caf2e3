#pragma once

#include "platform/Result.h"

#include <QStringList>

#include <filesystem>

namespace trv {

struct AppState;
class CColStrav;
class PackageState;
class Prompts;

// The package file of package mode (<receipt>.bal): for every package written, a line "#" and the package
// number, then the package's codes, one per line, CR LF after each, in Windows-1250.

// UlozBalik: adds package `cisloBaliku` with every code held in memory to the end of the package file
// (created when missing), and makes those codes the codes of the package written last, leaving the current
// package's code list empty. The file is replaced as a whole only once the new text is complete, so a failed
// write leaves it as it was; the package state then stays as it was too, and the error names the file.
Status UlozBalik(const std::filesystem::path& path, qint64 cisloBaliku, const CColStrav& types, PackageState& package);
Status UlozBalik(const std::filesystem::path& path, qint64 cisloBaliku, const QStringList& codes,
                 PackageState& package);

// Stores AppState::gCisloBaliku as the number of the next package ([Balickovani] DalsiCisloBaliku); a failed
// write is shown to the operator, the number in memory stands.
void zapisDalsiCisloBaliku(AppState& state, Prompts& prompts);

} // namespace trv
