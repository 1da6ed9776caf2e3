#pragma once

#include "platform/Result.h"
#include "platform/TextCodec.h"

#include <QString>

#include <filesystem>

namespace trv {

struct CustomerSwitches;

// What the browser does to one day data file: delete it with the files written beside it, give it another SM,
// and copy it under another name (the editor holds its file as DataFileText).
namespace DataFileOps {

// n blanks, at most 39 (the padding the browser offers its prints); none for a negative n.
QString mezery(qsizetype n);

// The statement file of a day data file: its path with the last three characters replaced by "vyc".
std::filesystem::path statementTwin(const std::filesystem::path& dayFile);

// Deletes the day data file, then its statement file and its nominal summary when they exist. Files deleted
// before an error stay deleted; the error names the file.
Status smaz(const std::filesystem::path& dayFile);

// The field of a statement record that holds the SM (0-based): the depot layout (switch 28) first, then the
// record without the leading date (switch 11), else the default layout.
int smField(const CustomerSwitches& sw);

// Gives the day data file `name` of `folder` the SM `sm`: the file is renamed, every record of its statement
// file (read and written at `separator`, every field kept, empty ones too) gets the new SM in its SM field, and
// its nominal summary follows it under the new stem, the stem opening each of its lines rewritten. Everything is
// checked before anything is written, and on any error the files are as they were. The new name of the day data
// file on success; an SM the file already has is refused.
Result<QString> zmenSM(const std::filesystem::path& folder, const QString& name, const QString& sm,
                       const QString& separator, int smFieldIndex);

// Removes what a change of SM stopped part way left in the folder: its staged statement files and nominal
// summaries ("~<name>.vyc.tmp", "~<name>.TXT.tmp").
void odstranZbytky(const std::filesystem::path& folder);

// The name a copy gets: the text the operator typed and ".txt".
QString ulozJakoNazev(const QString& typed);
// Copies the file to the target through a temporary file; an existing target is replaced.
Status ulozJako(const std::filesystem::path& source, const std::filesystem::path& target);

} // namespace DataFileOps
} // namespace trv
