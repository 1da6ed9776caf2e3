#include "core/CColStrav.h"

#include "core/AppState.h"
#include "core/CPolozka.h"
#include "core/Recognition.h"
#include "core/TypeDefinitions.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"

namespace trv {

namespace {

QString foldKey(const QString& key)
{
    return key.toCaseFolded();
}

} // namespace

CColStrav::CColStrav(AppState& state, Prompts& prompts, const Clock& clock)
    : m_context(std::make_shared<const VoucherContext>(VoucherContext{state, prompts, clock}))
{
}

std::filesystem::path CColStrav::duplicityLog() const
{
    return m_context->state.programFolder / "Duplicity.log";
}

Status CColStrav::Add(StravPtr type, const QString& key)
{
    const QString folded = foldKey(key);
    if (!folded.isEmpty()) {
        for (const QString& k : m_keys) {
            if (k == folded)
                return Status::fail(QStringLiteral("Typ stravenky s klíčem %1 už v seznamu je.").arg(key));
        }
    }
    if (!type->context())
        type->setContext(m_context);
    m_types.push_back(std::move(type));
    m_keys.push_back(folded);
    PripravRozpoznani();
    return Status::success();
}

CColStrav::StravPtr CColStrav::Item(qint64 index) const
{
    if (index < 1 || index > static_cast<qint64>(m_types.size()))
        return nullptr;
    return m_types[static_cast<size_t>(index - 1)];
}

CColStrav::StravPtr CColStrav::Item(const QString& key) const
{
    const QString folded = foldKey(key);
    if (folded.isEmpty())
        return nullptr;
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i] == folded)
            return m_types[i];
    }
    return nullptr;
}

bool CColStrav::Remove(qint64 index)
{
    if (index < 1 || index > static_cast<qint64>(m_types.size()))
        return false;
    const auto at = static_cast<std::ptrdiff_t>(index - 1);
    m_types.erase(m_types.begin() + at);
    m_keys.erase(m_keys.begin() + at);
    PripravRozpoznani();
    return true;
}

bool CColStrav::Remove(const QString& key)
{
    const QString folded = foldKey(key);
    if (folded.isEmpty())
        return false;
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i] == folded)
            return Remove(static_cast<qint64>(i) + 1);
    }
    return false;
}

bool CColStrav::ExistDelka(qint64 l) const
{
    const auto found = NajdiDelku(l, QString());
    return found.ok() && found.value() != nullptr;
}

bool CColStrav::CheckCBANumber(qint64 num)
{
    return trv::CheckCBANumber(num);
}

void CColStrav::PripravRozpoznani()
{
    // Prepared again at the next recognition: a load adds types one by one.
    m_prepared.reset();
    m_last.reset();
}

const Recognition::PreparedTypes& CColStrav::prepared() const
{
    if (!m_prepared)
        m_prepared.emplace(m_types);
    return *m_prepared;
}

Result<CColStrav::StravPtr> CColStrav::NajdiDelku(qint64 l, const QString& s) const
{
    return Recognition::najdiDelku(prepared(), m_context->state.sw, l, s);
}

CColStrav::StravPtr CColStrav::NajdiDelkuKod(const QString& s) const
{
    const AppState& state = m_context->state;
    if (m_last && m_last->code == s && m_last->noRead == state.gNoRead && m_last->cba == state.sw.gFCBA &&
        m_last->euro == state.sw.gFEuro && m_last->lastFirst == state.sw.gFZakaznik)
        return m_last->type;
    auto type = Recognition::najdiDelkuKod(prepared(), state.sw, state.gNoRead, s);
    m_last = LastRecognition{s, state.gNoRead, state.sw.gFCBA, state.sw.gFEuro, state.sw.gFZakaznik, type};
    return type;
}

qint32 CColStrav::Najdi2Delku(qint64 l) const
{
    for (const auto& t : m_types) {
        if (t->Delka == l)
            return t->Delka2;
    }
    return 0;
}

CColStrav::StravPtr CColStrav::NajdiNazev(const QString& name) const
{
    for (const auto& t : m_types) {
        if (t->Nazev == name)
            return t;
    }
    return nullptr;
}

Result<CColStrav::StravPtr> CColStrav::NajdiTypKodu(const QString& s) const
{
    if (s == m_context->state.gNoRead)
        return m_types.empty() ? nullptr : m_types.front(); // failed reads are always booked to the first type
    if (m_context->state.sw.gFRozpoznaniKodem)
        return NajdiDelkuKod(s);
    return NajdiDelku(s.size(), s);
}

std::filesystem::path CColStrav::typStravIni() const
{
    return souborProgramu(m_context->state.programFolder, QStringLiteral("TypStrav.ini"));
}

std::filesystem::path CColStrav::typStravGroupIni() const
{
    return souborProgramu(m_context->state.programFolder, QStringLiteral("TypStravGroup.ini"));
}

Status CColStrav::NactiINI()
{
    return TypeDefinitions::load(*this, typStravIni(), TypeDefinitions::FileKind::Types);
}

Status CColStrav::NactiINIGroup()
{
    return TypeDefinitions::load(*this, typStravGroupIni(), TypeDefinitions::FileKind::Groups);
}

Status CColStrav::UlozINI() const
{
    return TypeDefinitions::save(*this, typStravIni(), TypeDefinitions::FileKind::Types);
}

Status CColStrav::UlozINIGroup() const
{
    return TypeDefinitions::save(*this, typStravGroupIni(), TypeDefinitions::FileKind::Groups);
}

bool CColStrav::SmazStravenku(const QString& kod)
{
    const auto t = NajdiDelkuKod(kod);
    if (!t) {
        m_context->prompts.message(QStringLiteral(" Stravenka nebyla rozpoznána!"), Prompts::Buttons::Ok,
                                   Prompts::Icon::Critical);
        return false;
    }
    return t->Polozky->Smaz(kod);
}

Result<bool> CColStrav::SmazNominal(const QString& nominal, const QString& typeName)
{
    const Currency value = valCurrency(nominal);
    const QString& noRead = m_context->state.gNoRead;
    bool removed = false;
    for (const auto& t : m_types) {
        if (t->Nazev != typeName)
            continue;
        // A copy: the codes are removed while the type's collection is walked.
        const std::vector<CColPolozky::Ptr> codes(t->Polozky->begin(), t->Polozky->end());
        for (const auto& code : codes) {
            if (code->Kod == noRead)
                continue; // a failed read has no value to match
            const auto worth = code->DejHodnotu();
            if (!worth.ok())
                return worth.error();
            if (worth.value() == value && t->Polozky->Smaz(code->Kod))
                removed = true;
        }
    }
    return removed;
}

Result<bool> CColStrav::SmazJedenNominal(const QString& nominal, const QString& typeName)
{
    const Currency value = valCurrency(nominal);
    const QString& noRead = m_context->state.gNoRead;
    for (const auto& t : m_types) {
        if (t->Nazev != typeName)
            continue;
        for (const auto& code : *t->Polozky) {
            if (code->Kod == noRead)
                continue;
            const auto worth = code->DejHodnotu();
            if (!worth.ok())
                return worth.error();
            if (worth.value() == value) {
                const QString kod = code->Kod;
                return t->Polozky->Smaz(kod);
            }
        }
    }
    return false;
}

QStringList CColStrav::kodyVsechTypu() const
{
    QStringList codes;
    proKazdyKod([&codes](const QString& code) { codes.append(code); });
    return codes;
}

void CColStrav::proKazdyKod(const std::function<void(const QString&)>& code) const
{
    for (const auto& type : m_types) {
        if (!type->Polozky)
            continue;
        for (const auto& item : *type->Polozky)
            if (item)
                code(item->Kod);
    }
}

Status CColStrav::nactiSouctyStravenek()
{
    for (const auto& t : m_types) {
        const auto sum = t->nactiSoucetStravenek();
        if (!sum.ok())
            return sum.error();
    }
    return Status::success();
}

QString CColStrav::GetStrSum() const
{
    QString text;
    for (const auto& t : m_types) {
        const QString name = t->Nazev.trimmed();
        const qsizetype space = name.indexOf(u' ');
        text += QStringLiteral("    ") + (space < 0 ? name : name.left(space)) + QStringLiteral(" = ") +
                formatNumber(t->sumaStravenek, u"########0.00");
    }
    return text;
}

std::optional<Currency> CColStrav::vahaKodu() const
{
    std::optional<Currency> weight = Currency();
    for (auto it = m_types.cbegin(); it != m_types.cend() && weight; ++it) {
        const std::optional<Currency> type = (*it)->vahaKodu();
        weight = type ? weight->plus(*type) : std::nullopt;
    }
    return weight;
}

std::optional<Currency> CColStrav::vahaKodu(const QStringList& lines) const
{
    const QString& noRead = m_context->state.gNoRead;
    std::optional<Currency> weight = Currency();
    for (auto it = lines.cbegin(); it != lines.cend() && weight; ++it) {
        if (it->trimmed().isEmpty() || *it == noRead)
            continue;
        const auto type = NajdiTypKodu(*it);
        if (!type.ok() || !type.value())
            continue;
        CPolozka code;
        code.Kod = *it;
        code.setTypS(type.value());
        if (const auto value = code.DejHodnotu(CPolozka::Report::Silent); value.ok())
            weight = weight->plus(value.value().abs());
    }
    return weight;
}

} // namespace trv
