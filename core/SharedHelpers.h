#pragma once

#include "core/AppState.h"
#include "platform/Currency.h"
#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace trv {

// The first "," becomes "." ("12,50" -> "12.50", "1,2,3" -> "1.2,3"); a text without a comma is unchanged.
QString CarkaNaTecku(const QString& text);
// The first "." becomes ",".
QString TeckaNaCarku(const QString& text);

// A code mask brought to 16 characters: a shorter mask is filled up with "*" on the right, a longer one
// cut to its first 16; a mask longer than 255 characters gives the empty text.
QString DoplnMasku(const QString& mask);

// Mask buttons 1 to 4: section "Button" + number of the configuration, keys Name and Mask.
bool UlozTlacitko(const Config& config, quint8 button, const QString& name, const QString& mask);
// Reads Name into gMaskaNazev and Mask into gMaska; a missing key keeps its global unchanged. True only when
// both keys exist.
bool NactiTlacitko(const Config& config, quint8 button, QString& gMaskaNazev, QString& gMaska);
bool NactiTlacitko(AppState& state, quint8 button);

// The text without the `count` characters that start at the 1-based position `start`; the empty text when
// the text is empty or the range does not lie inside it (also for a start below 1 or a negative count).
QString VyjmiZnaky(const QString& text, qint64 start, qint64 count);

// Where a line of a multi-line text starts (0-based character index) and how long it is without its line
// end; CR LF, LF and CR each end a line. A line past the last gives start -1 and length 0.
struct RadekTextu {
    qint64 gRadekZacatek = -1;
    qint64 gRadekDelka = 0;
};
RadekTextu ZjistiRadekTextu(const QString& text, qint64 line);

// Sorts number texts in ascending numeric order ("10", "9", "100" -> "9", "10", "100"); "," and "." are both
// decimal separators. Fails, leaving the list as it was, when an element is not a number.
Status SetridPole(QStringList& pole);
void SetridPole(std::vector<double>& pole);

// Quicksort by a numeric key, with the order of equal keys left undefined as the older screens had it.
template <typename T, typename KeyFn> void SetridPole(std::vector<T>& pole, KeyFn key) {
    auto sortRange = [&](auto& self, qsizetype lo, qsizetype hi) -> void {
        const auto pivot = key(pole[static_cast<size_t>((lo + hi) / 2)]);
        qsizetype i = lo;
        qsizetype j = hi;
        while (i <= j) {
            while (key(pole[static_cast<size_t>(i)]) < pivot)
                ++i;
            while (pivot < key(pole[static_cast<size_t>(j)]))
                --j;
            if (i <= j) {
                std::swap(pole[static_cast<size_t>(i)], pole[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        }
        if (lo < j)
            self(self, lo, j);
        if (i < hi)
            self(self, i, hi);
    };
    if (pole.size() > 1)
        sortRange(sortRange, 0, static_cast<qsizetype>(pole.size()) - 1);
}

// Rounds a value by its decimal text to `decimals` places: the first cut-off digit 5 to 9 rounds away
// from zero (2.345 -> 2.35, -2.679 -> -2.68); a value with no more decimals than asked is returned unchanged.
double ZaokrouhliText(double value, int decimals);
// The same rounding of an exact amount (0 to 4 places), without a detour through a double.
Currency ZaokrouhliText(Currency value, int decimals);

// The message of an operation ended by a sum of stored amounts that the money type cannot hold; `where` names
// the file, SM or type ("soubor 250329_102_OP1.vyc, Gastro").
QString sumOutOfRangeText(const QString& where);
// The same for a sum the money type holds but a number column of a table does not, which holds only sums greater
// than `bound`; `table` names the table's file.
QString sumOutOfRangeText(const QString& where, const QString& table, Currency bound);

// How often `searched` occurs in `text`, overlapping matches counted ("aaa" holds "aa" twice); 0 for an
// empty searched text.
qint64 PocetVyskytu(const QString& text, const QString& searched);

} // namespace trv
