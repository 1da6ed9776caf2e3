#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>

namespace trv {

struct AppState;
class Booking;
class CPolozka;
struct ReaderState;
class CodeBuffer;
class PackageState;
class Prompts;
class ReadCounters;
class ReaderControl;
class ReceiptJournal;

// The code processor ZpracujKod: takes the complete lines out of the code buffer one at a time, runs the
// code checks, tests the voucher type chosen on the main window, books the code into the current receipt
// and counts it or, in package mode (customer switch 25), keeps the package values and opens the package
// dialog when a package is full. A rejected code stops the reader and is reported in a message box or, with
// customer switch 43, in the error-log window.
//
// Message boxes and the package dialog let serial events run while a code is processed. The processor
// never runs inside itself: text that arrives meanwhile is added to the buffer and processed as soon as
// the running pass returns. An error while one line is processed is reported and the lines after it are
// processed all the same.
class CodeProcessor final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CodeProcessor)

public:
    // The parts of the main window the processor uses.
    struct Window {
        // The package dialog dlgNextPackage, shown modally: 1 "Další balík", 2 "Storno balíku",
        // 3 "Konec balíčkování", 0 when closed otherwise.
        std::function<int()> dlgNextPackage;
        // The end of the receipt (the menu item konecpr).
        std::function<void()> konecpr;
        // The full path of the receipt's package file (the caption of lblSoubor).
        std::function<std::filesystem::path()> lblSoubor;
        // The receipt's file on disk: booked codes are appended to it, codes leaving memory are taken out.
        ReceiptJournal* journal = nullptr;
    };

    CodeProcessor(AppState& state, ReaderState& reader, CodeBuffer& buffer, ReaderControl& readerControl,
                  Prompts& prompts, ReadCounters& counters, PackageState& package, Window window,
                  QObject* parent = nullptr);
    ~CodeProcessor() override;

    // ZpracujKod: processes every complete line now in the buffer; an incomplete last line stays for the
    // next call. Called again while it runs, it only makes sure the new text is processed before it returns.
    void ZpracujKod();
    bool running() const { return m_running; }

    // KodPrecten: set each time a complete line is found; the receive loop clears it when DSR rises.
    bool KodPrecten() const { return m_kodPrecten; }
    void setKodPrecten(bool value) { m_kodPrecten = value; }

    // Empties the code buffer and gives the complete code lines that were waiting in it.
    QStringList emptyBuffer();
    // Codes that were waiting in the buffer when a package boundary emptied it: the reader stops and the
    // operator is told to read them again.
    void reportUnbooked(const QStringList& codes);

Q_SIGNALS:
    // Package/week mode: the per-type sums of the package collection for the second status bar.
    void packageWeekSums(const QString& text);

private:
    enum class Next { Pass, EndRun };

    void runPasses();
    Next processLine(const QString& line);
    Next bookInPackage(const QString& line);
    Next closePackage(int result);
    void reject(const QString& line, const QString& key);
    void reportError(const QString& line, const QString& message);
    void refuseOutOfRange(const QString& line);
    QString text(const QString& key) const;
    std::shared_ptr<CPolozka> book(Booking& booking, const QString& line);
    void codesLeftMemory();

    AppState& m_state;
    ReaderState& m_reader;
    CodeBuffer& m_buffer;
    ReaderControl& m_readerControl;
    Prompts& m_prompts;
    ReadCounters& m_counters;
    PackageState& m_package;
    Window m_window;
    bool m_running = false;
    bool m_again = false;
    bool m_kodPrecten = false;
};

} // namespace trv
