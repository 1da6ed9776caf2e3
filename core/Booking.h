#pragma once

#include "platform/Currency.h"
#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <filesystem>

#include <memory>
#include <optional>

namespace trv {

struct AppState;
class CColStrav;
class CPolozka;
class CStrav;
class Prompts;
class ReaderControl;

// Booking of code texts into the code collections of the voucher types of one collection: the live reader and
// the manual entry (PridejKod), the period duplicate check (PridejKodDuplicityCheque), package files
// (PridejKodDoBaliku) and a date filter (PridejKodLastDate). In package/week mode the bookings keep a running
// value per company and warn when its package grows past the warning threshold or the maximum statement sum.
//
// A refused code stops the reader and is reported: a code of no known type, and (PridejKod) a code whose value
// the type's value table lacks. The booking operations give null for a refused code; lastError() then says why.
class Booking {
public:
    Booking(AppState& state, CColStrav& types, Prompts& prompts, ReaderControl& reader);

    // Whether the code may be booked with the type chosen on the main window (0-based index): always with the
    // company check (customer switch 24) off, for the NOREAD text and for a code of no known type.
    bool OverZvolenouSplecnost(const QString& s, int selectedIndex);
    // Books the code (a repeated code again). With maxVycetkaVarning in package/week mode the company's package
    // value grows and is warned about at each fifth of the way from its warning threshold to its maximum.
    // Booked into the receipt (gColStrav), a code whose value would carry the receipt's sums past the money
    // type's range is refused (CColStrav::vahaKodu).
    std::shared_ptr<CPolozka> PridejKod(const QString& s, qint32 tn, bool maxVycetkaVarning);
    // The refusal of a code the receipt's sums cannot take, and of a stored file whose codes already pass the
    // range: each names the code or the file and the largest sum.
    static QString kodMimoRozsahText(const QString& kod);
    // Stops the reader and tells the operator of code `s` that is not taken: in the error-log window when the
    // installation logs errors there, else in a box.
    static void stopAndTell(const AppState& state, ReaderControl& reader, Prompts& prompts, const QString& s,
                            const QString& text);
    static QString souborMimoRozsahText(const std::filesystem::path& soubor);
    // Adds the value of a code booked to `t` to its running package value, and warns as a live code does when the
    // value passes the type's warning threshold (the threshold then moves on a step). A stored file booked
    // again warns while it is read, so that the later live codes warn only at the thresholds still ahead.
    void pripoctiDoBaliku(CStrav& t, Currency value);
    // Books a line of a stored file (a day data file reloaded, a day's files totalled, a period loaded): every
    // code of a recognised type is booked, also one whose value table lacks its part (it is worth 0, and the
    // valuation tells the operator once per code); the refusal of such codes is for codes read live or typed.
    // Nothing is shown and the reader is not stopped: a line of no known type comes back as an error naming
    // the line and the file, for the caller to report once for its whole run (see ohlasNerozpoznane). An
    // empty line books nothing and is no error.
    Result<std::shared_ptr<CPolozka>> PridejUlozenyKod(const QString& s, qint32 tn,
                                                       const std::filesystem::path& soubor);
    // Tells the operator about the stored lines PridejUlozenyKod refused (their error texts), once for the run:
    // one message box, or with customer switch 43 one error-log line each. `zastavit` stops the reader first
    // (a receipt that is reading). Nothing happens for an empty list.
    void ohlasNerozpoznane(const QStringList& texty, bool zastavit);

    // Books the code under its own text: a code already there goes to the type's duplicates and Duplicity.log.
    std::shared_ptr<CPolozka> PridejKodDuplicityCheque(const QString& s, qint32 tn, const QString& dataFile);
    // Books a code of a package file when the package character of its company in balikMask is the chosen
    // package (balikTisk: one character for every company, or one per company).
    std::shared_ptr<CPolozka> PridejKodDoBaliku(const QString& s, const QString& balikMask, const QString& balikTisk,
                                                bool hlasitPresah);
    // Books the code when its type's last statement is older than lastDate (YYMMDD); returns it either way.
    std::shared_ptr<CPolozka> PridejKodLastDate(const QString& s, const QString& lastDate);

    // Empties the codes of every type and zeroes their package values.
    void VymazBuf();
    // With [User] AutoDupl on: drops NOREAD entries and repeated codes (the first stays) from every type.
    void VyhodDupl();
    // Loads the current package of week `tyden` from the package/week day files of the data folder dated from
    // gMaxVycetkaDatumBaliku1 on (statement mode only), then drops duplicates and recomputes the sums. An error
    // names the file that could not be read or valued; the codes read before it stay booked.
    Status nactiPosledniBalik(const QString& balik, int tyden, bool maxVycVarn);

    // Why the last booking operation gave null, or a file it could not write to (the duplicate log); nullopt
    // after a booking that went through.
    const std::optional<Error>& lastError() const { return m_lastError; }

private:
    // The type the code is booked to; null, reported and stopped for, when there is none.
    std::shared_ptr<CStrav> findType(const QString& s, bool logToWindow);
    std::shared_ptr<CPolozka> newCode(const QString& s, qint32 tn, const std::shared_ptr<CStrav>& type) const;
    bool refuseMissingValue(const QString& s, const CStrav& type);
    bool refuseOutOfRange(const QString& s, const CPolozka& code);
    Result<std::shared_ptr<CPolozka>> pridejKodDoBaliku(const QString& s, const QString& balikMask,
                                                        const QString& balikTisk, bool hlasitPresah);
    void warnPackage(const CStrav& type);
    void refuse(QString message);
    // Stops the reader, tells the operator (or the error-log window) of code `s` and refuses it.
    void stopAndRefuse(const QString& s, const QString& text);

    AppState& m_state;
    CColStrav& m_types;
    Prompts& m_prompts;
    ReaderControl& m_reader;
    std::optional<Error> m_lastError;
    bool m_logFailureReported = false;
};

} // namespace trv
