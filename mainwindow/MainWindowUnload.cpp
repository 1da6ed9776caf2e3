#include "mainwindow/MainWindowUnload.h"

#include "core/AppState.h"
#include "core/DocumentNumbering.h"
#include "core/ErrorText.h"
#include "core/WorkingIndicator.h"
#include "mainwindow/CodeShapes.h"
#include "mainwindow/MainWindowLogic.h"
#include "mainwindow/MainWindowView.h"
#include "mainwindow/ReceiptControl.h"
#include "mainwindow/ReceiptWindows.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "platform/TextFiles.h"

#include <cmath>

namespace trv {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The document number is remembered only for receipt files whose name, up to the first ".", is a number.
bool numericName(const QString& fileName) {
    const QString base = fileName.section(QLatin1Char('.'), 0, 0);
    return !base.isEmpty() && toNumber(base).has_value();
}

} // namespace

MainWindowUnload::Result MainWindowUnload::Form_Unload() {
    AppState& state = m_logic.state();
    ReceiptControl& control = m_logic.control();
    const bool stdMode = state.gMode == QLatin1String("STD");
    const bool autMode = state.gMode == QLatin1String("AUT");
    // The receipt's own state, also for a receipt whose reader was lost: the steps below open and close the port
    // for the reader's default type.
    const bool receiptRan = control.receiptRuns();
    const ReceiptControl::Before before = control.remember();

    std::optional<int> packageAnswer;
    if (stdMode && !m_logic.rtbStrav().text().isEmpty()) {
        packageAnswer = control.askPackage();
        if (packageAnswer == 0)
            return Result::Cancelled;
    }

    sendDefaultType();

    if (autMode) {
        m_logic.portSetup().NastavPrijem(false);
        m_logic.view().hideDisplayBox();
        m_logic.working().show(kWorkingText);
        if (state.gAutoDorovn == QLatin1String("True")) {
            const CodeShapes shapes = codeShapes(state);
            // Repeated until a pass changes nothing; a pass that changes nothing leaves the text as it is.
            while (m_logic.rtbStrav().OpravRadky(shapes)) {
            }
        }
        if (state.gAutoDupl == QLatin1String("True"))
            vyhodNoReadADupl();
        m_logic.working().hide();

        if (!m_logic.gDatovySoubor().isEmpty()) {
            const std::filesystem::path file = state.gDatovyAdresar / TextFiles::toPath(m_logic.gDatovySoubor());
            if (const Status saved = TextFiles::writeAll(file, m_logic.rtbStrav().text()); !saved)
                reportSaveError(saved.message(), saved.error().number);
        }
        // Barcode.txt is this mode's whole result: the receipt is complete.
        m_logic.journal().end();
        return Result::Closed;
    }

    if (stdMode) {
        if (receiptRan && numericName(m_logic.gDatovySoubor())) {
            if (const Status remembered = UlozPosledniSoubor(state, m_logic.gDatovySoubor()); !remembered)
                reportSaveError(remembered.message(), remembered.error().number);
        }
        m_logic.portSetup().NastavPrijem(false);
        if (!m_logic.rtbStrav().text().isEmpty()) {
            if (state.sw.gFBalicky) {
                if (packageAnswer == 2) {
                    control.dropPackage();
                } else if (packageAnswer) {
                    if (const Status saved = control.savePackage(); !saved) {
                        // The codes are still in memory: better a window that stays than a package lost.
                        reportSaveError(saved.message(), saved.error().number);
                        control.carryOn(before);
                        return Result::Cancelled;
                    }
                }
            } else if (m_logic.windows().frmUkonceniPr(m_logic.lblSoubor(), !m_logic.gTrideni()) == false) {
                // Left without saving: "don't quit", and the receipt goes on with its codes.
                control.carryOn(before);
                return Result::Cancelled;
            }
        }
    }
    // Saved, discarded or handed to the package file: nothing is left unfinished.
    m_logic.journal().end();
    return Result::Closed;
}

void MainWindowUnload::sendDefaultType() {
    AppState& state = m_logic.state();
    int n = 1;
    if (const std::optional<QString> text =
            state.config.ctiSentinel(QStringLiteral("User"), QStringLiteral("DefaultType")))
        n = static_cast<int>(std::lround(val(*text)));
    if (!m_logic.port().isOpen())
        m_logic.portSetup().NastavPrijem(true);
    m_logic.control().optT_Click(n - 1);
    m_logic.portSetup().NastavPrijem(false);
}

void MainWindowUnload::vyhodNoReadADupl() {
    const QString noRead = m_logic.state().gNoRead;
    DisplayBox& box = m_logic.rtbStrav();
    if (!noRead.isEmpty()) {
        // Whole lines only: a NOREAD text that is also the end of a code must not cut the code.
        QStringList lines = box.text().split(kCrLf);
        const QString last = lines.takeLast(); // after the last CR LF: not a complete line
        lines.removeAll(noRead);
        QString text = lines.join(kCrLf);
        if (!lines.isEmpty())
            text += kCrLf;
        box.setText(text + last);
    }
    box.VyhodDuplRadky();
}

void MainWindowUnload::reportSaveError(const QString& description, int number) {
    m_logic.prompts().error(
        m_logic.text(QStringLiteral("ChybaUlozSoub")) + kCrLf +
        errorNumberAndDescription(Error{number, description}, QStringLiteral("Num"), QStringLiteral("Descr.")));
}

} // namespace trv
