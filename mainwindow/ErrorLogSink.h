#pragma once

#include <QString>

namespace trv {

// Where the error-log lines of rejected codes go: the error-log window, which the main window opens on the
// first line (modeless, owned by the main window) and opens anew after the operator has closed it.
class ErrorLogSink {
public:
    virtual ~ErrorLogSink() = default;
    // Appends one line (PridejChybu of the window).
    virtual void PridejChybu(const QString& text) = 0;
};

} // namespace trv
