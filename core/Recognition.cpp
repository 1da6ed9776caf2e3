#include "core/Recognition.h"

#include "core/CStrav.h"
#include "core/CheckDigits.h"
#include "core/CodeParts.h"

namespace trv {

bool CheckCBANumber(qint64 num)
{
    for (const CbaRange& range : kCbaRanges) {
        if (num >= range.from && num <= range.to)
            return true;
    }
    return false;
}

namespace Recognition {

namespace {


QString chequePrefix(qint64 number)
{
    return CheckCBANumber(number) ? QStringLiteral("CBA") : QStringLiteral("CHE");
}


// Width of a list of distinguishing numbers: the length of its first entry without the blanks around it.
qsizetype listWidth(const QString& list)
{
    const qsizetype comma = list.indexOf(u',');
    return QStringView(list).left(comma < 0 ? list.size() : comma).trimmed().size();
}

// The part of the code a list is compared with; empty when the position is not given or past the end.
QString listPart(const QString& s, qint32 pos, const QString& list)
{
    if (pos == -1)
        return QString();
    return codePart(s, pos, listWidth(list));
}

// The lists are searched as text: a part is found when it occurs anywhere in the list, so "34" is found in
// "12,345". The installed definition files are written for this search; an entry-by-entry comparison would
// recognise their codes differently.
bool found(const QString& part, const QString& list)
{
    return list.contains(part);
}

// Stage 1: the cheque layouts of 24 and 26 characters, whose numbers are protected by check sums.
std::shared_ptr<CStrav> chequeLayouts(const PreparedTypes& types, const CustomerSwitches& sw, const QString& gNoRead,
                                      const QString& s)
{
    struct Block {
        int length;
        int markerPos;
        QChar marker;
        bool euro;
        int firstChar; // -1 any, 0 must be "0", 1 must not be "0"
        int numberPos;
        bool useDelka2; // the type's Delka2 must be the length, else its Delka
    };
    static constexpr Block kBlocks[] = {
        {26, 20, u'2', false, -1, 1, true},
        {24, 18, u'2', false, -1, 1, false},
        {24, 18, u'1', true, 1, 1, false},
        {24, 19, u'1', true, 0, 2, false},
    };

    bool crcChecked = false;
    bool crcPasses = false;
    for (const Block& b : kBlocks) {
        if (s.size() != b.length || sw.gFEuro != b.euro)
            continue;
        if (s.at(b.markerPos - 1) != b.marker)
            continue;
        const bool startsWithZero = s.at(0) == u'0';
        if ((b.firstChar == 0 && !startsWithZero) || (b.firstChar == 1 && startsWithZero))
            continue;
        if (!crcChecked) {
            crcPasses = OverCRC(s, sw.gFEuro, gNoRead);
            crcChecked = true;
        }
        if (!crcPasses)
            continue;
        // The check sums passed, and they read these nine digits: the number is there.
        const auto n = asLong(codePart(s, b.numberPos, 9));
        if (!n)
            continue;
        const QString prefix = chequePrefix(*n);
        for (const qsizetype i : types.ofLength(b.length)) {
            const auto& p = types.types()[static_cast<size_t>(i)];
            if (p.prefix == prefix && (b.useDelka2 ? p.type->Delka2 : p.type->Delka) == b.length)
                return p.type;
        }
    }
    return nullptr;
}

enum class Verdict { Skip, Match, PassOnToSekservis };

Verdict testType(const PreparedTypes::Type& prepared, const QString& s, const QString& d, bool seks,
                 const CustomerSwitches& sw, const QString& gNoRead)
{
    const CStrav& t = *prepared.type;
    const qsizetype len = s.size();
    if (len != t.Delka && len != t.Delka2)
        return Verdict::Skip;

    qint32 p1 = -1;
    qint32 p2 = -1;
    qint32 p3 = -1;
    if (len == t.Delka) {
        p1 = t.delka1PoziceRC1 == -1 ? t.PoziceRC : t.delka1PoziceRC1;
        p2 = t.delka1PoziceRC2;
        p3 = t.delka1PoziceRC3;
    }
    if (len == t.Delka2) {
        p1 = t.delka2PoziceRC1 == -1 ? t.PoziceRC : t.delka2PoziceRC1;
        p2 = t.delka2PoziceRC2;
        p3 = t.delka2PoziceRC3;
    }
    QString list1 = t.RozlisovaciCislo;
    const QString& upperName = prepared.upperName;
    if (t.Delka == t.Delka2 && upperName.contains(QLatin1String("CHE"))) {
        // Cheques of one length in two series: those beginning with "0" carry a 0 at their first position.
        if (s.startsWith(u'0')) {
            p1 = t.delka1PoziceRC1;
            p2 = t.delka1PoziceRC2;
            p3 = t.delka1PoziceRC3;
            list1 = QStringLiteral("0");
        } else {
            p1 = t.delka2PoziceRC1;
            p2 = t.delka2PoziceRC2;
            p3 = t.delka2PoziceRC3;
        }
    }
    if (list1.isEmpty())
        return Verdict::Match;

    const QString& list2 = t.RozlisovaciCislo2;
    const QString& list3 = t.RozlisovaciCislo3;
    const QString part1 = listPart(s, p1, list1);

    if (t.ObsahujeRC != 1) {
        // List 1 names numbers the code must not carry; an empty part counts as found.
        if (found(part1, list1))
            return Verdict::Skip;
        if (!list2.isEmpty()) {
            const bool found2 = found(listPart(s, p2, list2), list2);
            if (t.ObsahujeRC2 == 1 ? !found2 : found2)
                return Verdict::Skip;
        }
        return Verdict::Match;
    }

    if (part1.isEmpty() || !found(part1, list1))
        return Verdict::Skip;
    if (len >= p2 && !list2.isEmpty()) {
        const QString part2 = listPart(s, p2, list2);
        const bool found2 = !part2.isEmpty() && found(part2, list2);
        if (t.ObsahujeRC2 == 1 ? !found2 : found2)
            return Verdict::Skip;
    }
    if (!list3.isEmpty()) {
        const QString part3 = listPart(s, p3, list3);
        const bool found3 = !part3.isEmpty() && found(part3, list3);
        if (t.ObsahujeRC3 == 1 ? !found3 : found3)
            return Verdict::Skip;
    }

    const bool cheque = upperName.startsWith(QLatin1String("CH")) || t.vydavatel == QLatin1String("CHE");
    const bool sekservisType = prepared.sekservis;
    if (!cheque && !sekservisType)
        return Verdict::Match;
    const bool crc = OverCRC(s, sw.gFEuro, gNoRead);
    if (!cheque)
        return crc && d == QLatin1String("6") ? Verdict::Match : Verdict::Skip;
    if (!crc)
        return Verdict::Skip;
    if (!seks || d != QLatin1String("6"))
        return Verdict::Match;
    return Verdict::PassOnToSekservis;
}

const std::vector<qsizetype> kNoTypes;

} // namespace

PreparedTypes::PreparedTypes(Types types)
{
    m_types.reserve(types.size());
    for (const auto& t : types) {
        Type p;
        p.type = t;
        p.upperName = t->Nazev.toUpper();
        p.prefix = t->Nazev.left(3).toUpper();
        p.sekservis = t->Nazev.left(9).toUpper() == QLatin1String("SEKSERVIS");
        m_sekservis = m_sekservis || p.sekservis;
        const auto at = static_cast<qsizetype>(m_types.size());
        m_byLength[t->Delka].push_back(at);
        if (t->Delka2 != t->Delka)
            m_byLength[t->Delka2].push_back(at);
        m_types.push_back(std::move(p));
    }
}

const std::vector<qsizetype>& PreparedTypes::ofLength(qint64 length) const
{
    const auto it = m_byLength.constFind(length);
    return it == m_byLength.constEnd() ? kNoTypes : *it;
}

Result<std::shared_ptr<CStrav>> najdiDelku(const PreparedTypes& types, const CustomerSwitches& sw, qint64 l,
                                           const QString& s)
{
    // A type without a second length has 0 there; an empty code must not match it.
    if (l < 1)
        return std::shared_ptr<CStrav>();
    const auto typeAt = [&](qsizetype i) -> const std::shared_ptr<CStrav>& {
        return types.types()[static_cast<size_t>(i)].type;
    };
    if (s.size() >= 11 && sw.gFCBA && l == 22) {
        const auto n = asLong(codePart(s, 2, 9));
        if (!n) {
            return Result<std::shared_ptr<CStrav>>::fail(
                QStringLiteral("Kód %1 nelze rozpoznat: znaky 2 až 10 šeku nejsou číslo.").arg(s));
        }
        const QString prefix = chequePrefix(*n);
        for (const qsizetype i : types.ofLength(22)) {
            if (types.types()[static_cast<size_t>(i)].prefix == prefix && typeAt(i)->Delka == 22)
                return typeAt(i);
        }
    }
    if (const auto& ofLength = types.ofLength(l); !ofLength.empty())
        return typeAt(ofLength.front());
    if (l == 32) {
        for (const qsizetype i : types.ofLength(28)) {
            if (typeAt(i)->Delka == 28)
                return typeAt(i);
        }
    }
    return std::shared_ptr<CStrav>();
}

Result<std::shared_ptr<CStrav>> najdiDelku(Types types, const CustomerSwitches& sw, qint64 l, const QString& s)
{
    return najdiDelku(PreparedTypes(types), sw, l, s);
}

std::shared_ptr<CStrav> najdiDelkuKod(const PreparedTypes& types, const CustomerSwitches& sw, const QString& gNoRead,
                                      const QString& s)
{
    if (s.isEmpty())
        return nullptr; // a type without a second length has 0 there; an empty code must not match it
    if (s.size() >= 11 && sw.gFCBA) {
        if (auto t = chequeLayouts(types, sw, gNoRead, s))
            return t;
    }

    const bool seks = types.hasSekservis();
    QString d;
    if (s.size() == 24)
        d = sw.gFEuro ? codePart(s, 24, 1) : codePart(s, 22, 1);
    else if (s.size() == 26)
        d = codePart(s, 25, 1);

    // Only the types of the code's length can match: every other type is skipped by its first test.
    const auto& candidates = types.ofLength(s.size());
    const auto visit = [&](qsizetype i) {
        return testType(types.types()[static_cast<size_t>(i)], s, d, seks, sw, gNoRead) == Verdict::Match;
    };
    if (sw.gFZakaznik) {
        for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
            if (visit(*it))
                return types.types()[static_cast<size_t>(*it)].type;
        }
    } else {
        for (const qsizetype i : candidates) {
            if (visit(i))
                return types.types()[static_cast<size_t>(i)].type;
        }
    }
    return nullptr;
}

std::shared_ptr<CStrav> najdiDelkuKod(Types types, const CustomerSwitches& sw, const QString& gNoRead,
                                      const QString& s)
{
    return najdiDelkuKod(PreparedTypes(types), sw, gNoRead, s);
}

} // namespace Recognition
} // namespace trv
