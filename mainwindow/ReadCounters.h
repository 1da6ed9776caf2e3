#pragma once

#include <QObject>
#include <QString>

namespace trv {

struct AppState;

// The read counters of the counter windows: lines processed outside package mode (gPocetCteni), of these the
// lines other than the NOREAD text (gPocetBezNoRead), and the receive events of the port (gPocetPrijmu), which
// runs 1 to 31 and round again to show that data keeps arriving. The counts are 64 bits wide, so a long day
// never wraps them. The counter window of the current mode shows them on changed().
class ReadCounters final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReadCounters)

public:
    explicit ReadCounters(const AppState& state, QObject* parent = nullptr);
    ~ReadCounters() override;

    qint64 gPocetCteni() const { return m_pocetCteni; }
    qint64 gPocetBezNoRead() const { return m_pocetBezNoRead; }
    qint64 gPocetPrijmu() const { return m_pocetPrijmu; }

    // One processed line; the NOREAD text counts only in gPocetCteni.
    void ZapocitejCteni(const QString& kod);
    // Receive events: past 30 the counter starts again from 0 before `pocet` is added.
    void ZapocitejPrijem(qint64 pocet);
    // Resets the two read counts; the receive counter goes on.
    void VynulujPocitadla();

    // The counts as they stand, and putting them back (an end of receipt that did not happen).
    struct Counts {
        qint64 cteni = 0;
        qint64 bezNoRead = 0;
        qint64 prijmu = 0;
    };
    Counts counts() const { return {m_pocetCteni, m_pocetBezNoRead, m_pocetPrijmu}; }
    void restore(const Counts& counts);

Q_SIGNALS:
    void changed();

private:
    const AppState& m_state;
    qint64 m_pocetCteni = 0;
    qint64 m_pocetBezNoRead = 0;
    qint64 m_pocetPrijmu = 0;
};

} // namespace trv
