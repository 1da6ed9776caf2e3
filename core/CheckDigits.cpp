#include "core/CheckDigits.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/CodeParts.h"

#include <optional>

namespace trv {

namespace {

// A field of digits only, all of it inside the code.
std::optional<qint64> digits(const QString& s, qint64 pos, qint64 len)
{
    if (pos < 1 || pos + len - 1 > s.size())
        return std::nullopt;
    qint64 value = 0;
    for (qint64 i = pos; i < pos + len; ++i) {
        const auto d = digitAt(s, i);
        if (!d)
            return std::nullopt;
        value = value * 10 + *d;
    }
    return value;
}

bool remainderLayout(const QString& kod, bool euroLayout)
{
    struct Field {
        int pos;
        int len;
    };
    // a, b, c, d, e, f, g
    static constexpr Field k26[] = {{1, 9}, {10, 2}, {12, 7}, {19, 2}, {21, 1}, {22, 2}, {24, 2}};
    static constexpr Field k24Euro[] = {{2, 9}, {11, 2}, {13, 5}, {18, 2}, {20, 1}, {21, 2}, {23, 2}};
    const Field* fields = euroLayout ? k24Euro : k26;
    qint64 v[7];
    for (int i = 0; i < 7; ++i) {
        const auto field = digits(kod, fields[i].pos, fields[i].len);
        if (!field)
            return false;
        v[i] = *field;
    }
    const qint64 a = v[0], b = v[1], c = v[2], d = v[3], e = v[4], f = v[5], g = v[6];
    if (a % 97 != b)
        return false;
    return ((e + d + g) * 100 + c) % 97 == f;
}

bool productLayout(const QString& kod)
{
    const auto k = digits(kod, 10, 3);
    const auto p = digits(kod, 13, 5);
    const auto q = digits(kod, 18, 1);
    const auto r = digits(kod, 19, 1);
    const auto s = digits(kod, 22, 1);
    if (!k || !p || !q || !r || !s)
        return false;
    qint64 d[9];
    for (int i = 0; i < 9; ++i) {
        const auto digit = digitAt(kod, i + 1);
        if (!digit)
            return false;
        d[i] = *digit == 0 ? 11 : *digit;
    }
    const qint64 m = d[0] * d[1] * d[2] + d[3] * d[4] * d[5] + d[6] * d[7] * d[8];
    const qint64 t = m * m + *p + *q + *r + *s;
    return t % 997 == *k;
}

} // namespace

bool OverCRC(const QString& kod, bool gFEuro, const QString& gNoRead)
{
    if (kod == gNoRead || (kod.size() != 24 && kod.size() != 26))
        return true;
    if (kod.size() == 24 && (!gFEuro || !kod.startsWith(u'0')))
        return productLayout(kod);
    if (kod.size() == 26 && gFEuro)
        return false; // no layout was ever defined for these
    return remainderLayout(kod, kod.size() == 24);
}

bool OverInterleave(const CColStrav& types, const QString& kod)
{
    if (kod == types.context().state.gNoRead)
        return true;
    const auto t = types.NajdiDelkuKod(kod);
    if (!t)
        return true;

    const qsizetype len = kod.size();
    qint32 checkPos = 0;
    if (len == t->Delka && t->pozInterleave1 > 0)
        checkPos = t->pozInterleave1;
    if (len == t->Delka2 && t->pozInterleave2 > 0)
        checkPos = t->pozInterleave2;
    if (t->Nazev.toUpper().contains(QLatin1String("CHE")) && t->Delka == 24 && t->Delka2 == 24) {
        if (kod.startsWith(u'0')) {
            if (t->pozInterleave1 > 0)
                checkPos = t->pozInterleave1;
        } else if (t->pozInterleave2 > 0) {
            checkPos = t->pozInterleave2;
        }
    }
    if (checkPos <= 0 || checkPos > len)
        return true;
    const auto checkDigit = digitAt(kod, checkPos);
    if (!checkDigit)
        return false;
    if (*checkDigit == 0)
        return true; // issuers print 0 where the code carries no check digit

    qint64 sum = 0;
    for (qsizetype pos = 1; pos < len; ++pos) {
        const auto d = digitAt(kod, pos);
        if (!d)
            return false;
        sum += (pos % 2 == 1) ? 3 * *d : *d;
    }
    const qint64 expected = (10 - sum % 10) % 10;
    return expected == *checkDigit;
}

} // namespace trv
