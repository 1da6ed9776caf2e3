#pragma once

#include "platform/PrintDocument.h"
#include "platform/Result.h"

#include <QString>

#include <filesystem>
#include <vector>

namespace trv {

/// Where an ended print job went.
struct PrintOutcome {
    /// False when the job had no output at all, so nothing was sent anywhere.
    bool sent = false;
    /// The PDF file the job was written to when no printer is installed; empty when it went to a printer.
    std::filesystem::path pdfFile;
};

/// Takes ended print jobs to a printer or a file. The window side implements it with QPrinter.
class PrintSpooler {
public:
    virtual ~PrintSpooler() = default;
    virtual Result<PrintOutcome> spool(const PrintDocument& document) = 0;
};

/// The program's printer object: a text device with a current position in twips and a current font.
///
/// Text goes to the current position. `print` ends the line after its text (the next line starts at the
/// left edge, one line lower); `printContinued` leaves the position after the text. A line advances by the
/// height of the tallest font used on it, so that a large title never runs into the line below. When a
/// text no longer fits below the last line, the printer starts a new page by itself and the text goes to
/// the top of it. Text wider than the page is kept whole: the renderer makes room for it.
///
/// A document begins with the first output and ends with `endDoc`, which hands it to the spooler. Each
/// document starts from the default state: position (0, 0), Courier New 10 pt without emphasis, one copy,
/// portrait A4. Without a spooler, ended documents are kept for tests to read (`printed`).
class Printer {
public:
    /// Printable area of an A4 sheet with quarter-inch margins, in twips.
    static constexpr int kA4Width = 11186;
    static constexpr int kA4Height = 16118;

    explicit Printer(PrintSpooler* spooler = nullptr);

    void setSpooler(PrintSpooler* spooler) { m_spooler = spooler; }

    // Job settings of the current document.
    void setTitle(const QString& title) { m_document.title = title; }
    int copies() const { return m_document.copies; }
    /// At least one copy is always printed.
    void setCopies(int copies);
    PageOrientation orientation() const { return m_document.orientation; }
    void setOrientation(PageOrientation orientation);
    /// The printable area of a portrait page in twips; landscape swaps the two.
    void setPageSize(int widthTwips, int heightTwips);
    /// The printable area of a page in the current orientation, in twips.
    int scaleWidth() const { return m_document.pageWidth; }
    int scaleHeight() const { return m_document.pageHeight; }

    // Font.
    const PrintFont& font() const { return m_font; }
    void setFont(const PrintFont& font) { m_font = font; }
    void setFontName(const QString& name) { m_font.name = name; }
    /// Sizes at or below 0 are ignored.
    void setFontSize(double points);
    void setBold(bool on) { m_font.bold = on; }
    void setItalic(bool on) { m_font.italic = on; }
    void setUnderline(bool on) { m_font.underline = on; }
    /// Measurements in twips in the current font (PrintMetrics).
    int textWidth(const QString& text) const { return PrintMetrics::textWidth(text, m_font); }
    int textHeight() const { return PrintMetrics::lineHeight(m_font); }

    // Position in twips from the top left corner of the printable area of the current page.
    int currentX() const { return m_x; }
    int currentY() const { return m_y; }
    void setCurrentX(int x) { m_x = x; }
    void setCurrentY(int y);
    /// The page being printed, from 1.
    int pageNumber() const { return int(m_document.pages.size()); }

    // Output.
    /// Prints the text and ends the line; with no text, an empty line. A line break inside the text
    /// (CR LF, LF or CR) ends the line there.
    void print(const QString& text = {});
    /// Prints the text and stays on the line after it.
    void printContinued(const QString& text);
    /// Moves to character column `column` (from 1) of the current line, in the width of the current font;
    /// when the position is already past that column, to that column of the next line.
    void tab(int column);
    /// Draws a line; the current position moves to its end.
    void drawLine(int x1, int y1, int x2, int y2, quint32 color = 0);
    /// Draws a picture file scaled into a rectangle; the position does not move. Fails, drawing nothing,
    /// when the file cannot be read.
    Status drawPicture(const std::filesystem::path& file, int x, int y, int width, int height);
    /// Ends the page; the next output goes to the top left corner of a new one.
    void newPage();

    /// Ends the document and hands it to the spooler. A document without any output sends nothing.
    Result<PrintOutcome> endDoc();
    /// Drops the current document.
    void killDoc();

    /// True when the current document has any output.
    bool hasOutput() const { return m_hasOutput; }
    /// The document being built.
    const PrintDocument& document() const { return m_document; }
    /// Documents ended while no spooler was set, oldest first.
    const std::vector<PrintDocument>& printed() const { return m_printed; }
    void clearPrinted() { m_printed.clear(); }

private:
    void reset();
    void write(const QString& text);
    void place(const QString& text);
    void endLine();
    void startOutput() { m_hasOutput = true; }
    PrintPage& page() { return m_document.pages.back(); }

    PrintSpooler* m_spooler = nullptr;
    PrintDocument m_document;
    std::vector<PrintDocument> m_printed;
    PrintFont m_font;
    int m_portraitWidth = kA4Width;
    int m_portraitHeight = kA4Height;
    int m_x = 0;
    int m_y = 0;
    int m_lineHeight = 0; // tallest font on the current line so far
    bool m_hasOutput = false;
};

} // namespace trv
