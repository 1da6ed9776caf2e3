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

QString prefixOf(const CStrav& t)
{
    return t.Nazev.left(3).toUpper();
}

QString chequePrefix(qint64 number)
{
    return CheckCBANumber(number) ? QStringLiteral("CBA") : QStringLiteral("CHE");
}

bool isSekservis(const CStrav& t)
{
    return t.Nazev.left(9).toUpper() == QLatin1String("SEKSERVIS");
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
std::shared_ptr<CStrav> chequeLayouts(Types types, const CustomerSwitches& sw, const QString& gNoRead,
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
        for (const auto& t : types) {
            if (prefixOf(*t) == prefix && (b.useDelka2 ? t->Delka2 : t->Delka) == b.length)
                return t;
        }
    }
    return nullptr;
}

enum class Verdict { Skip, Match, PassOnToSekservis };

Verdict testType(const CStrav& t, const QString& s, const QString& d, bool seks, const CustomerSwitches& sw,
                 const QString& gNoRead)
{
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
    const QString upperName = t.Nazev.toUpper();
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
    const bool sekservisType = isSekservis(t);
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

} // namespace

Result<std::shared_ptr<CStrav>> najdiDelku(Types types, const CustomerSwitches& sw, qint64 l, const QString& s)
{
    // A type without a second length has 0 there; an empty code must not match it.
    if (l < 1)
        return std::shared_ptr<CStrav>();
    if (s.size() >= 11 && sw.gFCBA && l == 22) {
        const auto n = asLong(codePart(s, 2, 9));
        if (!n) {
            return Result<std::shared_ptr<CStrav>>::fail(
                QStringLiteral("Kód %1 nelze rozpoznat: znaky 2 až 10 šeku nejsou číslo.").arg(s));
        }
        const QString prefix = chequePrefix(*n);
        for (const auto& t : types) {
            if (prefixOf(*t) == prefix && t->Delka == 22)
                return t;
        }
    }
    for (const auto& t : types) {
        if (t->Delka == l || t->Delka2 == l)
            return t;
    }
    if (l == 32) {
        for (const auto& t : types) {
            if (t->Delka == 28)
                return t;
        }
    }
    return std::shared_ptr<CStrav>();
}

std::shared_ptr<CStrav> najdiDelkuKod(Types types, const CustomerSwitches& sw, const QString& gNoRead,
                                      const QString& s)
{
    if (s.isEmpty())
        return nullptr; // a type without a second length has 0 there; an empty code must not match it
    if (s.size() >= 11 && sw.gFCBA) {
        if (auto t = chequeLayouts(types, sw, gNoRead, s))
            return t;
    }

    bool seks = false;
    for (const auto& t : types) {
        if (isSekservis(*t)) {
            seks = true;
            break;
        }
    }
    QString d;
    if (s.size() == 24)
        d = sw.gFEuro ? codePart(s, 24, 1) : codePart(s, 22, 1);
    else if (s.size() == 26)
        d = codePart(s, 25, 1);

    const auto visit = [&](const std::shared_ptr<CStrav>& t) {
        return testType(*t, s, d, seks, sw, gNoRead) == Verdict::Match;
    };
    if (sw.gFZakaznik) {
        for (auto it = types.rbegin(); it != types.rend(); ++it) {
            if (visit(*it))
                return *it;
        }
    } else {
        for (const auto& t : types) {
            if (visit(t))
                return t;
        }
    }
    return nullptr;
}

} // namespace Recognition
} // namespace trv
