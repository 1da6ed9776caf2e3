#include "receipt/ManualEntry.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/CheckDigits.h"
#include "core/Kontrola.h"
#include "receipt/ReceiptHost.h"

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmRucne");

} // namespace

ManualEntry::ManualEntry(AppState& state, Prompts& prompts, ReceiptHost& host)
    : m_state(state), m_prompts(prompts), m_host(host) {}

QList<ManualEntry::TypeEntry> ManualEntry::typeEntries() const {
    QList<TypeEntry> entries;
    if (!m_state.gColStrav)
        return entries;
    for (const auto& t : *m_state.gColStrav)
        entries.append({t->Nazev, t->Delka});
    return entries;
}

void ManualEntry::chooseType(int index, qint32 firstLength) {
    m_firstLength = firstLength;
    m_typeIndex = index;
    if (m_state.gColStrav && index >= 0 && index < m_state.gColStrav->pocetSpolecnosti()) {
        if (const auto t = m_state.gColStrav->Item(index + 1))
            m_secondLength = t->Delka2;
    }
}

bool ManualEntry::submitsAutomatically(const QString& text) const {
    if (m_secondLength != 0 && text.size() == m_secondLength)
        return true;
    if (m_secondLength != 0 && m_secondLength != m_firstLength)
        return false;
    return text.size() == m_firstLength;
}

std::optional<QString> ManualEntry::enterRefusal(const QString& text) const {
    if (text.isEmpty() || text.size() == m_firstLength)
        return std::nullopt;
    return m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ChybnaDelka")) + text;
}

QString ManualEntry::messageTitle() const {
    return m_state.config.DejText(kSection, QStringLiteral("Chyba"));
}

ManualEntry::Outcome ManualEntry::refuse(const char* key) const {
    return {Outcome::Kind::Refused, m_state.config.DejText(kSection, QString::fromLatin1(key))};
}

ManualEntry::Outcome ManualEntry::submit(const QString& kod) {
    if (kod.isEmpty())
        return {};
    if (!m_state.gColStrav)
        return {Outcome::Kind::Refused, QStringLiteral("Typy stravenek nejsou načteny.")};
    CColStrav& types = *m_state.gColStrav;
    ReaderControl& reader = m_host.reader();
    Booking booking(m_state, types, m_prompts, reader);
    Kontrola kontrola(m_state, types, m_prompts, reader);

    // A 22-character cheque is recognised by its content, not by the chosen type, unless in EUR mode.
    const bool typeChecked = !(kod.size() == 22 && !m_state.sw.gFEuro);
    if (typeChecked) {
        const bool fits = m_state.sw.gFKontrolaSpolecnosti
                              ? booking.OverZvolenouSplecnost(kod, m_typeIndex)
                              : (kod.size() == m_firstLength || kod.size() == m_secondLength);
        if (!fits)
            return refuse("NeodpovidaTyp");
    }
    if (!kontrola.OverDelku(kod))
        return refuse("ChybnaDelka");
    if (!kontrola.OverZnaky(kod))
        return refuse("StravObsNepovZnaky");
    if (!OverInterleave(types, kod))
        return refuse("ChybaInterleave");
    if (!kontrola.OverPlatnost(kod))
        return refuse("PlatnostVyprsela");
    if (!kontrola.OverRozsah(kod))
        return {Outcome::Kind::Refused,
                m_state.config.DejText(kSection, QStringLiteral("NepovRozsah")) + QStringLiteral("\r\n")};

    // The flag tells whether the check reported this very code as a blocked gift voucher itself; one left over
    // from an earlier code must not silence this one.
    m_state.gNehlasitDarkove = false;
    if (!kontrola.OverDarkove(kod)) {
        if (m_state.gNehlasitDarkove)
            return {Outcome::Kind::Silent, {}};
        return refuse("NepovDarkove");
    }

    if (!m_host.PridejKod(booking, kod, 2)) {
        // The booking has told the operator why; a code that is not in the receipt must not be in its box.
        return {Outcome::Kind::Refused, {}};
    }
    if (m_state.sw.gFBalikyTyden && m_state.gColStravBalik) {
        Booking packageBooking(m_state, *m_state.gColStravBalik, m_prompts, reader);
        (void)packageBooking.PridejKod(kod, 1, true);
        m_host.setPackageSumsText(m_state.gColStravBalik->GetStrSum());
    }
    m_host.appendReceiptText(kod + QStringLiteral("\r\n"));
    return {Outcome::Kind::Booked, {}};
}

} // namespace trv
