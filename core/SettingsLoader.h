#pragma once

#include "core/AppState.h"
#include "platform/Result.h"

#include <QList>
#include <QString>

#include <filesystem>
#include <optional>

namespace trv {

// The system's error number for a configured folder whose key is missing.
inline constexpr int kErrMissingKey = 60000;

// Reads [Comm] NOREAD into gNoRead and [Firma] FirmaID into the customer switches. An absent or empty
// FirmaID is written as "0000000000" and leaves every switch off; the result is that write's outcome
// (the settings are loaded either way).
Status NactiNastaveni(AppState& state);

// Reads the six port keys of [Comm] and the buffer sizes. False when one of the six is missing; the
// settings read before it keep their new values. Never shows anything.
bool NactiNastaveniPortu(const Config& config, PortSettings& port);
bool NactiNastaveniPortu(AppState& state);

// The configured folders. A relative folder is taken from the program folder. A missing key that the
// program cannot do without is an error numbered 60000 carrying the description the operator sees after
// folderErrorText; it fails the operation that asked, never the program.
enum class DataFolder { Dat, Exportu, ExpSpol, DenSFB, SFB, AS400, Vycetek, UCT };

Result<std::filesystem::path> DejCestuDat(const Config& config);     // [Data] Dir
Result<std::filesystem::path> DejCestuExportu(const Config& config); // [Data] ExpDir
Result<std::filesystem::path> DejCestuExpSpol(const Config& config); // [Data] ExpSpolDir
Result<std::filesystem::path> DejCestuDenSFB(const Config& config);  // [Data] DirDenSFB
Result<std::filesystem::path> DejCestuSFB(const Config& config);     // [Data] DirSFB
std::filesystem::path DejCestuAS400(const Config& config);           // [Data] DirAS400, empty when missing
std::filesystem::path DejCestuVycetek(const Config& config);         // [Data] ExportVycetkyPath, empty when missing
Result<std::filesystem::path> DejCestuUCT(const Config& config);     // [Data] UCTDir, else the data folder

// A folder as configured: a relative folder is taken from the program folder.
std::filesystem::path configuredFolder(const Config& config, const QString& value);

// The receipt start's message for a data folder that does not exist, naming the folder it looked for.
QString missingDataFolderText(const std::filesystem::path& folder, bool dailySafeBag = false);

// The operator's message for a failed folder getter: its language text, a line break, the number and
// the description.
QString folderErrorText(const Config& config, DataFolder folder, const Error& error);

// The field separator of the statement file and the exports ([Data] ExpTxtSeparator): at most 4
// characters; a value that starts with a blank, or no value, gives one blank.
QString DejOddelovacExportu(const Config& config);

// A Boolean as the configuration stores it: "True"/"False" in any letter case, or a number (not 0 is True);
// nothing for any other text.
std::optional<bool> storedBoolean(const QString& text);
// "True" and "False" kept as text: "False" when missing or starting with "Fals", "True" when starting
// with "True", else the first four characters as stored (which count as not "True").
QString storedBooleanText(const std::optional<QString>& value);

// A stored text that a settings reader could not take; the reader used the key's default instead.
struct UnreadableSetting {
    QString section, key, value, reason;
};

// The readers of the keys the settings window shows and writes back. The start-up and the window read each key
// by the same rule, whole (a value cut on reading would be saved cut). A text that cannot be read gives the
// key's default and, when `unreadable` is given, is listed there.
// [User] AutoDorovn, AutoDupl, Mode, AutoPoc.
void loadUserSettings(AppState& state, QList<UnreadableSetting>* unreadable = nullptr);
// [Platnost]: validity check, years and dates, blocked ranges (default "000000000"), gift vouchers.
void loadValiditySettings(AppState& state, QList<UnreadableSetting>* unreadable = nullptr);
// [Firma] Nazev and Hlavicka.
void loadCompanyTexts(AppState& state);
// [User] AS400: True unless the text starts with "Fals".
bool nactiAS400(const Config& config);
// [Data] ExpSpolZkraceny: True when the text starts with "True".
bool nactiExpSpolZkraceny(const Config& config);
// [User] SoftwZastavovani: the Boolean of its first 5 characters, False when missing or none.
bool nactiSoftwZastavovani(const Config& config, QList<UnreadableSetting>* unreadable = nullptr);
// A validity year as stored: a whole number in the 32-bit range.
std::optional<qint32> storedYear(const QString& text);

// The main window's settings read before the working mode starts: Debug, HideRightPanel and the readers above
// for the user switches, the validity settings and the company texts.
void loadMainWindowSettings(AppState& state);
// The data folder (the daily safe-bag folder in that mode) and the AS400 folder (the data folder when not
// configured). Fails with the error of the getter, leaving the folders as they were.
Status loadDataFolders(AppState& state);
// The settings read after the first receipt-start dialog: AutoPrijem, AS400, ExpSpolZkraceny,
// MezBalicku, DalsiCisloBaliku, DTRSleep.
void loadReceivingSettings(AppState& state);

} // namespace trv
