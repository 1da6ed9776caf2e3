#include "mainwindow/ReceiptControl.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/DocumentNumbering.h"
#include "core/ReaderControl.h"
#include "core/SettingsLoader.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/MainWindowView.h"
#include "mainwindow/PackageFile.h"
#include "mainwindow/ReceiptWindows.h"
#include "platform/Clock.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "receipt/ReceiptStartSteps.h"

#include <QCoreApplication>

namespace trv {

namespace {

constexpr int kErrPortSection = 60002;

const QString kOpenReceiptQuestion = QStringLiteral(
    "Příjem do souboru %1 nebyl ukončen a jeho kódy nejsou uloženy (čtečka byla odpojena nebo port nešlo znovu "
    "otevřít).\r\nUkončit ho nyní? (Ne: nový příjem se nezahájí a kódy zůstanou.)");

} // namespace

ReceiptControl::ReceiptControl(MainWindowLogic& logic) : m_logic(logic) {}

bool ReceiptControl::isStd() const {
    return m_logic.state().gMode == QLatin1String("STD");
}

bool ReceiptControl::isAut() const {
    return m_logic.state().gMode == QLatin1String("AUT");
}

void ReceiptControl::setManualEntry(bool on) {
    m_manualEntry = on;
    m_logic.view().setMenuEnabled(MainWindowView::MenuItem::mnuRucne, on);
}

void ReceiptControl::VymazBuf() {
    AppState& state = m_logic.state();
    if (state.gColStrav)
        Booking(state, *state.gColStrav, m_logic.prompts(), m_logic.readerStop()).VymazBuf();
}

void ReceiptControl::infoRezimSafeBag() {
    const QString value = m_logic.state().config.CtiKonfig(QStringLiteral("User"), QStringLiteral("InfoRezimSafeBag"),
                                                           QStringLiteral("1"));
    if (toInteger(value) == 1)
        m_logic.prompts().message(m_logic.text(QStringLiteral("InfoRezimSafeBag")), Prompts::Buttons::Ok,
                                  Prompts::Icon::Exclamation);
}

void ReceiptControl::NastavTlacitkaTypu() {
    AppState& state = m_logic.state();
    if (!state.gColStrav)
        return;
    m_buttons = trv::NastavTlacitkaTypu(*state.gColStrav, m_logic.readerState(), state.gSafeBag, state.gDennySafeBag);
    m_logic.view().showTypeButtons(m_buttons);
}

void ReceiptControl::optT_Click(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_buttons.size())
        return;
    m_logic.view().checkTypeButton(index);
    const Status sent =
        m_logic.commands().optT_Click(index, m_buttons[static_cast<size_t>(index)].toolTip, m_logic.gTrideni());
    if (!sent)
        m_logic.prompts().error(sent.message());
}

void ReceiptControl::PrijemDat() {
    AppState& state = m_logic.state();
    MainWindowView& view = m_logic.view();
    using Item = MainWindowView::MenuItem;

    if (state.sw.gF44) {
        m_logic.windows().frmSafeBag();
        if (state.gSafeBag) {
            view.setMenuVisible(Item::mnuVyc, false);
        } else {
            view.setMenuVisible(Item::mnuVyc, true);
            view.setMenuVisible(Item::mnuSoucVycObd, state.gDennySafeBag);
            view.setMenuEnabled(Item::mnuSoucVycDen, true);
        }
        NastavTlacitkaTypu();
    } else if (state.gDebug) {
        m_logic.inputLog().start();
    }

    if (m_logic.receipt().receiving()) {
        m_logic.prompts().info(m_logic.text(QStringLiteral("ProgramVPrijmu")));
    } else {
        if (!endOpenReceiptFirst())
            return;
        VymazBuf();
        if (state.gSafeBag) {
            // The panel turns to "receiving" only once the port is really open.
            if (const auto failure = switchOn()) {
                m_logic.receipt().setReceiving(false);
                m_logic.prompts().error(failure->description());
                return;
            }
            // Its codes go to a file of its own until the closing window writes its list.
            m_running = true;
            m_logic.journal().beginSafeBag(m_logic.clock().now());
            setManualEntry(true);
            infoRezimSafeBag();
        } else {
            if (state.gDennySafeBag)
                infoRezimSafeBag();
            m_logic.windows().frmPrijem(state.sw.gFVycetky);
        }
        NastavTlacitkaTypu();
        optT_Click(0);
    }

    if (state.gAutoPoc) {
        m_logic.counters().VynulujPocitadla();
        view.showCounterWindow();
    }
}

void ReceiptControl::prijem_Click() {
    if (m_logic.receipt().receiving()) {
        m_logic.prompts().info(m_logic.text(QStringLiteral("ProgramVPrijmu")));
        return;
    }
    if (!endOpenReceiptFirst())
        return;
    VymazBuf();
    m_logic.windows().frmPrijem(m_logic.state().sw.gFVycetky);
    NastavTlacitkaTypu();
    optT_Click(0);
}

bool ReceiptControl::holdsCodes() const {
    const AppState& state = m_logic.state();
    return state.gColStrav && !state.gColStrav->kodyVsechTypu().isEmpty();
}

bool ReceiptControl::endOpenReceiptFirst() {
    if (!m_running)
        return true;
    if (!holdsCodes()) {
        receiptEnded();
        return true;
    }
    // The reader of this receipt was lost (or its port did not reopen): its codes are still only in memory
    // and in its file, so a new start would throw them away.
    if (!m_logic.prompts().askYesNo(kOpenReceiptQuestion.arg(m_logic.lblSoubor())))
        return false;
    UkoncPrijmu();
    return !m_running;
}

void ReceiptControl::receiptStarted(const std::filesystem::path& file) {
    m_running = true;
    if (file.empty())
        m_logic.journal().end();
    else
        m_logic.journal().begin(file);
    setManualEntry(true);
}

void ReceiptControl::receiptEnded() {
    m_running = false;
    m_logic.journal().end();
    setManualEntry(false);
    // The display box and the panel show a receipt whose reader was lost as running: now it has ended.
    m_logic.receipt().setReaderLost(false);
}

ReceiptControl::Before ReceiptControl::remember() const {
    Before before;
    before.counterShown = m_logic.view().counterWindowShown();
    before.chosenType = m_logic.readerState().ZvolenyTyp;
    before.counts = m_logic.counters().counts();
    return before;
}

void ReceiptControl::carryOn(const Before& before) {
    setManualEntry(m_running);
    // The chosen type's command goes to the reader again once its port is open; choosing it resets the
    // counts, which go back to what they were.
    if (m_running)
        resumeReceiving();
    optT_Click(before.chosenType);
    m_logic.counters().restore(before.counts);
    if (before.counterShown)
        m_logic.view().showCounterWindow();
    if (m_logic.state().gColStrav)
        m_logic.journal().obnov(*m_logic.state().gColStrav);
}

void ReceiptControl::KontrVyc() {
    const std::optional<int> result = m_logic.windows().frmKontrVyc();
    if (!result)
        return;
    // The check statement may have deleted codes: the box and the receipt's file show what is left in memory.
    if (m_logic.state().gColStrav) {
        m_logic.rtbStrav().ObnovZobrazeni(*m_logic.state().gColStrav);
        m_logic.journal().obnov(*m_logic.state().gColStrav);
    }
    if (*result == 1) {
        QCoreApplication::processEvents();
        UkoncPrijmu();
    }
}

ReceiptControl::Outcome ReceiptControl::UkoncPrijmu() {
    AppState& state = m_logic.state();
    MainWindowView& view = m_logic.view();

    // Decided first: a package dialog closed without an answer leaves the receipt exactly as it was.
    std::optional<int> answer;
    if (isStd() && m_running) {
        answer = askPackage();
        if (answer == 0)
            return Outcome::StillRunning;
    }

    const Before before = remember();
    view.hideCounterWindow();
    optT_Click(0);
    setManualEntry(false);
    // Input.log is closed once the end has happened: an end that does not happen leaves it open.

    if (isStd()) {
        view.setBusy(true);
        if (!m_running) {
            m_logic.portSetup().NastavPrijem(false);
            view.setBusy(false);
            if (state.gDebug)
                m_logic.inputLog().end();
            m_logic.prompts().info(m_logic.text(QStringLiteral("NeprobihaPrjem")));
            return Outcome::Ended;
        }
        const Outcome outcome = handOver(answer);
        view.setBusy(false);
        if (outcome == Outcome::StillRunning) {
            carryOn(before);
            return outcome;
        }
        if (state.gDebug)
            m_logic.inputLog().end();
        if (state.gAutoPrijem) {
            view.showWindow();
            PrijemDat();
        }
        return outcome;
    }
    if (state.gDebug)
        m_logic.inputLog().end();
    if (isAut())
        view.closeWindow();
    return Outcome::Ended;
}

ReceiptControl::Outcome ReceiptControl::konecpr_Click() {
    if (isStd() && m_running) {
        const std::optional<int> answer = askPackage();
        if (answer == 0)
            return Outcome::StillRunning;
        setManualEntry(false);
        const Outcome outcome = handOver(answer);
        if (outcome == Outcome::StillRunning) {
            setManualEntry(true);
            resumeReceiving();
            optT_Click(m_logic.readerState().ZvolenyTyp);
        }
        return outcome;
    }
    if (isStd()) {
        m_logic.prompts().info(QStringLiteral("Program už je v režimu, kdy neprobíhá příjem."));
        return Outcome::Ended;
    }
    setManualEntry(false);
    if (isAut())
        m_logic.view().closeWindow();
    return Outcome::Ended;
}

void ReceiptControl::Rucne() {
    if (m_manualEntry)
        m_logic.windows().frmRucne();
}

Status ReceiptControl::startReceiving(const std::filesystem::path& folder, const QString& fileName, bool packageFile) {
    AppState& state = m_logic.state();
    if (!NactiNastaveniPortu(state))
        return Error{kErrPortSection, m_logic.text(QStringLiteral("ChybaPortuSekce"))};
    m_logic.setDatovySoubor(fileName);
    if (const auto failure = switchOn())
        return Error{failure->error.number, failure->description()};

    const std::filesystem::path file = folder / TextFiles::toPath(fileName);
    QString text;
    if (TextFiles::exists(file)) {
        Result<DecodedText> read = TextFiles::readAll(file);
        if (!read)
            return read.error();
        text = read.value().text;
    }
    m_logic.rtbStrav().setText(text);
    showReceiptFile(file, packageFile);
    receiptStarted(file);
    return Status::success();
}

std::optional<ReceiptStartSteps::PortError> ReceiptControl::switchOn() {
    return ReceiptStartSteps::switchOn(m_logic.receiptPort(), m_logic.prompts(),
                                       m_logic.text(QStringLiteral("PokusNeexPort")));
}

void ReceiptControl::showReceiptFile(const std::filesystem::path& file, bool packageFile) {
    if (!packageFile) {
        m_logic.setLblSoubor(TextFiles::toQString(file));
        return;
    }
    // In package mode the label names the package file, whose package starts empty.
    std::filesystem::path bal = file;
    bal.replace_extension(".bal");
    m_logic.setLblSoubor(TextFiles::toQString(bal));
    m_logic.package().gSumaBalik = Currency();
    m_logic.package().notifyChanged();
}

bool ReceiptControl::packageOpen() const {
    return m_logic.state().sw.gFBalicky && m_logic.package().gSumaBalik != Currency();
}

std::optional<int> ReceiptControl::askPackage() {
    if (!packageOpen())
        return std::nullopt;
    const bool wasReceiving = m_logic.receipt().receiving();
    if (wasReceiving)
        m_logic.portSetup().NastavPrijem(false);
    const int answer = m_logic.view().dlgNextPackage(kPackageDialogCaption, kPackageDialogOk);
    // Its print button shows the check statement, which may have deleted codes.
    if (m_logic.state().gColStrav)
        m_logic.journal().obnov(*m_logic.state().gColStrav);
    if (answer >= 1 && answer <= 3)
        return answer;
    if (wasReceiving)
        resumeReceiving();
    return 0;
}

void ReceiptControl::resumeReceiving() {
    // Without its reader until the port is open again, so that any message about a port that does not reopen
    // finds the status bar saying so already. The receipt then goes on without its reader: the operator ends
    // and saves it, or starts it again.
    m_logic.receipt().setReaderLost(true);
    const auto failure =
        ReceiptStartSteps::reopen(m_logic.receiptPort(), m_logic.text(QStringLiteral("PokusNeexPort")));
    if (failure)
        m_logic.prompts().error(failure->description());
}

ReceiptControl::Outcome ReceiptControl::handOver(std::optional<int> packageAnswer) {
    AppState& state = m_logic.state();
    m_logic.portSetup().NastavPrijem(false);
    // A document number that is not remembered would be given to the next receipt as well. A receipt without
    // a file of its own (safe bag) has no number.
    if (!m_logic.gDatovySoubor().isEmpty())
        if (const Status remembered = UlozPosledniSoubor(state, m_logic.gDatovySoubor()); !remembered)
            m_logic.prompts().error(remembered.message());
    m_logic.view().setBusy(false);

    if (state.sw.gFBalicky) {
        if (packageAnswer == 2) {
            dropPackage();
        } else if (packageAnswer) {
            if (const Status saved = savePackage(); !saved) {
                // The package stays in memory and the receipt goes on: the operator can end it again.
                m_logic.prompts().error(saved.message());
                return Outcome::StillRunning;
            }
        }
        receiptEnded();
        return Outcome::Ended;
    }
    // Left without saving, the receipt goes on with its codes.
    if (m_logic.windows().frmUkonceniPr(m_logic.lblSoubor(), !m_logic.gTrideni()) == false)
        return Outcome::StillRunning;
    receiptEnded();
    return Outcome::Ended;
}

Status ReceiptControl::savePackage() {
    AppState& state = m_logic.state();
    PackageState& package = m_logic.package();
    if (!state.gColStrav)
        return Status::fail(QStringLiteral("Balíček nelze uložit: typy stravenek nejsou načteny."));
    if (const Status saved =
            UlozBalik(TextFiles::toPath(m_logic.lblSoubor()), state.gCisloBaliku, *state.gColStrav, package);
        !saved)
        return saved;
    VymazBuf();
    m_logic.journal().obnov(*state.gColStrav);
    // Codes still waiting in the buffer belong to no package: named, never dropped unseen.
    m_logic.processor().reportUnbooked(m_logic.processor().emptyBuffer());
    ++state.gCisloBaliku;
    zapisDalsiCisloBaliku(state, m_logic.prompts());
    package.gSumaBalik = Currency();
    package.notifyChanged();
    return Status::success();
}

void ReceiptControl::dropPackage() {
    PackageState& package = m_logic.package();
    VymazBuf();
    package.dropCurrent();
    if (m_logic.state().gColStrav)
        m_logic.journal().obnov(*m_logic.state().gColStrav);
    package.notifyChanged();
}

} // namespace trv
