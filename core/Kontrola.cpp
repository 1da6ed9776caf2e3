#include "core/Kontrola.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "core/CodeParts.h"
#include "core/ReaderControl.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"

#include <array>

namespace trv {

namespace {

// Issuer marks in type names are compared in capitals, as recognition and valuation compare them, so that
// a name written "Cheque" picks the same layout in every step.
bool nameContains(const CStrav& t, QLatin1String part) {
    return t.Nazev.toUpper().contains(part);
}

// Types of cheques whose two code lengths are equal tell their two layouts apart by the first character.
bool cheLayouts(const CStrav& t) {
    return nameContains(t, QLatin1String("CHE")) && t.Delka == t.Delka2;
}

} // namespace

bool jeVSeznamu(const QString& list, const QString& number) {
    // Entry by entry: a number that only occurs inside a longer entry ("2345" in "123456") is not listed.
    const QString wanted = number.trimmed();
    if (wanted.isEmpty())
        return false;
    const auto entries = QStringView(list).split(u',');
    for (const QStringView entry : entries) {
        if (entry.trimmed() == wanted)
            return true;
    }
    return false;
}

Kontrola::Kontrola(AppState& state, CColStrav& types, Prompts& prompts, ReaderControl& reader)
    : m_state(state), m_types(types), m_prompts(prompts), m_reader(reader) {}

bool Kontrola::OverDatum(const QString& datum) const {
    return parseYYMMDD(datum).has_value();
}

bool Kontrola::OverZnaky(const QString& kod) const {
    if (kod == m_state.gNoRead)
        return true;
    for (const QChar c : kod) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool Kontrola::OverDelku(const QString& kod) const {
    if (kod == m_state.gNoRead)
        return true;
    return m_types.ExistDelka(kod.size());
}

Kontrola::GiftNumber Kontrola::giftNumber(const CStrav& t, const QString& kod, bool cheRule) const {
    auto field = [&](qint64 pos, qint64 len) {
        // Without a position the type has no gift number for this length.
        return pos <= 0 ? QString() : codePart(kod, pos, len);
    };
    GiftNumber g;
    const bool first = kod.size() == t.Delka;
    const bool second = kod.size() == t.Delka2;
    bool useSecond = second;
    if (cheRule && cheLayouts(t))
        useSecond = !kod.startsWith(u'0');
    else if (!first && !second) {
        return g;
    }
    if (useSecond) {
        g.number = field(t.pozRCDarkove2, t.delkaRCDarkove2);
        g.giftList = t.RCDarkove2;
        g.blockedList = t.RCBlokovaneDarkove2;
    } else {
        g.number = field(t.pozRCDarkove, t.delkaRCDarkove);
        g.giftList = t.RCDarkove;
        g.blockedList = t.RCBlokovaneDarkove;
    }
    return g;
}

bool Kontrola::OverDarkove(const QString& kod) {
    if (kod == m_state.gNoRead || !m_state.sw.gFDarkove)
        return true;
    const auto t = m_types.NajdiDelkuKod(kod);
    if (!t)
        return true;
    const GiftNumber g = giftNumber(*t, kod);

    if (m_state.gPovDarkove) {
        if (!jeVSeznamu(g.blockedList, g.number))
            return true;
        m_reader.ZastavCteni();
        m_prompts.message(QStringLiteral("Tento dárkový šek je blokován!"), Prompts::Buttons::Ok,
                          Prompts::Icon::Critical);
        m_state.gNehlasitDarkove = true;
        return false;
    }
    // Gift vouchers not taken: the code processor reports the refusal itself.
    return !jeVSeznamu(g.giftList, g.number);
}

void Kontrola::reportInvalidIssue(const QString& kod) {
    m_reader.ZastavCteni();
    const QString text = m_state.config.DejText(QStringLiteral("kontrola"), QStringLiteral("neplatnEmise"));
    if (m_state.sw.gFChybyDoOkna)
        m_reader.LogujDoOkna(kod + QStringLiteral(" ") + text);
    else
        m_prompts.message(text, Prompts::Buttons::Ok, Prompts::Icon::Critical);
    m_state.bNeplatnaEmise = true;
}

bool Kontrola::OverPlatnost(const QString& kod) {
    if (kod == m_state.gNoRead || !m_state.gKontrolaPlatnostiZap)
        return true;

    std::shared_ptr<CStrav> found;
    if (m_state.sw.gFRozpoznaniKodem) {
        found = m_types.NajdiDelkuKod(kod);
    } else {
        // A code the length recogniser cannot read has no type whose validity could be checked; the character
        // check refuses it.
        const auto byLength = m_types.NajdiDelku(kod.size(), kod);
        if (byLength.ok())
            found = byLength.value();
    }
    if (!found)
        return true;
    CStrav& t = *found;
    if (t.poukaz)
        return true;
    const qint64 len = kod.size();
    bool secondPair = len == t.Delka2;
    if (cheLayouts(t))
        secondPair = !kod.startsWith(u'0');
    // A type without a year field has no issue to check and no validity years; one whose second length has a
    // field of its own checks the issue of those codes only.
    if (t.PozRok == 0 && (t.PozRok2 == 0 || !secondPair))
        return true;

    // --- The year of issue Y
    if (len == t.Delka2) {
        // The second length borrows the first length's field for the rest of the run when it has none.
        if (t.PozRok2 == 0)
            t.PozRok2 = t.PozRok;
        if (t.delkaRok2 == 0)
            t.delkaRok2 = t.delkaRok;
    }
    QString y = secondPair ? codePart(kod, t.PozRok2, t.delkaRok2) : codePart(kod, t.PozRok, t.delkaRok);

    const GiftNumber gift = giftNumber(t, kod);

    // --- An issue withdrawn in EUR mode: the 3,30 cheques of the year ending in 2 with gift number 1
    if (m_state.sw.gFEuro && (t.Nazev.toUpper().startsWith(QLatin1String("CH")) || t.vydavatel == QLatin1String("CHE"))) {
        // Here the gift number goes by the code's length alone.
        const GiftNumber byLength = giftNumber(t, kod, false);
        CPolozka code;
        code.Kod = kod;
        code.setTypS(found);
        // Silent: a missing value-table entry is the booking's to refuse, with its one message.
        const auto value = code.DejHodnotu(CPolozka::Report::Silent);
        const auto number = asLong(byLength.number);
        if (value.ok() && value.value() == Currency::fromCents(330) && y.endsWith(u'2') && number && *number == 1)
            return false;
    }
    // --- Outside EUR mode: a range of 32-character codes printed with the year 4 belongs to year 5
    if (!m_state.sw.gFEuro && t.Delka == 32 && y == QLatin1String("4")) {
        const auto n = asLong(codePart(kod, 5, 9));
        if (n && *n >= 4662501 && *n <= 4752500)
            y = QStringLiteral("5");
    }

    const QString y14 = right(QStringLiteral("2014"), t.delkaRok);
    const QString y15 = right(QStringLiteral("2015"), t.delkaRok);

    if (t.Delka == 14) {
        static const std::array<std::pair<QLatin1String, QLatin1String>, 5> kMap{{
            {QLatin1String("1"), QLatin1String("0")},
            {QLatin1String("9"), QLatin1String("1")},
            {QLatin1String("8"), QLatin1String("2")},
            {QLatin1String("7"), QLatin1String("3")},
            {QLatin1String("6"), QLatin1String("4")},
        }};
        for (const auto& [from, to] : kMap) {
            if (y == from) {
                y = to;
                break;
            }
        }
    }

    const bool isGift = jeVSeznamu(gift.giftList, gift.number);

    if (y != y14 && y != y15) {
        if (nameContains(t, QLatin1String("AVE")) && len == 13) {
            // These vouchers print the year one higher, except the year 12, which stands for itself + 1.
            if (const auto n = asLong(y))
                y = QString::number(*n == 12 ? 13 : static_cast<qint64>(*n) - 1);
        }
        if (y != y14 && y != y15 && !isGift) {
            reportInvalidIssue(kod);
            return false;
        }
    }

    if (!m_state.gKontrolovat || t.PozRok == 0)
        return true;

    // --- Allowed years: the type's own, else those of the configuration
    std::array<qint64, 5> years{};
    std::array<QDate, 5> until{};
    if (t.pRok1 > 0) {
        years = {t.pRok1, t.pRok2, t.pRok3, t.pRok4, t.pRok5};
        until = {t.pPovolitDo1, t.pPovolitDo2, t.pPovolitDo3, t.pPovolitDo4, t.pPovolitDo5};
    } else {
        for (size_t i = 0; i < 5; ++i) {
            years[i] = m_state.gPovolitRok[i];
            until[i] = m_state.gPovolitDo[i];
        }
    }
    for (size_t i = 0; i < 5; ++i) {
        if (right(QString::number(years[i]), t.delkaRok) != y)
            continue;
        if (isGift && t.vydavatel != QLatin1String("CHE"))
            return true;
        const QDate today = m_types.context().clock.today();
        return until[i].isValid() && today <= until[i];
    }
    return false;
}

bool Kontrola::OverRozsah(const QString&) const {
    return true;
}

} // namespace trv
