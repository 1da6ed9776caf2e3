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
        if (form == Form::PackageWeek || form == Form::Package)
            parts.push_back({QStringLiteral("Balík"), &balik, form == Form::PackageWeek, true});
        if (form == Form::PackageWeek)
            parts.push_back({QStringLiteral("Týden"), &tyden, true, true});
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
    case Form::Package:
        return datum + u'_' + sm + u'_' + operator_ + u'_' + poradi + u'_' + balik + kTxt;
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
    if (parts.size() < 4 || parts.size() > 6)
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
        n.form = parts.size() == 6 ? Form::PackageWeek : parts.size() == 5 ? Form::Package : Form::Sm;
        n.datum = first;
    }
    if (n.datum.isEmpty() || parts[3].isEmpty())
        return std::nullopt;
    n.sm = parts[1];
    n.operator_ = parts[2];
    n.poradi = parts[3];
    if (parts.size() == 5) {
        // The receipt writes no week into a package name of the first week.
        if (parts[4].isEmpty())
            return std::nullopt;
        n.balik = parts[4];
        n.tyden = QStringLiteral("1");
    }
    if (parts.size() == 6) {
        n.balik = parts[4];
        n.tyden = parts[5];
    }
    return n;
}

DayFileName::Keys DayFileName::keys(const QString& fileName) {
    Keys k;
    // The date part is where the name is split, not the receipt date parse() finds: a search by it matches the
    // name's text before its first "_", whatever the form (the cash desk with a cash-desk name, both dates with
    // a hand-over name).
    if (const qsizetype firstUnderscore = fileName.indexOf(u'_'); firstUnderscore >= 0)
        k.datum = fileName.left(firstUnderscore);
    if (const auto n = parse(fileName)) {
        if (n->form == Form::CashDesk)
            return k;
        k.sm = n->sm;
        k.operator_ = n->operator_;
        if (n->form == Form::Package || n->form == Form::PackageWeek) {
            k.balik = n->balik;
            k.tyden = n->tyden;
        }
        return k;
    }
    const QStringList parts = fileName.split(u'_');
    if (parts.size() > 2)
        k.sm = parts[1];
    if (parts.size() > 3)
        k.operator_ = parts[2];
    if (parts.size() > 4) {
        const int dot = int(parts[4].lastIndexOf(u'.'));
        if (parts.size() == 5 && dot >= 0) {
            k.balik = parts[4].left(dot);
            k.tyden = QStringLiteral("1");
        } else {
            k.balik = parts[4];
            if (parts.size() > 5)
                k.tyden = parts[5];
        }
    }
    return k;
}

std::optional<QString> DayFileName::withSm(const QString& fileName, const QString& sm) {
    const qsizetype first = fileName.indexOf(u'_');
    const qsizetype second = first < 0 ? -1 : fileName.indexOf(u'_', first + 1);
    if (second < 0)
        return std::nullopt;
    return fileName.left(first + 1) + sm + fileName.mid(second);
}

} // namespace trv
