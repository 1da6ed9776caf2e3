#pragma once

#include "closing/ReceiptInfo.h"
#include "closing/StatementTally.h"
#include "platform/Result.h"

#include <QString>

#include <optional>
#include <vector>

namespace trv {

struct AppState;
class CColStrav;
class Clock;
class Printer;
class Prompts;

// The work of the check statement window over the receipt held in gColStrav while it is being read: NOREAD
// readings and repeated codes removed at the start, the statement, deleting one code or the codes of one
// nominal value of one company, and the print.
class KontrolniVycetka {
public:
    KontrolniVycetka(AppState& state, const ReceiptInfo& receipt, Prompts& prompts, const Clock& clock,
                     Printer& printer, ClosingHooks hooks);

    // Start: removes NOREAD readings and repeated codes (the first of equal codes stays) unless [User] AutoDupl
    // is False in any letter case; the status-bar text saying how many went.
    std::optional<QString> vyhodNoread();
    // Start with package/week mode: the month's last package loses its NOREAD readings and repeated codes and its
    // sums go to the main window's status bar.
    void souctyBaliku();

    std::vector<CompanyEntry> polozkyVyberu() const;
    Result<QString> vycetka() const;

    // Asks for a code and deletes it from its type.
    void smazStravenku();
    // Asks for a nominal value and deletes the chosen company's codes of that value: all of them (Yes) or the
    // first (No). `cmbText` is the text of the chosen entry.
    void smazNominal(const QString& cmbText);
    // Prints the statement and tells the operator how it went.
    void tisk();

private:
    CColStrav& types() const;
    QString text(const char* key) const;

    AppState& m_state;
    const ReceiptInfo& m_receipt;
    Prompts& m_prompts;
    const Clock& m_clock;
    Printer& m_printer;
    ClosingHooks m_hooks;
};

} // namespace trv
