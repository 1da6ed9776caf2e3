#pragma once

#include "platform/Clock.h"
#include "platform/PrintLayout.h"
#include "platform/Printer.h"

#include <QPageLayout>
#include <QPrinterInfo>

#include <filesystem>
#include <functional>

namespace trv {

/// Puts ended print jobs on paper: through QPrinter on the system's default printer or, with no printer
/// installed, into a PDF file in the folder `tisk` beside the data folder (the outcome names the file so
/// that the operator can be told where it is).
///
/// The page model is drawn as it is, every character in its own cell at the model's position, the glyphs of
/// a fixed-pitch font fitted to the model's character width, so that columns line up whatever font the system
/// substitutes and however a line was split into runs. A line wider than the page is never
/// clipped or wrapped: the job goes landscape and, when that is still too narrow, is printed smaller
/// (PrintLayout). The requested copies are printed by the printer when it can, else page by page; a PDF
/// holds every copy.
class PrintRenderer final : public PrintSpooler {
public:
    using FolderSource = std::function<std::filesystem::path()>;

    /// `dataFolder` gives the data folder at the time of printing (it may change while the program runs).
    PrintRenderer(FolderSource dataFolder, const Clock& clock);

    Result<PrintOutcome> spool(const PrintDocument& document) override;

    /// Writes the job as a new PDF file in the `tisk` folder beside the data folder, creating the folder.
    Result<PrintOutcome> printToPdfFolder(const PrintDocument& document) const;

    /// The folder that takes PDF prints: `tisk` beside the data folder.
    static std::filesystem::path pdfFolder(const std::filesystem::path& dataFolder);
    /// Draws the job into a PDF file (A4), written whole or not at all.
    static Status renderToPdf(const PrintDocument& document, const std::filesystem::path& file);
    /// Draws the job on a printer.
    static Status renderToPrinter(const PrintDocument& document, const QPrinterInfo& printer);
    /// The fit of the job on paper of this layout (its orientation does not matter).
    static PageFit fitFor(const PrintDocument& document, const QPageLayout& layout);

private:
    FolderSource m_dataFolder;
    const Clock& m_clock;
};

} // namespace trv
