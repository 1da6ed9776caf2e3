#include "core/TypeDefinitions.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/IniDocument.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace trv::TypeDefinitions {

namespace {

const QString kTypy = QStringLiteral("TYPY");
const QString kPocet = QStringLiteral("Pocet");
const QString kHodnoty = QStringLiteral("Hodnoty");

QString typeSection(qint64 n)
{
    return QStringLiteral("TYP") + QString::number(n);
}

// --- Conversions, as the definition files have always been read -------------------------------------------

using Raw = std::optional<QString>; // a key's value, nullopt when the key is absent
using Problem = std::optional<QString>; // why a value does not convert, nullopt when it does

// The integer read of the profile functions: the number at the start of the value (blanks and a sign allowed,
// anything after the digits ignored, no digits read as 0); the default when the key is absent or empty.
// A number beyond 32 bits is refused: the old read wrapped it round silently.
std::optional<qint64> profileInt(const Raw& raw, qint32 def)
{
    if (!raw || raw->trimmed().isEmpty())
        return def;
    const QStringView s = QStringView(*raw).trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        value = value * 10 + (s[i].unicode() - u'0');
        if (value > std::numeric_limits<qint32>::max() + qint64(1))
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<qint32>::max() || value < std::numeric_limits<qint32>::min())
        return std::nullopt;
    return value;
}

// A text converted to a whole number: the whole text a number ("," or "." as decimal separator), rounded
// half to even like the old conversion; nullopt for anything else, the empty text included.
std::optional<qint64> textToLong(const QString& text)
{
    const auto v = toNumber(text);
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r > std::numeric_limits<qint32>::max() || r < std::numeric_limits<qint32>::min())
        return std::nullopt;
    return static_cast<qint64>(r);
}

bool fits16(qint64 v)
{
    return v >= std::numeric_limits<qint16>::min() && v <= std::numeric_limits<qint16>::max();
}

const QString kNotNumber = QStringLiteral("není číslo");
const QString kNotInt32 = QStringLiteral("není celé číslo v rozsahu -2147483648 až 2147483647");
const QString kNotInt16 = QStringLiteral("není celé číslo v rozsahu -32768 až 32767");
const QString kNotDate = QStringLiteral("není datum (den.měsíc.rok)");

// A text written so that the profile read gives it back: blanks around it or quotes around it would be
// dropped by the read, so such a text is wrapped in quotes.
QString quoted(const QString& v)
{
    if (v.isEmpty())
        return v;
    const bool blanksAround = v.front().isSpace() || v.back().isSpace();
    const bool quotesAround = v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"');
    return blanksAround || quotesAround ? u'"' + v + u'"' : v;
}

// --- The keys of a type's section ------------------------------------------------------------------------

enum class Condition { Always, PackageWeek, ListExport, CbaExport, GroupFile };

struct LoadEnv {
    FileKind kind;
    QDate today;
};

using ReadFn = Problem (*)(CStrav&, const Raw&, const LoadEnv&);
using WriteFn = std::optional<QString> (*)(const CStrav&);

struct KeyDef {
    const char* key;
    Condition condition;
    ReadFn read;   // stores the value (or the default for an absent key); why it does not convert
    WriteFn write; // the text the read turns back into the field; nullopt: nothing to write
};

// Integer read by the profile functions into a 32-bit field.
template <qint32 CStrav::*M, qint32 Def>
constexpr KeyDef int32Key(const char* key)
{
    return {key, Condition::Always,
            [](CStrav& t, const Raw& raw, const LoadEnv&) -> Problem {
                const auto v = profileInt(raw, Def);
                if (!v)
                    return kNotInt32;
                t.*M = static_cast<qint32>(*v);
                return std::nullopt;
            },
            [](const CStrav& t) -> std::optional<QString> { return QString::number(t.*M); }};
}

// Integer read by the profile functions into a 16-bit field.
template <qint16 CStrav::*M, qint16 Def>
constexpr KeyDef int16Key(const char* key)
{
    return {key, Condition::Always,
            [](CStrav& t, const Raw& raw, const LoadEnv&) -> Problem {
                const auto v = profileInt(raw, Def);
                if (!v || !fits16(*v))
                    return kNotInt16;
                t.*M = static_cast<qint16>(*v);
                return std::nullopt;
            },
            [](const CStrav& t) -> std::optional<QString> { return QString::number(t.*M); }};
}

// Text seen through the 254-character buffer of the old reader.
template <QString CStrav::*M>
constexpr KeyDef textKey(const char* key, Condition condition = Condition::Always)
{
    return {key, condition,
            [](CStrav& t, const Raw& raw, const LoadEnv&) -> Problem {
                t.*M = raw ? raw->left(kIniValueMax) : QString();
                return std::nullopt;
            },
            [](const CStrav& t) -> std::optional<QString> { return quoted(t.*M); }};
}

// A folder or file path: never cut, or it would point elsewhere.
template <QString CStrav::*M>
constexpr KeyDef pathKey(const char* key, Condition condition = Condition::Always)
{
    return {key, condition,
            [](CStrav& t, const Raw& raw, const LoadEnv&) -> Problem {
                t.*M = raw.value_or(QString());
                return std::nullopt;
            },
            [](const CStrav& t) -> std::optional<QString> { return quoted(t.*M); }};
}

// Text converted to a whole number that must fit 16 bits; the default is the text "0".
template <qint16 CStrav::*M>
constexpr KeyDef textInt16Key(const char* key, Condition condition = Condition::Always)
{
    return {key, condition,
            [](CStrav& t, const Raw& raw, const LoadEnv&) -> Problem {
                const auto v = textToLong(raw ? raw->left(kIniValueMax) : QStringLiteral("0"));
                if (!v || !fits16(*v))
                    return kNotInt16;
                t.*M = static_cast<qint16>(*v);
                return std::nullopt;
            },
            [](const CStrav& t) -> std::optional<QString> { return QString::number(t.*M); }};
}

// Text converted to a whole amount (the statement limits of package/week mode).
Problem readAmount(const Raw& raw, const char* def, Currency& into)
{
    const auto v = textToLong(raw ? raw->left(kIniValueMax) : QString::fromLatin1(def));
    if (!v)
        return kNotInt32;
    into = Currency::fromInt(*v);
    return std::nullopt;
}

QString amountText(Currency v)
{
    return QString::number(v.rounded(0).units() / Currency::kUnitsPerWhole);
}

// A day written d.M.yyyy; the default 1.1.2004.
template <QDate CStrav::*M>
constexpr KeyDef dateKey(const char* key)
{
    return {key, Condition::Always,
            [](CStrav& t, const Raw& raw, const LoadEnv&) -> Problem {
                const auto d = parseDate(raw ? raw->left(kIniValueMax) : QStringLiteral("1.1.2004"));
                if (!d)
                    return kNotDate;
                t.*M = *d;
                return std::nullopt;
            },
            [](const CStrav& t) -> std::optional<QString> {
                // A type that never had a date leaves the key out, so that the load gives it the default.
                if (!(t.*M).isValid())
                    return std::nullopt;
                return dateShort(t.*M);
            }};
}

Problem readProvize(CStrav& t, const Raw& raw, const LoadEnv&)
{
    const auto v = toNumber(raw ? raw->left(kIniValueMax) : QStringLiteral("0"));
    if (!v || !std::isfinite(*v))
        return kNotNumber;
    t.Provize = *v;
    return std::nullopt;
}

Problem readDph(CStrav& t, const Raw& raw, const LoadEnv&)
{
    const auto v = toNumber(raw ? raw->left(kIniValueMax) : QStringLiteral("19"));
    if (!v || !std::isfinite(*v))
        return kNotNumber;
    t.DPH = *v;
    return std::nullopt;
}

const KeyDef kKeys[] = {
    textKey<&CStrav::Nazev>("Nazev"),
    int32Key<&CStrav::Delka, 0>("Delka"),
    int32Key<&CStrav::Delka2, 0>("Delka2"),
    int32Key<&CStrav::DelkaCastka, 0>("DelkaCastka"),
    int32Key<&CStrav::KoefCastka, 0>("KoefCastka"),
    int32Key<&CStrav::PozCastka, 0>("PozCastka"),
    int32Key<&CStrav::PozRok, 0>("PozRok"),
    int16Key<&CStrav::delkaRok, 1>("DelkaRok"),
    int32Key<&CStrav::PozRok2, 0>("PozRok2"),
    int16Key<&CStrav::delkaRok2, 1>("DelkaRok2"),
    int16Key<&CStrav::pozRCDarkove, 1>("PozRCDarkove"),
    int16Key<&CStrav::delkaRCDarkove, 1>("DelkaRCDarkove"),
    textKey<&CStrav::RCDarkove>("RCDarkove"),
    textKey<&CStrav::RCBlokovaneDarkove>("RCBlokovaneDarkove"),
    int16Key<&CStrav::pozRCDarkove2, 1>("PozRCDarkove2"),
    int16Key<&CStrav::delkaRCDarkove2, 1>("DelkaRCDarkove2"),
    textKey<&CStrav::RCDarkove2>("RCDarkove2"),
    textKey<&CStrav::RCBlokovaneDarkove2>("RCBlokovaneDarkove2"),
    int32Key<&CStrav::CheckIL, 0>("ILKontrola"),
    int32Key<&CStrav::Export, 0>("Export"),
    textKey<&CStrav::Pripona>("Pripona"),
    pathKey<&CStrav::Cesta>("Cesta"),
    textKey<&CStrav::ExpTyp>("ExpTyp"),
    int32Key<&CStrav::GainLevel, -1>("GainLevel"),
    int32Key<&CStrav::ScanSpeed, -1>("ScanSpeed"),
    int32Key<&CStrav::LaserPower, -1>("LaserPower"),
    {"Provize", Condition::Always, readProvize,
     [](const CStrav& t) -> std::optional<QString> { return plainText(t.Provize); }},
    {"DPH", Condition::Always, readDph, [](const CStrav& t) -> std::optional<QString> { return plainText(t.DPH); }},
    textKey<&CStrav::RozlisovaciCislo>("RozlisovaciCislo"),
    int16Key<&CStrav::PoziceRC, -1>("PoziceRC"),
    int16Key<&CStrav::ObsahujeRC, -1>("ObsahujeRC"),
    int32Key<&CStrav::DelkaCastka2, 0>("DelkaCastka2"),
    int32Key<&CStrav::KoefCastka2, 0>("KoefCastka2"),
    int32Key<&CStrav::PozCastka2, 0>("PozCastka2"),
    textKey<&CStrav::produktRC>("ProductRC"),
    {"ObsahujeProduktRC", Condition::Always,
     [](CStrav& t, const Raw& raw, const LoadEnv&) -> Problem {
         const auto v = profileInt(raw, 0);
         if (!v)
             return kNotInt32;
         t.obsahujeProduktRC = QString::number(*v);
         return std::nullopt;
     },
     [](const CStrav& t) -> std::optional<QString> { return quoted(t.obsahujeProduktRC); }},
    int16Key<&CStrav::poziceProduktRC, 0>("PoziceProduktRC"),
    int16Key<&CStrav::poziceProduktRC2, 0>("PoziceProduktRC2"),
    textKey<&CStrav::RozlisovaciCislo2>("RozlisovaciCislo2"),
    int16Key<&CStrav::delka1PoziceRC1, -1>("delka1PoziceRC1"),
    int16Key<&CStrav::delka2PoziceRC1, -1>("delka2PoziceRC1"),
    int16Key<&CStrav::delka1PoziceRC2, -1>("delka1PoziceRC2"),
    int16Key<&CStrav::delka2PoziceRC2, -1>("delka2PoziceRC2"),
    int16Key<&CStrav::ObsahujeRC2, -1>("ObsahujeRC2"),
    textKey<&CStrav::RozlisovaciCislo3>("RozlisovaciCislo3"),
    int16Key<&CStrav::delka1PoziceRC3, -1>("delka1PoziceRC3"),
    int16Key<&CStrav::delka2PoziceRC3, -1>("delka2PoziceRC3"),
    int16Key<&CStrav::ObsahujeRC3, -1>("ObsahujeRC3"),
    int16Key<&CStrav::delkaCh22PoziceRC1, -1>("delkaCh22PoziceRC1"),
    int16Key<&CStrav::delkaCh22PoziceRC2, -1>("delkaCh22PoziceRC2"),
    int16Key<&CStrav::delkaCh22PoziceRC3, -1>("delkaCh22PoziceRC3"),
    int16Key<&CStrav::pozRCDarkoveCh22, 1>("PozRCDarkoveCh22"),
    int16Key<&CStrav::delkaRCDarkoveCh22, 1>("DelkaRCDarkoveCh22"),
    textKey<&CStrav::RCDarkoveCh22>("RCDarkoveCh22"),
    textKey<&CStrav::RCBlokovaneDarkoveCh22>("RCBlokovaneDarkoveCh22"),
    {"MaxVycetkaSum", Condition::PackageWeek,
     [](CStrav& t, const Raw& raw, const LoadEnv&) { return readAmount(raw, "500000", t.MaxVycetkaSum); },
     [](const CStrav& t) -> std::optional<QString> { return amountText(t.MaxVycetkaSum); }},
    {"VarnVycetkaSum", Condition::PackageWeek,
     [](CStrav& t, const Raw& raw, const LoadEnv&) {
         const Problem p = readAmount(raw, "450000", t.VarningVycetkaSum);
         t.varningSumVycetkaPohyb = t.VarningVycetkaSum;
         return p;
     },
     [](const CStrav& t) -> std::optional<QString> { return amountText(t.VarningVycetkaSum); }},
    {"LastVycetkaDate", Condition::PackageWeek,
     [](CStrav& t, const Raw& raw, const LoadEnv& env) -> Problem {
         t.LastVycetkaDate = raw ? raw->left(kIniValueMax) : dateYYMMDD(env.today);
         t.lastVycetkaDateSet = raw.has_value();
         return std::nullopt;
     },
     [](const CStrav& t) -> std::optional<QString> {
         // The load's day stands in for a missing date; written back it would pass for a real statement date.
         if (!t.lastVycetkaDateSet)
             return std::nullopt;
         return quoted(t.LastVycetkaDate);
     }},
    textKey<&CStrav::cisloProvozovny>("ExpCisloProvozovny", Condition::ListExport),
    textKey<&CStrav::kodProvozovny>("ExpKodProvozovny", Condition::ListExport),
    textKey<&CStrav::nazevProvozovny>("ExpNazevProvozovny", Condition::ListExport),
    textKey<&CStrav::ulice>("ExpUlice", Condition::ListExport),
    textKey<&CStrav::mesto>("ExpMesto", Condition::ListExport),
    textKey<&CStrav::ico>("ExpIco", Condition::ListExport),
    textKey<&CStrav::kontakt>("ExpKontakt", Condition::ListExport),
    textKey<&CStrav::telPredvolba>("ExpTelPredvolba", Condition::ListExport),
    textKey<&CStrav::tel>("ExpTel", Condition::ListExport),
    textKey<&CStrav::fax>("ExpFax", Condition::ListExport),
    textKey<&CStrav::email>("ExpEmail", Condition::ListExport),
    textKey<&CStrav::specSymbol>("ExpSpecSymbol", Condition::ListExport),
    pathKey<&CStrav::FormularExe>("ExpFormularExe", Condition::ListExport),
    textKey<&CStrav::CBAUcetMD>("CBAUcetMD", Condition::CbaExport),
    textInt16Key<&CStrav::groupType>("GroupType", Condition::GroupFile),
    textInt16Key<&CStrav::kodTypu>("KodTypu"),
    {"Vydavatel", Condition::Always,
     [](CStrav& t, const Raw& raw, const LoadEnv& env) -> Problem {
         const QString v = raw ? raw->left(kIniValueMax) : QString();
         t.vydavatel = env.kind == FileKind::Types ? v.toUpper() : v;
         return std::nullopt;
     },
     [](const CStrav& t) -> std::optional<QString> { return quoted(t.vydavatel); }},
    textInt16Key<&CStrav::pRok1>("PovolitRok1"),
    textInt16Key<&CStrav::pRok2>("PovolitRok2"),
    textInt16Key<&CStrav::pRok3>("PovolitRok3"),
    textInt16Key<&CStrav::pRok4>("PovolitRok4"),
    textInt16Key<&CStrav::pRok5>("PovolitRok5"),
    dateKey<&CStrav::pPovolitDo1>("PovolitDo1"),
    dateKey<&CStrav::pPovolitDo2>("PovolitDo2"),
    dateKey<&CStrav::pPovolitDo3>("PovolitDo3"),
    dateKey<&CStrav::pPovolitDo4>("PovolitDo4"),
    dateKey<&CStrav::pPovolitDo5>("PovolitDo5"),
    int16Key<&CStrav::pozInterleave1, 0>("PozInterleave1"),
    int16Key<&CStrav::pozInterleave2, 0>("PozInterleave2"),
    {"Poukaz", Condition::Always,
     [](CStrav& t, const Raw& raw, const LoadEnv&) -> Problem {
         const auto v = profileInt(raw, 0);
         if (!v)
             return kNotInt32;
         t.poukaz = *v != 0;
         return std::nullopt;
     },
     [](const CStrav& t) -> std::optional<QString> { return t.poukaz ? QStringLiteral("1") : QStringLiteral("0"); }},
    pathKey<&CStrav::TabulkaHodnot>("TabulkaHodnot"),
    {"TypCK", Condition::Always,
     [](CStrav& t, const Raw& raw, const LoadEnv&) -> Problem {
         t.TypCK = raw ? raw->left(kIniValueMax) : QStringLiteral("interleave2of5");
         return std::nullopt;
     },
     [](const CStrav& t) -> std::optional<QString> { return quoted(t.TypCK); }},
    textKey<&CStrav::TypCRC>("TypCRC"),
};

bool applies(const KeyDef& def, FileKind kind, const CustomerSwitches& sw)
{
    switch (def.condition) {
    case Condition::Always: return true;
    case Condition::PackageWeek: return sw.gFBalikyTyden;
    case Condition::ListExport: return sw.gFExportSeznamu;
    case Condition::CbaExport: return sw.gFExportCBA;
    case Condition::GroupFile: return kind == FileKind::Groups;
    }
    return false;
}

const KeyDef* findKey(const QString& name)
{
    for (const KeyDef& def : kKeys) {
        if (QString::compare(name, QLatin1String(def.key), Qt::CaseInsensitive) == 0)
            return &def;
    }
    return nullptr;
}

// The keys of a section with their values, in file order (the first of duplicate keys).
std::vector<std::pair<QString, QString>> sectionEntries(const IniDocument& doc, const QString& section)
{
    return doc.entries(section);
}

QString fileText(const std::filesystem::path& file)
{
    return TextFiles::toQString(file);
}

Status conversionError(const std::filesystem::path& file, const QString& section, const QString& key,
                       const QString& value, const QString& problem)
{
    return Status::fail(QStringLiteral("Chyba v souboru %1, sekce [%2], klíč %3: hodnota \"%4\" %5.")
                            .arg(fileText(file), section, key, value, problem));
}

// The value-table file of a type: its name is relative to the program folder, and each part of it is found
// whatever its letter case, as on the system the tables were written for.
std::optional<std::filesystem::path> findValueTable(const std::filesystem::path& folder, const QString& name)
{
    std::filesystem::path path = folder;
    const QStringList parts = QString(name).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return std::nullopt;
    for (const QString& part : parts) {
        const auto found = TextFiles::findCaseInsensitive(path, part);
        if (!found)
            return std::nullopt;
        path = *found;
    }
    // Whatever is there under the name is the table: a folder, a FIFO or a link loop is reported as unreadable
    // when read, never as a table nobody defined.
    std::error_code ec;
    if (std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::not_found)
        return std::nullopt;
    return path;
}

// The text the save writes for a known key: the file's own text when it still reads back as the type's
// value (so that nothing changes that the operator did not change, and a long list cut by the reader keeps
// its end), else the type's value.
std::optional<QString> textToWrite(const KeyDef& def, const CStrav& t, const Raw& fileValue, CStrav& scratch,
                                   const LoadEnv& env)
{
    const std::optional<QString> wanted = def.write(t);
    if (fileValue && !def.read(scratch, fileValue, env) && def.write(scratch) == wanted)
        return quoted(*fileValue);
    return wanted;
}

} // namespace

QString saveErrorMessage(const std::filesystem::path& file, const QString& reason)
{
    QString text = QStringLiteral("Při uložení nastavení nastala chyba! Zkontrolujte prosím, zda máte oprávnění "
                                  "zapisovat do souboru ") +
                   fileText(file);
    if (!reason.isEmpty())
        text += u'\n' + reason;
    return text;
}

Status loadValueTable(const std::filesystem::path& file, ValueTable& table)
{
    const auto loaded = IniDocument::load(file);
    if (!loaded.ok())
        return loaded.error();
    const IniDocument& doc = loaded.value();
    const Raw rawCount = doc.value(kHodnoty, kPocet);
    const auto count = profileInt(rawCount, 0);
    if (!count || !fits16(*count))
        return conversionError(file, kHodnoty, kPocet, rawCount.value_or(QString()), kNotInt16);

    const auto entries = sectionEntries(doc, kHodnoty);
    QHash<QString, QString> byKey;
    for (const auto& [key, value] : entries)
        byKey.insert(key.toCaseFolded(), value);

    for (qint64 i = 1; i <= *count; ++i) {
        const QString key = QStringLiteral("Hodnota") + QString::number(i);
        const QString entry = byKey.value(key.toCaseFolded()).left(kIniValueMax);
        const QStringList pieces = entry.split(u':');
        if (pieces.size() < 2) {
            return Status::fail(
                QStringLiteral("Chyba v tabulce hodnot %1, sekce [%2], klíč %3: položka \"%4\" nemá tvar "
                               "\"část kódu:hodnota\".")
                    .arg(fileText(file), kHodnoty, key, entry));
        }
        if (!table.add(pieces.at(0), pieces.at(1))) {
            return Status::fail(
                QStringLiteral("Chyba v tabulce hodnot %1, sekce [%2], klíč %3: část kódu \"%4\" je v tabulce "
                               "víckrát.")
                    .arg(fileText(file), kHodnoty, key, pieces.at(0)));
        }
    }
    return Status::success();
}

Status load(CColStrav& types, const std::filesystem::path& file, FileKind kind)
{
    // Section by section: a file of hundreds of types is never held parsed whole.
    auto loaded = IniSections::load(file);
    if (!loaded.ok())
        return loaded.error();
    const std::shared_ptr<const IniSections> sections = loaded.value();
    const VoucherContext& ctx = types.context();
    const CustomerSwitches& sw = ctx.state.sw;
    const LoadEnv env{kind, ctx.clock.today()};

    const Raw rawCount = sections->section(kTypy).value(kTypy, kPocet);
    const auto count = profileInt(rawCount, 0);
    if (!count)
        return conversionError(file, kTypy, kPocet, rawCount.value_or(QString()), kNotInt32);

    // Checked before any type is made: a huge count would build tens of thousands of empty types first.
    if (!fits16(*count)) {
        return Status::fail(QStringLiteral("Chyba v souboru %1, sekce [%2]: typů stravenek může být nejvýše 32767.")
                                .arg(fileText(file), kTypy));
    }
    // The key names as the lookups compare them, made once for all the types.
    static const IniKeys keyNames = [] {
        QStringList keys;
        for (const KeyDef& def : kKeys)
            keys.push_back(QString::fromLatin1(def.key));
        return IniKeys(keys);
    }();
    for (qint64 n = 1; n <= *count; ++n) {
        const QString section = typeSection(n);
        auto t = std::make_shared<CStrav>();
        t->PoradiSpolecnosti = static_cast<qint16>(n);
        const std::vector<Raw> values = sections->values(section, keyNames);
        t->sectionKeys = CStrav::LoadedSection{sections, section};
        for (size_t i = 0; i < std::size(kKeys); ++i) {
            const KeyDef& def = kKeys[i];
            if (!applies(def, kind, sw))
                continue;
            const Raw& raw = values[i];
            if (const Problem problem = def.read(*t, raw, env))
                return conversionError(file, section, QLatin1String(def.key), raw.value_or(QString()), *problem);
        }

        if (!t->TabulkaHodnot.isEmpty()) {
            t->TabulkaHodnotDict = std::make_shared<ValueTable>();
            if (const auto tableFile = findValueTable(ctx.state.programFolder, t->TabulkaHodnot)) {
                const Status read = loadValueTable(*tableFile, *t->TabulkaHodnotDict);
                if (!read.ok())
                    return read;
            } else {
                ctx.prompts.message(QStringLiteral("Nebyla definována tabulka hodnot pro ") + t->Nazev,
                                    Prompts::Buttons::Ok, Prompts::Icon::Critical);
            }
        }
        const Status added = types.Add(std::move(t));
        if (!added.ok())
            return added;
    }
    return Status::success();
}

Status save(const CColStrav& types, const std::filesystem::path& file, FileKind kind)
{
    auto loaded = IniDocument::load(file);
    if (!loaded.ok())
        return Status::fail(saveErrorMessage(file, loaded.message()));
    IniDocument doc = std::move(loaded.value());
    const VoucherContext& ctx = types.context();
    const CustomerSwitches& sw = ctx.state.sw;
    const LoadEnv env{kind, ctx.clock.today()};

    // Sections the last load read and that no type fills now lose their keys, so that a removed type's
    // settings do not linger under a number that a later type will take.
    const auto oldCount = profileInt(doc.value(kTypy, kPocet), 0).value_or(0);

    doc.setValue(kTypy, kPocet, QString::number(types.count()));
    CStrav scratch;
    qint64 k = 0;
    for (const auto& t : types) {
        ++k;
        const QString section = typeSection(k);
        std::vector<std::pair<QString, QString>> entries;
        std::vector<const KeyDef*> written;
        for (const auto& [key, fileValue] : t->sectionKeys.entries()) {
            const KeyDef* def = findKey(key);
            if (def && applies(*def, kind, sw)) {
                if (const auto text = textToWrite(*def, *t, fileValue, scratch, env))
                    entries.emplace_back(key, *text);
                written.push_back(def);
            } else {
                entries.emplace_back(key, quoted(fileValue)); // not ours to interpret: kept as it was
            }
        }
        for (const KeyDef& def : kKeys) {
            if (!applies(def, kind, sw) || std::find(written.begin(), written.end(), &def) != written.end())
                continue;
            if (const auto text = def.write(*t))
                entries.emplace_back(QLatin1String(def.key), *text);
        }

        for (const auto& [key, text] : entries) {
            const Status valid = IniDocument::checkEntry(section, key, text);
            if (!valid.ok())
                return Status::fail(saveErrorMessage(file, valid.message()));
        }
        doc.removeKeys(section);
        for (const auto& [key, text] : entries)
            doc.setValue(section, key, text);
    }
    for (qint64 n = k + 1; n <= oldCount; ++n) {
        doc.removeKeys(typeSection(n));
    }

    const Status saved = doc.save(file);
    if (!saved.ok())
        return Status::fail(saveErrorMessage(file, saved.message()));
    return Status::success();
}

} // namespace trv::TypeDefinitions
