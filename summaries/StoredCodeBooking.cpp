#include "summaries/StoredCodeBooking.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"

namespace trv {

namespace {

bool ascii(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// The 1-based part of an ASCII code as codePart reads it: what lies inside the code, possibly nothing.
std::string_view part(std::string_view s, int pos, int len) {
    if (pos < 1 || len < 1 || size_t(pos) > s.size())
        return {};
    return s.substr(size_t(pos - 1), size_t(len));
}

int listWidth(const QString& list) {
    const qsizetype comma = list.indexOf(u',');
    return int(QStringView(list).left(comma < 0 ? list.size() : comma).trimmed().size());
}

// Types whose recognition reads check sums or more than fixed parts of the code: their codes are recognised one
// by one.
bool readsWholeCode(const CStrav& t) {
    const QString upper = t.Nazev.toUpper();
    return upper.contains(QLatin1String("CHE")) || upper.startsWith(QLatin1String("CH")) ||
           t.vydavatel == QLatin1String("CHE") || upper.startsWith(QLatin1String("SEKSERVIS"));
}

QString fromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace

StoredCodeBooking::StoredCodeBooking(AppState& state, CColStrav& types, Prompts& prompts, ReaderControl& reader,
                                     StoredCodes& into)
    : m_state(state), m_types(types), m_prompts(prompts), m_into(into),
      m_booking(std::make_unique<Booking>(state, types, prompts, reader)), m_noRead(state.gNoRead.toStdString()) {}

StoredCodeBooking::~StoredCodeBooking() = default;

const StoredCodeBooking::LengthRule& StoredCodeBooking::ruleFor(size_t length) {
    if (length < m_ruleByLength.size() && m_ruleByLength[length])
        return *m_ruleByLength[length];
    if (const auto it = m_rules.find(length); it != m_rules.end())
        return it->second;
    LengthRule rule;
    const CustomerSwitches& sw = m_state.sw;
    const auto l = qint32(length);
    if (!sw.gFRozpoznaniKodem) {
        // By length alone, except the CBA cheques of 22 characters, told apart by their number.
        rule.cached = !(sw.gFCBA && l == 22);
    } else {
        rule.cached = !(sw.gFCBA && l >= 11);
        for (const auto& t : m_types) {
            if (t->Delka != l && t->Delka2 != l)
                continue;
            if (readsWholeCode(*t)) {
                rule.cached = false;
                break;
            }
            qint32 p1 = -1, p2 = -1, p3 = -1;
            if (l == t->Delka) {
                p1 = t->delka1PoziceRC1 == -1 ? t->PoziceRC : t->delka1PoziceRC1;
                p2 = t->delka1PoziceRC2;
                p3 = t->delka1PoziceRC3;
            }
            if (l == t->Delka2) {
                p1 = t->delka2PoziceRC1 == -1 ? t->PoziceRC : t->delka2PoziceRC1;
                p2 = t->delka2PoziceRC2;
                p3 = t->delka2PoziceRC3;
            }
            const std::pair<qint32, const QString*> lists[] = {
                {p1, &t->RozlisovaciCislo}, {p2, &t->RozlisovaciCislo2}, {p3, &t->RozlisovaciCislo3}};
            for (const auto& [pos, list] : lists) {
                if (pos != -1 && !list->isEmpty())
                    rule.parts.emplace_back(pos, listWidth(*list));
            }
        }
    }
    const LengthRule& kept = m_rules.emplace(length, std::move(rule)).first->second;
    if (length < 256) {
        if (m_ruleByLength.size() <= length)
            m_ruleByLength.resize(length + 1, nullptr);
        m_ruleByLength[length] = &kept;
    }
    return kept;
}

int StoredCodeBooking::recognise(std::string_view code) {
    if (code == m_noRead)
        return m_types.count() > 0 ? 0 : -1;
    const auto slow = [this, code] {
        const auto found = m_types.NajdiTypKodu(fromUtf8(code));
        if (!found.ok() || !found.value())
            return -1;
        int index = 0;
        for (const auto& t : m_types) {
            if (t == found.value())
                return index;
            ++index;
        }
        return -1;
    };
    if (!ascii(code))
        return slow();
    const LengthRule& rule = ruleFor(code.size());
    if (!rule.cached)
        return slow();
    m_key.assign(1, char(code.size() & 0xff));
    m_key += char((code.size() >> 8) & 0xff);
    for (const auto& [pos, width] : rule.parts) {
        m_key += '\x1f';
        m_key.append(part(code, pos, width));
    }
    if (const auto it = m_typeByParts.find(m_key); it != m_typeByParts.end())
        return it->second;
    const int type = slow();
    m_typeByParts.emplace(m_key, type);
    return type;
}

int StoredCodeBooking::typeOf(std::string_view code) {
    const int type = recognise(code);
    if (type < 0) {
        // The booking stops the reader and reports the code in its own words; it books nothing for it.
        (void)m_booking->PridejKod(fromUtf8(code), 1, false);
    }
    return type;
}

qint32 StoredCodeBooking::valueOf(int type, std::string_view code) {
    if (code == m_noRead)
        return StoredCodes::kNoRead;
    const std::shared_ptr<CStrav>& t = m_types.types()[size_t(type)];
    const auto compute = [&]() -> qint32 {
        CPolozka item;
        item.Kod = fromUtf8(code);
        item.setTypS(t);
        const auto value = item.DejHodnotu();
        if (!value.ok()) {
            // Counted at 0 so that the summary still adds up what could be valued; the operator is told why.
            m_prompts.message(value.message(), Prompts::Buttons::Ok, Prompts::Icon::Critical);
            return m_into.valueIndex(Currency());
        }
        return m_into.valueIndex(value.value());
    };
    if (!ascii(code))
        return compute();
    // The value reads the value field of the code's length, the first character (cheque series) and, for the
    // document kinds that value by them, the digits 13 to 15.
    m_key.assign(1, char(type & 0x7f));
    m_key += char((type >> 7) & 0x7f);
    m_key += char(code.size() & 0xff);
    m_key += code.empty() || code.front() != '0' ? '1' : '0';
    m_key += '\x1f';
    m_key.append(part(code, t->PozCastka, t->DelkaCastka));
    m_key += '\x1f';
    m_key.append(part(code, t->PozCastka2, t->DelkaCastka2));
    if (m_state.gTypDovolena || m_state.gTypDarkove || m_state.gTypUni) {
        m_key += '\x1f';
        m_key.append(part(code, 13, 3));
    }
    if (const auto it = m_valueByParts.find(m_key); it != m_valueByParts.end())
        return it->second;
    const std::string key = m_key;
    const qint32 value = compute();
    m_valueByParts.emplace(key, value);
    return value;
}

bool StoredCodeBooking::book(std::string_view code, quint32 file) {
    const int type = typeOf(code);
    if (type < 0)
        return false;
    m_into.add(type, code, file, valueOf(type, code));
    return true;
}

bool StoredCodeBooking::bookToPackage(std::string_view code, quint32 file, const QString& packageText,
                                      const QString& wanted) {
    const int type = typeOf(code);
    if (type < 0)
        return false;
    const qsizetype k = m_types.Item(type + 1)->PoradiSpolecnosti;
    const QString wantedHere = wanted.size() > 1 ? mid(wanted, k, 1) : wanted;
    if (wantedHere != mid(packageText, k, 1))
        return false;
    m_into.add(type, code, file, valueOf(type, code));
    return true;
}

} // namespace trv
