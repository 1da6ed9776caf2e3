#include "receipt/SmReceiptStart.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "core/DayDataFiles.h"
#include "core/DayFileName.h"
#include "core/ErrorText.h"
#include "core/SettingsLoader.h"
#include "core/SmList.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/ProfileFile.h"
#include "platform/TextFiles.h"
#include "receipt/DocumentKind.h"
#include "receipt/PackageNumbering.h"
#include "receipt/ReceiptHost.h"
#include "receipt/ReceiptStart.h"
#include "receipt/ReceiptStartSteps.h"

#include <system_error>

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmPrijemSec");
const QString kData = QStringLiteral("Data");
constexpr int kErrKonfigurace = 60000;

using Kind = SmReceiptStart::Outcome::Kind;

bool isFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec);
}

// A name part typed by the operator that cannot stand in a file name.
bool badInName(const QString& s) {
    for (QChar c : s) {
        if (c.unicode() < 0x20 || c == QChar(0x7f) || c == u'/' || c == u'\\')
            return true;
    }
    return false;
}

QString firstWord(const QString& name) {
    return name.trimmed().section(u' ', 0, 0);
}

} // namespace

SmReceiptStart::SmReceiptStart(AppState& state, Prompts& prompts, const Clock& clock, ReceiptHost& host)
    : m_state(state), m_prompts(prompts), m_clock(clock), m_host(host) {}

QString SmReceiptStart::text(const char* key) const {
    return m_state.config.DejText(kSection, QString::fromLatin1(key));
}

QDate SmReceiptStart::VypocitejPerioduDelvity(const QDate& today, bool datumOdvodu) {
    if (datumOdvodu)
        return today;
    if (today.day() > 15)
        return QDate(today.year(), today.month(), 15);
    return lastDayOfPreviousMonth(today);
}

Result<std::filesystem::path> SmReceiptStart::dataFolder() const {
    if (m_state.gDennySafeBag) {
        const Result<std::filesystem::path> daily = DejCestuDenSFB(m_state.config);
        if (!daily.ok())
            return Error{kErrKonfigurace, QStringLiteral("Neexistující složka DirDenSfb.")};
        return daily;
    }
    const Result<std::filesystem::path> folder = DejCestuDat(m_state.config);
    if (!folder.ok())
        return Error{kErrKonfigurace, QStringLiteral("Neexistující sekce nebo klíč.")};
    return folder;
}

QString SmReceiptStart::loadFailureText(const Error& error) const {
    return text("NeexCestaKDatum") + errorNumberAndDescription(error, QStringLiteral("Num"), QStringLiteral("descr"));
}

QString SmReceiptStart::missingFolderText(const std::filesystem::path& folder) const {
    return missingDataFolderText(folder, m_state.gDennySafeBag);
}

Result<SmReceiptStart::View> SmReceiptStart::load() {
    const CustomerSwitches& sw = m_state.sw;
    const QDate today = m_clock.today();
    View view;
    if (sw.gF33)
        m_host.setTrideni(true);
    m_state.gHlasitMaxVycetku = true;

    if (sw.gFZakaznik) {
        view.datum = today.toString(QStringLiteral("yyyyMMdd"));
        view.datumMaxLength = 8;
    } else {
        view.datum = dateYYMMDD(today);
    }
    view.datumPriNacteni = view.datum + view.sm;

    const Result<std::filesystem::path> folder = dataFolder();
    if (!folder.ok())
        return folder.error();
    view.folder = folder.value();
    view.folderExists = isFolder(view.folder);
    // The month's packages below are read from the folder the receipt will be started in.
    m_state.gDatovyAdresar = view.folder;
    if (view.folderExists) {
        // Package mode lists the package files; else the day data files, without the nominal summaries.
        const auto files = sw.gFBalicky ? TextFiles::listFolder(view.folder, QStringLiteral("*.bal"))
                                        : DayDataFiles::list(view.folder);
        if (!files.ok())
            return files.error();
        for (auto it = files.value().rbegin(); it != files.value().rend(); ++it)
            view.files.append(TextFiles::toQString(it->filename()));
    }

    // The SM list is read whole: a list cut at a buffer size would refuse the SMs past the cut.
    m_state.gSeznamSM =
        ProfileFile::read(m_state.config.gIniSoubor(), kData, QStringLiteral("SM"), QStringLiteral("X"));
    view.dtDek = VypocitejPerioduDelvity(today, sw.gFDatumOdvodu);
    const QString delka = m_state.config.CtiKonfig(kData, QStringLiteral("DelkaSM"), QStringLiteral("3")).trimmed();
    m_state.gDelkaSM = static_cast<qint32>(toInteger(delka).value_or(static_cast<qint64>(val(delka))));

    if (sw.gF17) {
        // The first SM of three digits no day file of the proposed date carries yet.
        QStringList names;
        if (view.folderExists) {
            if (const auto all = TextFiles::listFolder(view.folder, QStringLiteral("*")); all.ok())
                for (const auto& f : all.value())
                    names.append(TextFiles::toQString(f.filename()));
        }
        for (int i = 1; i <= 999; ++i) {
            const QString s = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
            const QString prefix = view.datum + u'_' + s;
            const bool taken = std::any_of(names.cbegin(), names.cend(),
                                           [&](const QString& n) { return n.startsWith(prefix, Qt::CaseInsensitive); });
            if (!taken) {
                view.sm = s;
                break;
            }
        }
        view.operator_ = QStringLiteral("1");
        view.poradi = QStringLiteral("1");
    }

    if (sw.gFBalikyTyden) {
        PackageNumbering numbering(m_state, m_prompts, m_clock, m_host);
        numbering.nactiNastaveni();
        m_prompts.message(text("NacteniBalicku"));
        if (const Status loaded = numbering.nactiBaliky(true); !loaded)
            return loaded.error();
        view.balik = m_state.gMaxVycetkaPoslBalik;
        view.tyden = QString::number(m_state.gMaxVycetkaTyden);
        if (m_state.gColStrav)
            for (const auto& t : *m_state.gColStrav)
                view.typyBaliku.append(firstWord(t->Nazev));
    }

    if (sw.gFDepo) {
        view.operator_ = m_state.config.CtiKonfig(kData, QStringLiteral("Operator"), QString());
        m_state.gDepo = m_state.config.CtiKonfig(kData, QStringLiteral("Depo"), QStringLiteral("100"));
        view.depo = m_state.gDepo;
    }
    if (sw.gFOperator)
        view.operator_ = m_state.config.CtiKonfig(kData, QStringLiteral("Operator"), QString());
    if (!m_state.gDatumSouboru.isEmpty())
        view.datum = m_state.gDatumSouboru;
    return view;
}

SmReceiptStart::Outcome SmReceiptStart::failed(const Error& error) const {
    // The program stays usable after a failed start: the operator mends the folder or the port and starts again.
    return {Kind::Failed,
            text("NeexCestaKDatum") + errorNumberAndDescription(error, QStringLiteral("Err"), QStringLiteral("Descr.")),
            Prompts::Icon::Critical, false, error};
}

SmReceiptStart::Outcome SmReceiptStart::failed(int number, const QString& description) const {
    return failed(Error{number, description});
}

SmReceiptStart::Outcome SmReceiptStart::refused(const QString& message, Prompts::Icon icon) const {
    return {Kind::Refused, message, icon, false, {}};
}

std::optional<SmReceiptStart::Outcome> SmReceiptStart::switchOn() {
    const QString fallback = m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("PokusNeexPort"));
    const auto failure = ReceiptStartSteps(m_state, m_prompts, m_host).switchOn(fallback);
    if (!failure)
        return std::nullopt;
    // The description names the port, its device and the system's reason.
    Outcome outcome = failed(Error{failure->error.number, failure->description()});
    outcome.error = failure->error;
    return outcome;
}

Result<QString> SmReceiptStart::fileName(const SmReceiptInput& input) const {
    DayFileName name;
    name.datum = input.soubor;
    name.sm = input.sm;
    name.operator_ = input.operator_;
    name.poradi = input.poradi;
    if (m_state.sw.gFDatumOdvodu) {
        name.form = DayFileName::Form::HandOver;
        name.datumOdvodu = dateYYMMDD(input.dtDek);
    } else if (m_state.sw.gFBalikyTyden) {
        name.form = DayFileName::Form::PackageWeek;
        name.balik = input.balik;
        name.tyden = input.tyden;
    } else {
        name.form = DayFileName::Form::Sm;
    }
    return name.build();
}

SmReceiptStart::Outcome SmReceiptStart::checkDepot(const SmReceiptInput& input) {
    if (input.depo.isEmpty())
        return refused(text("ZadejDepo"), Prompts::Icon::None);
    if (input.identObalky.isEmpty())
        return refused(text("ZadejIdObalky"), Prompts::Icon::None);
    if (input.sm.isEmpty())
        return refused(text("ZadejIdFakt"), Prompts::Icon::None);
    m_state.gDepo = input.depo;
    m_state.gIdentFA = input.sm;
    m_state.gIdentObalky = input.identObalky;
    return {Kind::Started, {}, Prompts::Icon::None, false, {}};
}

SmReceiptStart::Outcome SmReceiptStart::start(const SmReceiptInput& input) {
    const Result<std::filesystem::path> folder = dataFolder();
    if (!folder.ok())
        return failed(folder.error());
    m_state.gDatovyAdresar = folder.value();
    if (m_state.gDatumSouboru.isEmpty())
        m_state.gDatumSouboru = input.soubor;

    if (input.sorting && m_state.sw.gF33)
        return startSorting();
    if (m_state.sw.gFDepo) {
        if (Outcome checked = checkDepot(input); checked.kind != Kind::Started)
            return checked;
    }
    nastavDruhDokladu(m_state, input.typSeku);

    switch (input.mode) {
    case SmReceiptInput::Mode::Barcode:
        return startBarcode(folder.value(), input);
    case SmReceiptInput::Mode::NewFile:
        return m_state.sw.gFBalicky ? startNewPackageFile(folder.value(), input) : startNewFile(folder.value(), input);
    case SmReceiptInput::Mode::Append:
        return m_state.sw.gFBalicky ? startAppendPackageFile(folder.value(), input)
                                    : startAppend(folder.value(), input);
    case SmReceiptInput::Mode::None:
        break;
    }
    return {Kind::Closed, {}, Prompts::Icon::None, false, {}};
}

void SmReceiptStart::sortingMode(bool on) {
    m_host.setCaption(text(on ? "TRVTrid" : "TRVZpracStrav"));
    m_host.setTrideni(on);
}

SmReceiptStart::Outcome SmReceiptStart::startSorting() {
    if (auto failure = switchOn())
        return *failure;
    m_host.setTrideni(true);
    m_host.setReceiptWithoutFile();
    return {Kind::Started, {}, Prompts::Icon::None, false, {}};
}

SmReceiptStart::Outcome SmReceiptStart::startBarcode(const std::filesystem::path& folder, const SmReceiptInput& input) {
    const Status created =
        ReceiptStartSteps(m_state, m_prompts, m_host).emptyBarcode(folder, kBarcodeFileName, m_clock.now());
    if (!created.ok())
        return failed(created.error());
    if (!NactiNastaveniPortu(m_state))
        return failed(kErrKonfiguracePortu,
                      m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ChybaPortuSekce")));
    if (auto failure = switchOn())
        return *failure;
    m_host.setReceiptText(QString());
    m_host.setReceiptFile(folder, kBarcodeFileName);
    m_state.gSouborVytvorenNovy = true;
    m_state.gNemazatSoubor = false;
    // Barcode.txt names no SM and no operator: the receipt runs today, for whatever the operator enters later.
    m_state.gDatumPrijmu = dateYYMMDD(m_clock.today());
    m_state.gSM.clear();
    m_state.gOperator.clear();
    m_state.gPoradi.clear();
    m_state.gDatumOdvodu = input.dtDek;
    return {Kind::Started, {}, Prompts::Icon::None, false, {}};
}

SmReceiptStart::Outcome SmReceiptStart::startNewFile(const std::filesystem::path& folder, const SmReceiptInput& input) {
    const CustomerSwitches& sw = m_state.sw;
    if (!sw.gFZakaznik && !parseYYMMDD(input.soubor))
        return refused(text("DatumFormat"));
    if (input.sm.size() != m_state.gDelkaSM)
        return refused(text("CisSMMusiObsahovat") + QString::number(m_state.gDelkaSM) + text("CislicDleNast"));
    // Whole entries of the list: "23" is not in "123,456".
    if (sw.gFSeznamSM && !sw.gFZakaznik && !SmList::contains(m_state.gSeznamSM, input.sm))
        return refused(text("CisSMNeniPlatne"));
    if (input.operator_.isEmpty())
        return refused(text("MusZadatOper"));
    const Result<QString> name = fileName(input);
    if (!name.ok())
        return refused(name.message());
    // Names differing only in letter case are one file where the day files are shared with Windows machines.
    if (const auto existing = TextFiles::findCaseInsensitive(folder, name.value())) {
        Outcome outcome = refused(text("Soubor") + TextFiles::toQString(existing->filename()) + text("ZvysPoradi"));
        outcome.focusPoradi = true;
        return outcome;
    }

    if (!NactiNastaveniPortu(m_state))
        return failed(kErrKonfiguracePortu,
                      m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ChybaPortuSekce")));
    if (!isFolder(folder))
        return failed(kErrNeexistujiciCesta,
                      QStringLiteral("Neexistující cesta k datům: %1").arg(TextFiles::toQString(folder)));
    const std::filesystem::path file = folder / name.value().toStdU16String();
    if (const Status created = TextFiles::writeAll(file, QString()); !created.ok())
        return failed(created.error());
    if (auto failure = switchOn()) {
        // The empty file would only block the same name at the next attempt.
        (void)TextFiles::remove(file);
        return *failure;
    }
    m_host.setReceiptText(QString());
    m_host.setReceiptFile(folder, name.value());
    m_state.gSouborVytvorenNovy = true;
    m_state.gNemazatSoubor = false;
    m_state.gDatumPrijmu = input.soubor;
    m_state.gSM = input.sm;
    m_state.gOperator = input.operator_;
    m_state.gPoradi = input.poradi;
    m_state.gDatumOdvodu = input.dtDek;
    return {Kind::Started, {}, Prompts::Icon::None, false, {}};
}

SmReceiptStart::Outcome SmReceiptStart::startAppend(const std::filesystem::path& folder, const SmReceiptInput& input) {
    // The name is read back by its form before anything is switched on: the statement records carry its SM
    // and operator.
    // Read before the reader is switched on and memory emptied: a file that cannot be read changes nothing.
    const QString& chosen = input.chosenFile;
    ReceiptStartSteps steps(m_state, m_prompts, m_host);
    ReceiptStartSteps::Chosen file;
    if (const auto refusal = steps.choose(folder, chosen, file))
        return refusal->kind == ReceiptStartSteps::ChooseFailure::UnknownForm
                   ? refused(text("Soubor") + chosen + text("NeobsTvarNazvu"))
                   : failed(refusal->error);
    if (m_state.sw.gFDatumOdvodu && file.name.form != DayFileName::Form::HandOver)
        return refused(text("Soubor") + chosen + text("NeobsDatOdv"));
    if (!NactiNastaveniPortu(m_state))
        return failed(kErrKonfiguracePortu,
                      m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ChybaPortuSekce")));
    if (!m_state.gColStrav)
        return failed(0, QStringLiteral("Typy stravenek nejsou načteny."));
    if (auto failure = switchOn())
        return *failure;

    m_host.setReceiptFile(folder, chosen);
    // The receipt box is what the receipt's file becomes when the program closes: it keeps the file's codes.
    const auto booked =
        steps.bookStoredLines(file.lines, folder / TextFiles::toPath(chosen), ReceiptStartSteps::Start::Sm);
    m_host.setReceiptText(booked.box);
    m_state.gNemazatSoubor = true;
    m_state.gSouborVytvorenNovy = false;
    steps.rememberReceipt(file.name);
    m_state.gDatumOdvodu = input.dtDek;
    m_prompts.info(text("ByloPridano") + QString::number(booked.count) + text("Stravenek"));
    return {Kind::Started, {}, Prompts::Icon::None, false, {}};
}

Result<SmReceiptStart::PackageFileContents> SmReceiptStart::readPackageFile(const std::filesystem::path& file) const {
    const Result<QStringList> lines = TextFiles::readLines(file);
    if (!lines.ok())
        return lines.error();
    PackageFileContents contents;
    for (const QString& line : lines.value()) {
        if (line.startsWith(u'#')) {
            ++contents.packages;
            continue;
        }
        if (line.isEmpty())
            continue;
        const auto type = m_state.gColStrav ? m_state.gColStrav->NajdiDelkuKod(line) : nullptr;
        if (!type)
            return Error{0, QStringLiteral("Soubor balíčků %1: kód „%2“ nepatří žádnému typu stravenek.")
                                .arg(TextFiles::toQString(file), line)};
        CPolozka code;
        code.Kod = line;
        code.setTypS(type);
        const Result<Currency> value = code.DejHodnotu();
        if (!value.ok())
            return Error{0, QStringLiteral("Soubor balíčků %1: %2").arg(TextFiles::toQString(file), value.message())};
        // The value of all packages is shown and carried on: a sum stopped at the end of the range would be wrong.
        const std::optional<Currency> sum = contents.value.plus(value.value());
        if (!sum)
            return Error{0, Booking::souborMimoRozsahText(file)};
        contents.value = *sum;
    }
    return contents;
}

SmReceiptStart::Outcome SmReceiptStart::startNewPackageFile(const std::filesystem::path& folder,
                                                            const SmReceiptInput& input) {
    if (input.soubor.isEmpty() || badInName(input.soubor))
        return refused(QStringLiteral("Název souboru balíčků „%1“ nemůže být názvem souboru.").arg(input.soubor));
    const QString name = input.soubor + QStringLiteral(".bal");
    const std::filesystem::path file = folder / name.toStdU16String();
    if (!NactiNastaveniPortu(m_state))
        return failed(kErrKonfiguracePortu,
                      m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ChybaPortuSekce")));
    std::optional<PackageFileContents> existing;
    if (TextFiles::exists(file)) {
        const auto read = readPackageFile(file);
        if (!read.ok())
            return failed(read.error());
        existing = read.value();
    }
    if (auto failure = switchOn())
        return *failure;

    Currency sumaVse;
    if (existing) {
        m_prompts.info(text("SoubBalZalozen"));
        m_host.setReceiptText(QString());
        sumaVse = existing->value;
        // The packages already in the file keep their numbers: the next one follows the last.
        m_state.gCisloBaliku = existing->packages + 1;
    } else {
        m_state.gCisloBaliku = 1;
        if (const Status written = m_state.config.zapis(QStringLiteral("Balickovani"),
                                                        QStringLiteral("DalsiCisloBaliku"), QStringLiteral("1"));
            !written)
            m_prompts.error(written.message());
    }
    m_host.setReceiptFile(folder, name);
    m_host.setPackageSums(sumaVse, Currency());
    m_state.gSouborVytvorenNovy = false;
    return {Kind::Started, {}, Prompts::Icon::None, false, {}};
}

SmReceiptStart::Outcome SmReceiptStart::startAppendPackageFile(const std::filesystem::path& folder,
                                                               const SmReceiptInput& input) {
    const QString& chosen = input.chosenFile;
    if (chosen.isEmpty())
        return refused(QStringLiteral("Vyberte soubor balíčků."));
    if (!NactiNastaveniPortu(m_state))
        return failed(kErrKonfiguracePortu,
                      m_state.config.DejText(QStringLiteral("frmHlavni"), QStringLiteral("ChybaPortuSekce")));
    const auto read = readPackageFile(folder / chosen.toStdU16String());
    if (!read.ok())
        return failed(read.error());
    if (auto failure = switchOn())
        return *failure;
    m_host.setReceiptText(QString());
    m_state.gCisloBaliku = read.value().packages + 1;
    m_host.setReceiptFile(folder, chosen);
    m_host.setPackageSums(read.value().value, Currency());
    m_state.gSouborVytvorenNovy = false;
    m_prompts.message(QStringLiteral("Bylo načteno ") + QString::number(m_state.gCisloBaliku - 1) +
                      QStringLiteral(" balíčků v celkové hodnotě ") + formatCurrency(read.value().value));
    return {Kind::Started, {}, Prompts::Icon::None, false, {}};
}

} // namespace trv
