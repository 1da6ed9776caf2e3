#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <filesystem>

namespace trv {

// The code masks: one 16-character mask per file "<name>.msk" in the folder "maska" of the program folder.
class Config;

class CodeMasks {
public:
    explicit CodeMasks(std::filesystem::path programFolder);

    std::filesystem::path slozka() const { return m_folder; }
    // Creates the mask folder when it does not exist.
    Status vytvorSlozku() const;
    // The mask files of the folder ("*.msk" in any letter case), sorted by name; empty when there is no folder.
    QStringList soubory() const;
    // The name the list shows: the file name without its last four characters.
    static QString nazevMasky(const QString& soubor);

    // A name typed for a new mask is used as a file name: it must be a plain name (no folder separators, no
    // "..", none of the characters file names may not hold). Empty when fine, else the reason.
    static QString chybaNazvu(const QString& nazev);
    // The file a new mask of that name goes to: "<name>.msk" in the folder (".msk" is added even when the
    // name ends in it).
    std::filesystem::path souborNove(const QString& nazev) const {
        return m_folder / (nazev + QStringLiteral(".msk")).toStdU16String();
    }
    // The mask file listed under that name: a name that could not be decoded opens by its own bytes.
    std::filesystem::path soubor(const QString& soubor) const;

    // The first line of a mask file; an error when the file is missing, unreadable or empty.
    Result<QString> nacti(const QString& soubor) const;
    // Writes the mask brought to 16 characters, without a line end, in Windows-1250, replacing the file.
    // An error when the folder does not exist (60001, "Neexistující cesta.") or the write fails.
    Status uloz(const std::filesystem::path& file, const QString& maska) const;
    Status smaz(const QString& soubor) const;

    // The mask windows' error message: the window's text of `key`, a line break, "Num: ", the number, the
    // window's separator and the description.
    static QString hlaseni(const Config& config, const QString& section, const QString& key, const Error& e,
                           const QString& separator);

private:
    std::filesystem::path m_folder;
};

} // namespace trv
