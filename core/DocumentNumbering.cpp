#include "core/DocumentNumbering.h"

#include "core/AppState.h"
#include "platform/Conventions.h"

#include <algorithm>

namespace trv {

namespace {

const QString kSection = QStringLiteral("Data");

// The remembered names were always read through a 50-character buffer.
constexpr qsizetype kNameMax = 49;

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Where the number at the end of the name starts; name.size() when the name does not end in a digit.
qsizetype numberStart(const QString& name) {
    qsizetype i = name.size();
    while (i > 0 && isDigit(name[i - 1]))
        --i;
    return i;
}

} // namespace

DruhDokladu druhDokladu(const AppState& state) {
    if (state.gTypDobropis)
        return {QStringLiteral("LastDobr"), QStringLiteral("10000001")};
    if (state.gTypDovolena)
        return {QStringLiteral("LastDovolena"), QStringLiteral("50000001")};
    if (state.gTypDarkove)
        return {QStringLiteral("LastDarkove"), QStringLiteral("60000001")};
    if (state.gTypUni)
        return {QStringLiteral("LastUni"), QStringLiteral("70000001")};
    return {QStringLiteral("LastFile"), QStringLiteral("10000001")};
}

QString ZvysCislo(const QString& name) {
    const qsizetype start = numberStart(name);
    if (start == name.size())
        return name;
    // Counted on the digits themselves: no integer width limits the number, and no carry is lost.
    QString result = name;
    qsizetype i = result.size() - 1;
    for (; i >= start; --i) {
        if (result[i] != u'9') {
            result[i] = QChar(result[i].unicode() + 1);
            return result;
        }
        result[i] = u'0';
    }
    result.insert(start, u'1');
    return result;
}

QString SnizCislo(const QString& name) {
    const qsizetype start = numberStart(name);
    if (start == name.size())
        return name;
    bool allZeros = true;
    for (qsizetype i = start; i < name.size(); ++i)
        allZeros = allZeros && name[i] == u'0';
    if (allZeros)
        return name; // the first number: there is none below it
    QString result = name;
    for (qsizetype i = result.size() - 1; i >= start; --i) {
        if (result[i] != u'0') {
            result[i] = QChar(result[i].unicode() - 1);
            break;
        }
        result[i] = u'9';
    }
    return result;
}

Status UlozPosledniSoubor(const AppState& state, const QString& fileName) {
    QString name = fileName;
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (slash >= 0)
        name = name.mid(slash + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name = name.left(dot);
    const DruhDokladu kind = druhDokladu(state);
    if (name.isEmpty()) {
        return Status::fail(QStringLiteral("Číslo dokladu nelze uložit do klíče %1: název souboru \"%2\" je prázdný.")
                                .arg(kind.key, fileName));
    }
    return state.config.zapis(kSection, kind.key, name);
}

Status VratPosledniSoubor(const AppState& state) {
    const DruhDokladu kind = druhDokladu(state);
    const std::optional<QString> stored = state.config.ctiSentinel(kSection, kind.key);
    // With nothing remembered there is no number to give back: the default is written as it stands.
    if (!stored)
        return state.config.zapis(kSection, kind.key, kind.defaultName);
    return state.config.zapis(kSection, kind.key, SnizCislo(left(*stored, kNameMax)));
}

} // namespace trv
