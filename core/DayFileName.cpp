#include "core/DayFileName.h"

#include <QRegularExpression>

namespace trv {

namespace {

const QString kTxt = QStringLiteral(".txt");

bool hasControlOrSeparator(const QString& s) {
    for (QChar c : s) {
        if (c.unicode() < 0x20 || c == QChar(0x7f) || c == u'/' || c == u'\\')
            return true;
    }
    return false;
}

// Why `value` cannot stand as the part `what` of a name; empty when it can.
QString refusal(const QString& what, const QString& value, bool mayBeEmpty, bool mayHoldDash) {
    if (!mayBeEmpty && value.isEmpty())
        return QStringLiteral("%1 nesmí být prázdné.").arg(what);
    if (value.contains(u'_'))
        return QStringLiteral("%1 „%2“ nesmí obsahovat znak „_“.").arg(what, value);
    if (!mayHoldDash && value.contains(u'-'))
        return QStringLiteral("%1 „%2“ nesmí obsahovat znak „-“.").arg(what, value);
    if (hasControlOrSeparator(value))
        return QStringLiteral("%1 „%2“ obsahuje znak, který nemůže být v názvu souboru.").arg(what, value);
    return {};
}

} // namespace

Result<QString> DayFileName::build() const {
    struct Part {
        QString what;
        const QString* value;
        bool mayBeEmpty;
        bool mayHoldDash;
    };
    std::vector<Part> parts;
    if (form == Form::CashDesk) {
        static const QRegularExpression date(QStringLiteral("^[0-9]{6}$"));
        static const QRegularExpression desk(QStringLiteral("^[0-9]{3}$"));
        if (!date.match(datum).hasMatch())
            return Result<QString>::fail(QStringLiteral("Datum „%1“ musí mít tvar RRMMDD.").arg(datum));
        if (!desk.match(pokladna).hasMatch())
            return Result<QString>::fail(QStringLiteral("Pokladna „%1“ musí mít tři číslice.").arg(pokladna));
        parts = {{QStringLiteral("Pořadí"), &poradi, false, true}};
    } else {
        parts = {{QStringLiteral("Datum"), &datum, false, false},
                 {QStringLiteral("SM"), &sm, true, true},
                 {QStringLiteral("Operátor"), &operator_, true, true},
                 {QStringLiteral("Pořadí"), &poradi, false, true}};
        if (form == Form::HandOver)
            parts.push_back({QStringLiteral("Datum odvodu"), &datumOdvodu, false, false});
        if (form == Form::PackageWeek) {
            parts.push_back({QStringLiteral("Balík"), &balik, true, true});
            parts.push_back({QStringLiteral("Týden"), &tyden, true, true});
        }
    }
    for (const Part& p : parts) {
        if (const QString why = refusal(p.what, *p.value, p.mayBeEmpty, p.mayHoldDash); !why.isEmpty())
            return Result<QString>::fail(why);
    }
    switch (form) {
    case Form::CashDesk:
        return datum + pokladna + u'_' + poradi + kTxt;
    case Form::Sm:
        return datum + u'_' + sm + u'_' + operator_ + u'_' + poradi + kTxt;
    case Form::PackageWeek:
        return datum + u'_' + sm + u'_' + operator_ + u'_' + poradi + u'_' + balik + u'_' + tyden + kTxt;
    case Form::HandOver:
        return datum + u'-' + datumOdvodu + u'_' + sm + u'_' + operator_ + u'_' + poradi + kTxt;
    }
    return Result<QString>::fail(QStringLiteral("Neznámý tvar názvu souboru."));
}

std::optional<DayFileName> DayFileName::parse(const QString& fileName) {
    if (!fileName.endsWith(kTxt, Qt::CaseInsensitive) || hasControlOrSeparator(fileName))
        return std::nullopt;
    const QString stem = fileName.left(fileName.size() - kTxt.size());
    const QStringList parts = stem.split(u'_');
    DayFileName n;
    if (parts.size() == 2) {
        static const QRegularExpression desk(QStringLiteral("^([0-9]{6})([0-9]{3})$"));
        const auto m = desk.match(parts[0]);
        if (!m.hasMatch() || parts[1].isEmpty())
            return std::nullopt;
        n.form = Form::CashDesk;
        n.datum = m.captured(1);
        n.pokladna = m.captured(2);
        n.poradi = parts[1];
        return n;
    }
    if (parts.size() != 4 && parts.size() != 6)
        return std::nullopt;
    QString first = parts[0];
    if (parts.size() == 4 && first.count(u'-') == 1) {
        n.form = Form::HandOver;
        n.datum = first.section(u'-', 0, 0);
        n.datumOdvodu = first.section(u'-', 1, 1);
        if (n.datumOdvodu.isEmpty())
            return std::nullopt;
    } else if (first.contains(u'-')) {
        return std::nullopt;
    } else {
        n.form = parts.size() == 6 ? Form::PackageWeek : Form::Sm;
        n.datum = first;
    }
    if (n.datum.isEmpty() || parts[3].isEmpty())
        return std::nullopt;
    n.sm = parts[1];
    n.operator_ = parts[2];
    n.poradi = parts[3];
    if (parts.size() == 6) {
        n.balik = parts[4];
        n.tyden = parts[5];
    }
    return n;
}

} // namespace trv
