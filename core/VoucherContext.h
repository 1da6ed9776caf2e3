#pragma once

#include <QSet>
#include <QString>

namespace trv {

struct AppState;
class Clock;
class Prompts;

// Codes of value-table types whose value part the table lacks. The operator hears of each such code once
// in a run: valuing it again (sums, statements, deletions by nominal value) stays silent.
class MissingValueReports {
public:
    // True the first time the code of that type is offered.
    bool firstReport(const QString& typeName, const QString& code)
    {
        const QString key = typeName + u'\n' + code;
        if (m_reported.contains(key))
            return false;
        m_reported.insert(key);
        return true;
    }
    void clear() { m_reported.clear(); }

private:
    QSet<QString> m_reported;
};

// What voucher types and their codes read of the program around them: the switches, the NOREAD text, the
// document kind, the configuration and the program folder (through the state), the prompts for the few
// messages shown while loading or valuing, and the clock for the day a definition defaults to. A collection
// hands it to every type it holds; the three objects outlive every collection built over them.
struct VoucherContext {
    AppState& state;
    Prompts& prompts;
    const Clock& clock;
};

} // namespace trv
