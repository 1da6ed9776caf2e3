#pragma once

#include "platform/IniDocument.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>

#include <filesystem>
#include <optional>

namespace trv {

// A sentinel read that gets this text back treats the key as missing.
inline const QString kMissingSentinel = QStringLiteral("hodnota nenalezena");

inline const QString kConfigFileName = QStringLiteral("TRV7300.ini");
inline const QString kDefaultLanguageFileName = QStringLiteral("langCS.ini");

// Characters that come back from the readers: installations were set up with these buffer sizes, and values
// longer than that were always seen cut. Folder and file paths are never cut (see Config::ctiCestu).
inline constexpr qsizetype kIniValueMax = 254;
inline constexpr qsizetype kSentinelValueMax = 49;

// A file of the program folder that installations copied from Windows spell in any letter case (TRV7300.ini,
// TypStrav.ini, TypStravGroup.ini): the file found, the exact name first when two differ only in case; else
// the exact name, so that a first write creates the file under it. Reads and writes both go to this one file.
std::filesystem::path souborProgramu(const std::filesystem::path& folder, const QString& name);

// The value of the key in the section of an INI file, or the default when the file, the section or the key
// is missing; at most 254 characters, cut at a NUL character.
QString CtiINI(const QString& section, const QString& key, const QString& def, const std::filesystem::path& file);
// The same reader under the second name the definition-file loader uses.
QString CtiINI2(const QString& section, const QString& key, const QString& def, const std::filesystem::path& file);

// The configuration file gIniSoubor and the language file gJazykovySoubor, and every read and write of them.
class Config {
public:
    Config() = default;
    Config(std::filesystem::path iniFile, std::filesystem::path languageFile);

    const std::filesystem::path& gIniSoubor() const { return m_iniFile; }
    const std::filesystem::path& gJazykovySoubor() const { return m_languageFile; }
    void setIniFile(std::filesystem::path file);
    void setLanguageFile(std::filesystem::path file);
    // The folder of the configuration file; relative folders of the configuration are taken from there.
    std::filesystem::path programFolder() const { return m_iniFile.parent_path(); }

    // CtiINI on the configuration file.
    QString CtiKonfig(const QString& section, const QString& key, const QString& def) const;
    // Sentinel read: nullopt when the key is missing or holds the sentinel, else at most 49 characters.
    std::optional<QString> ctiSentinel(const QString& section, const QString& key) const;
    // Sentinel read of a value read whole: the same missing rule, never cut. Used for every key a window writes
    // back (a value cut on reading would be saved cut).
    std::optional<QString> ctiCele(const QString& section, const QString& key) const;
    // Sentinel read of a folder or file path: read whole, as a cut path silently points elsewhere.
    std::optional<QString> ctiCestu(const QString& section, const QString& key) const { return ctiCele(section, key); }
    // Writes one key of the configuration file (creates file, section and key as needed).
    Status zapis(const QString& section, const QString& key, const QString& value) const;
    // Whether [Data] kurzEuro is configured (a sentinel read). EUR mode asks at every valuation: a configured
    // rate is kept, and the file is looked at again only after a write through zapis, another configuration
    // file, or a change of the file's size or time found at most once a second; a missing one is read again
    // at each call (the valuation fails then anyway).
    bool maKurzEuro() const;

    // The language text of (section, key); a missing text reads as one space, never as an error.
    QString DejText(const QString& section, const QString& key) const;

private:
    // Windows and reports look up hundreds of texts: the parsed language file is kept while its bytes stay
    // the same (time stamps are too coarse to tell a quick edit).
    struct LanguageCache {
        QByteArray bytes;
        IniDocument document;
        bool loaded = false;
    };
    const IniDocument* languageDocument() const;

    struct RateCache {
        bool present = false;
        qint64 size = -1;
        QDateTime modified;
        QElapsedTimer checked;
    };

    std::filesystem::path m_iniFile;
    std::filesystem::path m_languageFile;
    mutable LanguageCache m_cache;
    mutable RateCache m_rate;
};

} // namespace trv
