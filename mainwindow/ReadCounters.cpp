#include "mainwindow/ReadCounters.h"

#include "core/AppState.h"

namespace trv {

ReadCounters::ReadCounters(const AppState& state, QObject* parent) : QObject(parent), m_state(state) {}

ReadCounters::~ReadCounters() = default;

void ReadCounters::ZapocitejCteni(const QString& kod) {
    ++m_pocetCteni;
    if (kod != m_state.gNoRead)
        ++m_pocetBezNoRead;
    Q_EMIT changed();
}

void ReadCounters::ZapocitejPrijem(qint64 pocet) {
    if (m_pocetPrijmu > 30)
        m_pocetPrijmu = 0;
    m_pocetPrijmu += pocet;
    Q_EMIT changed();
}

void ReadCounters::VynulujPocitadla() {
    m_pocetCteni = 0;
    m_pocetBezNoRead = 0;
    Q_EMIT changed();
}

void ReadCounters::restore(const Counts& counts) {
    m_pocetCteni = counts.cteni;
    m_pocetBezNoRead = counts.bezNoRead;
    m_pocetPrijmu = counts.prijmu;
    Q_EMIT changed();
}

} // namespace trv
