#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

namespace trv {

// One record of a statement file (.vyc), read back at the separator it was written with
// (`DejOddelovacExportu`, [Data] ExpTxtSeparator). Every reader of statement files uses this.
namespace StatementLine {

// The fields of the line: split at the separator first, then each field trimmed (with a blank separator,
// trimming first would shift the fields when the first is empty). nullopt for a line holding nothing but
// blanks.
std::optional<QStringList> fields(const QString& line, const QString& separator);

// The fields when the line has at least `position` fields (1-based position of the field the caller needs,
// the code field say); nullopt for an empty line or a shorter one, which the readers skip.
std::optional<QStringList> fieldsWith(const QString& line, const QString& separator, int position);

// The same reading on the UTF-8 bytes of one line, for readers that go through a month of statement files:
// the field at `position` (1-based), trimmed of blanks, without building a list. nullopt where fieldsWith
// gives nullopt.
std::optional<std::string_view> fieldAt(std::string_view line, std::string_view separator, int position);

} // namespace StatementLine
} // namespace trv
