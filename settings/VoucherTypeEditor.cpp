#include "settings/VoucherTypeEditor.h"

#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "platform/Conventions.h"

#include <cmath>
#include <limits>

namespace trv::VoucherTypeEditor {

namespace {

struct IntField {
    QString StravPolozky::*box;
    qint32 CStrav::*member;
    const char* label;
};

const IntField kIntFields[] = {
    {&StravPolozky::delka, &CStrav::Delka, "Délka"},
    {&StravPolozky::delka2, &CStrav::Delka2, "Délka2"},
    {&StravPolozky::pozRok, &CStrav::PozRok, "Pozice roku"},
    {&StravPolozky::pozCastka, &CStrav::PozCastka, "Pozice částky"},
    {&StravPolozky::delkaCastka, &CStrav::DelkaCastka, "Délka částky"},
    {&StravPolozky::koef, &CStrav::KoefCastka, "Koeficient"},
};

QString invalid(const char* label, const QString& text, const char* expected) {
    return QStringLiteral("Pole „%1“ obsahuje „%2“, což není %3.")
        .arg(QString::fromUtf8(label), text, QString::fromUtf8(expected));
}

// A whole number in the 32-bit range; a fractional value is rounded half to even, as the dialog always did.
std::optional<qint32> toInt32(const QString& text) {
    const std::optional<double> n = toNumber(text);
    if (!n || !std::isfinite(*n))
        return std::nullopt;
    const double r = std::nearbyint(*n);
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(r);
}

} // namespace

StravPolozky polozky(const CStrav& t) {
    StravPolozky p;
    p.nazev = t.Nazev;
    for (const IntField& f : kIntFields)
        p.*(f.box) = QString::number(t.*(f.member));
    p.checkIL = t.CheckIL != 0;
    p.exportDat = t.Export != 0;
    p.pripona = t.Pripona;
    p.cesta = t.Cesta;
    p.expTyp = t.ExpTyp;
    p.provize = signedText(t.Provize);
    p.dph = signedText(t.DPH);
    return p;
}

StravPolozky novePolozky() {
    StravPolozky p;
    p.provize = signedText(0.0);
    p.dph = signedText(19.0);
    return p;
}

Status uloz(const StravPolozky& p, CStrav& t) {
    if (p.nazev.trimmed().isEmpty())
        return Status::fail(QStringLiteral("Pole „Název“ je prázdné; typ stravenky musí mít název."));
    // The definition file keeps one value per line.
    for (const QString* text : {&p.nazev, &p.pripona, &p.cesta, &p.expTyp}) {
        if (text->contains(u'\n') || text->contains(u'\r'))
            return Status::fail(QStringLiteral("Text „%1“ nesmí obsahovat konec řádku.").arg(text->simplified()));
    }
    qint32 ints[std::size(kIntFields)];
    for (size_t i = 0; i < std::size(kIntFields); ++i) {
        const QString& text = p.*(kIntFields[i].box);
        const std::optional<qint32> v = toInt32(text);
        if (!v)
            return Status::fail(invalid(kIntFields[i].label, text, "celé číslo"));
        ints[i] = *v;
    }
    const std::optional<double> provize = toNumber(p.provize);
    if (!provize || !std::isfinite(*provize))
        return Status::fail(invalid("Provize", p.provize, "číslo"));
    const std::optional<double> dph = toNumber(p.dph);
    if (!dph || !std::isfinite(*dph))
        return Status::fail(invalid("DPH", p.dph, "číslo"));

    t.Nazev = p.nazev;
    for (size_t i = 0; i < std::size(kIntFields); ++i)
        t.*(kIntFields[i].member) = ints[i];
    t.CheckIL = p.checkIL ? 1 : 0;
    t.Export = p.exportDat ? 1 : 0;
    t.Pripona = p.pripona;
    t.Cesta = p.cesta;
    t.ExpTyp = p.expTyp;
    t.Provize = *provize;
    t.DPH = *dph;
    return Status::success();
}

void kopiruj(const CStrav& from, CStrav& to) {
    to.Nazev = from.Nazev;
    for (const IntField& f : kIntFields)
        to.*(f.member) = from.*(f.member);
    to.CheckIL = from.CheckIL;
    to.Export = from.Export;
    to.Pripona = from.Pripona;
    to.Cesta = from.Cesta;
    to.ExpTyp = from.ExpTyp;
    to.Provize = from.Provize;
    to.DPH = from.DPH;
}

bool smaz(CColStrav& types, const std::shared_ptr<CStrav>& type) {
    const auto all = types.types();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] == type)
            return types.Remove(static_cast<qint64>(i) + 1);
    }
    return false;
}

void typyZmeneny(CColStrav& types) {
    // Recognition prepares names and lengths once; a type changed in place must be prepared again.
    types.PripravRozpoznani();
}

} // namespace trv::VoucherTypeEditor
