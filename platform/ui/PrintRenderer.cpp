#include "platform/ui/PrintRenderer.h"

#include "platform/SystemErrors.h"
#include "platform/TextFiles.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <map>
#include <system_error>

namespace trv {

namespace {

constexpr double kMarginMillimetres = 6.35; // a quarter inch, as the model's default page assumes
constexpr int kRuleWidthTwips = 10;

QString pathText(const std::filesystem::path& p) {
    return QDir::toNativeSeparators(QString::fromStdU16String(p.u16string()));
}

// Printable width and height of the layout in portrait, in twips.
QSize portraitTwips(QPageLayout layout) {
    layout.setOrientation(QPageLayout::Portrait);
    const QRectF points = layout.paintRect(QPageLayout::Point);
    return QSize(qRound(points.width() * PrintMetrics::kTwipsPerPoint),
                 qRound(points.height() * PrintMetrics::kTwipsPerPoint));
}

QPageLayout::Orientation toQt(PageOrientation orientation) {
    return orientation == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// The reports are laid out for a fixed-pitch font; a proportional family (or one missing here) would
// break the columns, so it gives way to the system's fixed-pitch font.
class FontResolver {
public:
    QString family(const QString& requested) {
        auto found = m_families.find(requested);
        if (found != m_families.end()) {
            return found->second;
        }
        QFont font(requested);
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        QString family = QFontInfo(font).family();
        if (!QFontInfo(font).fixedPitch()) {
            family = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
        }
        m_families.emplace(requested, family);
        return family;
    }

private:
    std::map<QString, QString> m_families;
};

class PageDrawer {
public:
    /// `scale` is the factor by which the page model was printed smaller (PrintLayout).
    PageDrawer(QPainter& painter, QPaintDevice& device, double scale)
        : m_painter(painter), m_device(device), m_scale(scale),
          m_kx(device.logicalDpiX() / double(PrintMetrics::kTwipsPerInch)),
          m_ky(device.logicalDpiY() / double(PrintMetrics::kTwipsPerInch)) {}

    void draw(const PrintPage& page, const std::map<std::filesystem::path, QImage>& images) {
        for (const PrintPicture& picture : page.pictures) {
            m_painter.drawImage(QRectF(picture.x * m_kx, picture.y * m_ky, picture.width * m_kx, picture.height * m_ky),
                                images.at(picture.file));
        }
        for (const PrintRule& rule : page.rules) {
            QPen pen(QColor::fromRgb(QRgb(0xff000000u | rule.color)));
            pen.setWidthF(kRuleWidthTwips * m_kx);
            m_painter.setPen(pen);
            m_painter.drawLine(QPointF(rule.x1 * m_kx, rule.y1 * m_ky), QPointF(rule.x2 * m_kx, rule.y2 * m_ky));
        }
        m_painter.setPen(Qt::black);
        for (const PrintRun& run : page.runs) {
            drawRun(run);
        }
    }

private:
    // Every character is drawn in its own cell at the model's position, its glyph stretched or narrowed to
    // the cell's width. Drawing a run as one string would let the real font's advances (as the device rounds
    // them) decide where the characters land, so that a line printed as one run would drift from the same
    // line printed in pieces; per cell, columns land where the model put them however the line was split.
    void drawRun(const PrintRun& run) {
        QFont font(m_fonts.family(run.font.name));
        font.setPointSizeF(run.font.size);
        font.setBold(run.font.bold);
        font.setItalic(run.font.italic);
        font.setKerning(false);
        const QFontMetricsF metrics(font, &m_device);
        const double cell = cellWidth(run.font) * m_kx;
        const double lineHeight = PrintMetrics::lineHeight(run.font) * m_ky;
        const double left = run.x * m_kx;
        const double baseline = run.y * m_ky + (lineHeight - metrics.height()) / 2 + metrics.ascent();
        m_painter.setFont(font);

        const QTransform page = m_painter.worldTransform();
        for (qsizetype i = 0; i < run.text.size(); ++i) {
            const qsizetype first = i;
            QString glyph(run.text.at(i));
            if (run.text.at(i).isHighSurrogate() && i + 1 < run.text.size() && run.text.at(i + 1).isLowSurrogate()) {
                glyph.append(run.text.at(++i)); // one character, drawn in the first of its two cells
            }
            if (glyph.at(0).isSpace()) {
                continue;
            }
            const double advance = metrics.horizontalAdvance(glyph);
            QTransform cellTransform = page;
            cellTransform.translate(left + first * cell, baseline);
            if (advance > 0) {
                cellTransform.scale(cell / advance, 1.0);
            }
            m_painter.setWorldTransform(cellTransform);
            m_painter.drawText(QPointF(0, 0), glyph);
        }
        m_painter.setWorldTransform(page);

        if (run.font.underline) {
            // Underlined across the run's whole model width, blanks included, in one stroke.
            const double y = baseline + metrics.underlinePos();
            QPen pen(Qt::black);
            pen.setWidthF(std::max(metrics.lineWidth(), 1.0));
            pen.setCapStyle(Qt::FlatCap);
            m_painter.setPen(pen);
            m_painter.drawLine(QPointF(left, y), QPointF(left + run.text.size() * cell, y));
            m_painter.setPen(Qt::black);
        }
    }

    // The width of a character cell in twips. A job printed smaller keeps the columns of the unscaled model,
    // whose cells are whole twips: the scaled cell is that width scaled, not the width of the scaled font
    // rounded anew, which would drift from the scaled positions by up to half a twip per column.
    double cellWidth(const PrintFont& font) const {
        if (m_scale == 1.0) {
            return PrintMetrics::charWidth(font);
        }
        PrintFont unscaled = font;
        unscaled.size = font.size / m_scale;
        return PrintMetrics::charWidth(unscaled) * m_scale;
    }

    QPainter& m_painter;
    QPaintDevice& m_device;
    double m_scale;
    double m_kx;
    double m_ky;
    FontResolver m_fonts;
};

Result<std::map<std::filesystem::path, QImage>> loadPictures(const PrintDocument& document) {
    std::map<std::filesystem::path, QImage> images;
    for (const PrintPage& page : document.pages) {
        for (const PrintPicture& picture : page.pictures) {
            if (images.count(picture.file)) {
                continue;
            }
            QImage image(QString::fromStdU16String(picture.file.u16string()));
            if (image.isNull()) {
                return Error{0, QStringLiteral("Obrázek %1 pro tisk nelze načíst.").arg(pathText(picture.file))};
            }
            images.emplace(picture.file, std::move(image));
        }
    }
    return images;
}

// Draws the job on the device; `copies` times over unless the device makes the copies itself.
Status draw(QPagedPaintDevice& device, const PrintDocument& document, int copies, const QString& job) {
    auto images = loadPictures(document);
    if (!images) {
        return Status(images.error());
    }
    QPageLayout layout = device.pageLayout();
    const PageFit fit = PrintRenderer::fitFor(document, layout);
    layout.setOrientation(toQt(fit.orientation));
    if (!device.setPageLayout(layout)) {
        return Status::fail(QStringLiteral("%1 se nezdařil: nelze nastavit stránku.").arg(job));
    }
    const QRectF paintPoints = device.pageLayout().paintRect(QPageLayout::Point);
    const PrintDocument laidOut =
        PrintLayout::fit(document, fit, qRound(paintPoints.width() * PrintMetrics::kTwipsPerPoint),
                         qRound(paintPoints.height() * PrintMetrics::kTwipsPerPoint));

    QPainter painter;
    if (!painter.begin(&device)) {
        return Status::fail(QStringLiteral("%1 se nezdařil: zařízení nelze otevřít.").arg(job));
    }
    painter.setRenderHint(QPainter::TextAntialiasing);
    PageDrawer drawer(painter, device, fit.scale);
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (const PrintPage& page : laidOut.pages) {
            if (!first && !device.newPage()) {
                painter.end();
                return Status::fail(QStringLiteral("%1 se nezdařil: nelze začít další stránku.").arg(job));
            }
            first = false;
            drawer.draw(page, images.value());
        }
    }
    if (!painter.end()) {
        return Status::fail(QStringLiteral("%1 se nezdařil.").arg(job));
    }
    return {};
}

// Hands what the PDF engine writes on to the file writer, in pieces of a useful size (the engine writes a few bytes
// at a time). Once a piece could not be written, every later write fails too.
class SinkDevice final : public QIODevice {
public:
    explicit SinkDevice(const TextFiles::ByteSink& put) : m_put(put) { m_pending.reserve(kPiece); }

    /// Writes what is pending; false when some piece could not be written.
    bool finish() {
        flush();
        return !m_failed;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (m_failed) {
            return -1;
        }
        m_pending.append(data, size);
        if (m_pending.size() >= kPiece) {
            flush();
        }
        return m_failed ? -1 : size;
    }

private:
    static constexpr qsizetype kPiece = 1 << 16;

    void flush() {
        if (!m_failed && !m_pending.isEmpty()) {
            m_failed = !m_put(QByteArrayView(m_pending));
        }
        m_pending.resize(0);
    }

    const TextFiles::ByteSink& m_put;
    QByteArray m_pending;
    bool m_failed = false;
};

QString fileNameFor(const QString& title) {
    QString name;
    for (const QChar c : title.trimmed()) {
        name.append(c.isLetterOrNumber() || c == QLatin1Char('-') ? c : QLatin1Char('_'));
    }
    name.truncate(60);
    return name.isEmpty() ? QStringLiteral("tisk") : name;
}

} // namespace

PrintRenderer::PrintRenderer(FolderSource dataFolder, const Clock& clock)
    : m_dataFolder(std::move(dataFolder)), m_clock(clock) {}

Result<PrintOutcome> PrintRenderer::spool(const PrintDocument& document) {
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) {
        return printToPdfFolder(document);
    }
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        target = printers.first();
    }
    if (Status printed = renderToPrinter(document, target); !printed) {
        return printed.error();
    }
    return PrintOutcome{true, {}};
}

Result<PrintOutcome> PrintRenderer::printToPdfFolder(const PrintDocument& document) const {
    const std::filesystem::path folder = pdfFolder(m_dataFolder());
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return Error{0, QStringLiteral("Složku %1 pro tisk do souboru nelze vytvořit: %2")
                            .arg(pathText(folder), SystemErrors::describe(error))};
    }
    const QString stem =
        fileNameFor(document.title) + QLatin1Char('_') + m_clock.now().toString(QStringLiteral("yyyyMMdd_HHmmss"));
    std::filesystem::path file = folder / (stem + QStringLiteral(".pdf")).toStdU16String();
    for (int n = 2; std::filesystem::exists(file, error); ++n) {
        file = folder / (stem + QStringLiteral("_%1.pdf").arg(n)).toStdU16String();
    }
    if (Status written = renderToPdf(document, file); !written) {
        return written.error();
    }
    return PrintOutcome{true, file};
}

std::filesystem::path PrintRenderer::pdfFolder(const std::filesystem::path& dataFolder) {
    std::filesystem::path data = dataFolder.lexically_normal();
    if (!data.has_filename() && data.has_parent_path()) {
        data = data.parent_path(); // "…/data/" names the same folder as "…/data"
    }
    return data.parent_path() / "tisk";
}

Status PrintRenderer::renderToPdf(const PrintDocument& document, const std::filesystem::path& file) {
    const QString job = QStringLiteral("Tisk do souboru %1").arg(pathText(file));
    Status drawn;
    // Through the program's one whole-file writer: a print cut short by a full disk is reported with its cause and
    // leaves no file (an existing one as it was), never a cut PDF that reads as printed.
    const Status written = TextFiles::writeBytes(file, [&](const TextFiles::ByteSink& put) {
        SinkDevice out(put);
        out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        {
            QPdfWriter writer(&out);
            writer.setTitle(document.title);
            writer.setCreator(QStringLiteral("TRV7300"));
            writer.setPageLayout(
                QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                            QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                            QPageLayout::Millimeter));
            drawn = draw(writer, document, std::max(1, document.copies), job);
        }
        return drawn.ok() && out.finish();
    });
    if (!drawn.ok()) {
        return drawn;
    }
    return written;
}

Status PrintRenderer::renderToPrinter(const PrintDocument& document, const QPrinterInfo& info) {
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(document.title);
    printer.setFullPage(false);
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    // Printers that cannot print that close to the edge keep their own margins.
    if (layout.setMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres))) {
        printer.setPageLayout(layout);
    }
    int passes = std::max(1, document.copies);
    if (printer.supportsMultipleCopies()) {
        printer.setCopyCount(passes);
        passes = 1;
    }
    return draw(printer, document, passes, QStringLiteral("Tisk na tiskárnu %1").arg(info.printerName()));
}

PageFit PrintRenderer::fitFor(const PrintDocument& document, const QPageLayout& layout) {
    const QSize portrait = portraitTwips(layout);
    return PrintLayout::choose(document, portrait.width(), portrait.height());
}

} // namespace trv
