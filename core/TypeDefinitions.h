#pragma once

#include "core/ValueTable.h"
#include "platform/Result.h"

#include <QString>

#include <filesystem>

namespace trv {

class CColStrav;

// The voucher-type definition files: TypStrav.ini, TypStravGroup.ini (the same layout, plus each type's
// product group in GroupType) and the value tables they name. Section [TYPY] holds Pocet, the number of
// sections [TYP1] ... [TYPn], one voucher type each.
namespace TypeDefinitions {

enum class FileKind {
    Types,  // TypStrav.ini: Vydavatel is taken in capitals
    Groups, // TypStravGroup.ini: GroupType is read and written, Vydavatel kept as written
};

// Appends one type per section to the collection, in section order. A missing file or [TYPY] adds nothing.
// A missing value-table file is reported to the operator and the load goes on. A value that does not convert
// (a number, a 16-bit field out of range, a date), a value-table entry without ":" and a code part twice in
// one table end the load with an error naming the file, section and key; the types before it stay.
Status load(CColStrav& types, const std::filesystem::path& file, FileKind kind);

// Writes the collection to the file: [TYPY] Pocet and one section per type in collection order, with every
// key the load reads in the form it reads back. Keys and sections the load does not know are kept; a type's
// own unknown keys move with it when types before it were removed. The file is replaced only when the whole
// new one is written; on failure it stays as it was and the error carries the operator's message.
Status save(const CColStrav& types, const std::filesystem::path& file, FileKind kind);

// Reads a value-table file ([Hodnoty] Pocet and Hodnota1 ... HodnotaN, each "code part:value") into the
// table. A file without [Hodnoty] gives no entries.
Status loadValueTable(const std::filesystem::path& file, ValueTable& table);

// The message of a failed save, followed by the reason on its own line.
QString saveErrorMessage(const std::filesystem::path& file, const QString& reason);

} // namespace TypeDefinitions
} // namespace trv
