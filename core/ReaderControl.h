#pragma once

#include <QString>
#include <QStringList>

namespace trv {

// What the checks and the booking need of the bar-code reader on the main window: every rejected code first
// stops the reader, and with customer switch 43 it is reported in the error-log window instead of a message box.
class ReaderControl {
public:
    virtual ~ReaderControl() = default;
    // Stops the reader (a DTR pulse of [Comm] DTRSleep milliseconds).
    virtual void ZastavCteni() = 0;
    // Appends one line to the error-log window, opening it when needed.
    virtual void LogujDoOkna(const QString& text) = 0;
};

// The operator's message for a receipt that started while the reader's switch-on command did not go out:
// the receipt runs (codes can be typed), and `reason` says which port and why.
inline QString readerNotSwitchedOnText(const QString& reason) {
    return QStringLiteral("Čtečka nebyla zapnuta, %1\nPříjem běží, kódy lze zadávat ručně.").arg(reason);
}

// A reader that only remembers what it was asked to do: for tests, and for runs over stored files where no
// reader is attached.
class NullReaderControl final : public ReaderControl {
public:
    void ZastavCteni() override { ++m_stops; }
    void LogujDoOkna(const QString& text) override { m_logged.append(text); }

    int stops() const { return m_stops; }
    const QStringList& logged() const { return m_logged; }
    void clear() {
        m_stops = 0;
        m_logged.clear();
    }

private:
    int m_stops = 0;
    QStringList m_logged;
};

} // namespace trv
