#include "receipt/ChequeEntry.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/CheckDigits.h"
#include "core/Kontrola.h"
#include "platform/Conventions.h"
#include "receipt/ReceiptHost.h"

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmRucneCheque");

// A field read as a whole number, as typed: an empty field counts 0.
qint64 cislo(const QString& text) {
    return toInteger(text).value_or(0);
}

} // namespace

ChequeEntry::ChequeEntry(AppState& state, Prompts& prompts, ReceiptHost& host)
    : m_state(state), m_prompts(prompts), m_host(host) {}

QString ChequeEntry::klic(qint64 number) {
    return QStringLiteral("%1").arg(number % 97, 2, 10, QLatin1Char('0'));
}

QString ChequeEntry::klic1(const QString& c) {
    return klic(cislo(c));
}

QString ChequeEntry::klic2(const QString& hodnota, const QString& vyrobce, const QString& rok, const QString& typ) {
    return klic((cislo(rok) + cislo(vyrobce) + cislo(typ)) * 100 + cislo(hodnota));
}

QString ChequeEntry::doplnHodnotu(const QString& hodnota) {
    return hodnota.size() >= 5 ? hodnota : QString(5 - hodnota.size(), u'0') + hodnota;
}

QString ChequeEntry::slozKod(const Fields& f) {
    const QString key1 = f.kontr.isEmpty() ? klic1(f.cislo) : f.kontr;
    return QStringLiteral("0") + f.cislo + key1 + f.hodnota + f.vyrobce + f.rok +
           klic2(f.hodnota, f.vyrobce, f.rok, f.typ) + f.typ;
}

QString ChequeEntry::cisloMusiMit9Cislic() const {
    return m_state.config.DejText(kSection, QStringLiteral("CisloMusiMit9Cislic"));
}

QString ChequeEntry::titulek() const {
    return m_state.config.DejText(kSection, QStringLiteral("Chyba"));
}

ChequeEntry::Outcome ChequeEntry::refuse(const char* key, const QString& titleSection) const {
    return {Outcome::Kind::Refused, m_state.config.DejText(kSection, QString::fromLatin1(key)),
            m_state.config.DejText(titleSection, QStringLiteral("Chyba"))};
}

ChequeEntry::Outcome ChequeEntry::zadejNacteny(const QString& kod) {
    if (!m_state.gColStrav)
        return {Outcome::Kind::Refused, QStringLiteral("Typy stravenek nejsou načteny."), titulek()};
    Kontrola kontrola(m_state, *m_state.gColStrav, m_prompts, m_host.reader());
    if (!kontrola.OverDelku(kod))
        return refuse("ChybnyKod", kSection);
    if (!OverInterleave(*m_state.gColStrav, kod)) {
        Outcome outcome = refuse("ChybaInterleave", QStringLiteral("frmRucne"));
        outcome.vymazat = true;
        return outcome;
    }
    return book(kod);
}

ChequeEntry::Outcome ChequeEntry::zadejSlozeny(const QString& kod) {
    if (!m_state.gColStrav)
        return {Outcome::Kind::Refused, QStringLiteral("Typy stravenek nejsou načteny."), titulek()};
    Kontrola kontrola(m_state, *m_state.gColStrav, m_prompts, m_host.reader());
    if (!kontrola.OverDelku(kod))
        return refuse("ChybneZadani", kSection);
    return book(kod);
}

ChequeEntry::Outcome ChequeEntry::book(const QString& kod) {
    Booking booking(m_state, *m_state.gColStrav, m_prompts, m_host.reader());
    // The booking tells the operator why it refused a code; a code that is not in the receipt must not stand in
    // its box, which becomes the receipt's file.
    // Through the host, which also writes the code to the receipt's file as it is booked.
    if (m_host.PridejKod(booking, kod, 2))
        zapisDoPrijmu(kod);
    return {};
}

void ChequeEntry::zapisDoPrijmu(const QString& kod) {
    m_host.appendReceiptText(kod + QStringLiteral("\r\n"));
}

} // namespace trv
