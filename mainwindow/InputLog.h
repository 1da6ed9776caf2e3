#pragma once

#include <QString>

#include <filesystem>

namespace trv {

class Clock;

// Input.log in the program folder: with [Data] Debug on, the start and the end of receipts started and
// ended from the vertical menu, "Start prijmu " / "Konec prijmu " and the date and time ("10.12.2026 9:05:03"),
// one line each, Windows-1250 with CR LF. A log that cannot be written is skipped: it never stops a receipt.
class InputLog {
public:
    static inline const QString kFileName = QStringLiteral("Input.log");

    InputLog(std::filesystem::path programFolder, const Clock& clock);

    // The start line; the log stays open for the end line.
    void start();
    // The end line, when a start was logged since the last end; then the log is closed.
    void end();
    bool isOpen() const { return m_open; }

    std::filesystem::path file() const { return m_folder / kFileName.toStdU16String(); }

private:
    bool write(const QString& prefix);

    std::filesystem::path m_folder;
    const Clock& m_clock;
    bool m_open = false;
};

} // namespace trv
