#include "core/ReceiptRecord.h"

#include "platform/ProfileFile.h"
#include "platform/TextFiles.h"

#include <utility>

namespace trv::ReceiptRecord {

namespace {

const QString kReceiptSection = QStringLiteral("Prijem");
const QString kSaveSection = QStringLiteral("Ulozeni");
const QString kFileKey = QStringLiteral("Soubor");
const QString kOutputKey = QStringLiteral("Vystup");
const QString kDepoKey = QStringLiteral("Depo");
const QString kIdentObalkyKey = QStringLiteral("IdentObalky");
const QString kIdentFaKey = QStringLiteral("IdentFA");

QString line(const QString& key, const QString& value) {
    return key + u'=' + value;
}

QStringList receiptLines(const std::filesystem::path& dayFile, const Ids& ids) {
    QStringList lines{u'[' + kReceiptSection + u']', line(kFileKey, TextFiles::toQString(dayFile))};
    const std::pair<QString, QString> keys[] = {
        {kDepoKey, ids.depo}, {kIdentObalkyKey, ids.identObalky}, {kIdentFaKey, ids.identFa}};
    for (const auto& [key, value] : keys)
        if (!value.isEmpty())
            lines << line(key, value);
    return lines;
}

// UTF-8: a path may hold any character, and the profile reader takes UTF-8 first.
Status write(const std::filesystem::path& programFolder, const QStringList& lines) {
    const Status written = TextFiles::writeLines(recordFile(programFolder), lines, TextEncoding::Utf8);
    if (written.ok())
        return written;
    return Status::fail(QStringLiteral("Záznam o rozpracovaném příjmu nelze zapsat: ") + written.message());
}

} // namespace

std::filesystem::path recordFile(const std::filesystem::path& programFolder) {
    return programFolder / TextFiles::toPath(kFileName);
}

Status receiptStarted(const std::filesystem::path& programFolder, const std::filesystem::path& dayFile,
                      const Ids& ids) {
    return write(programFolder, receiptLines(dayFile, ids));
}

Status saveStarted(const std::filesystem::path& programFolder, const std::filesystem::path& dayFile, const Ids& ids,
                   const QStringList& outputs) {
    // The receipt stays unsaved until the save ends: a kill in the middle leaves both told.
    QStringList lines = receiptLines(dayFile, ids);
    lines << u'[' + kSaveSection + u']' << line(kFileKey, TextFiles::toQString(dayFile));
    for (qsizetype i = 0; i < outputs.size(); ++i)
        lines << line(kOutputKey + QString::number(i + 1), outputs[i]);
    return write(programFolder, lines);
}

Status ended(const std::filesystem::path& programFolder) {
    const std::filesystem::path file = recordFile(programFolder);
    return TextFiles::exists(file) ? TextFiles::remove(file) : Status::success();
}

std::optional<Left> read(const std::filesystem::path& programFolder) {
    const std::filesystem::path file = recordFile(programFolder);
    if (!TextFiles::exists(file))
        return std::nullopt;
    Left left;
    if (const auto receipt = ProfileFile::read(file, kReceiptSection, kFileKey); receipt && !receipt->isEmpty())
        left.receiptFile = TextFiles::toPath(*receipt);
    const auto value = [&](const QString& key) {
        return ProfileFile::read(file, kReceiptSection, key).value_or(QString());
    };
    left.ids = {value(kDepoKey), value(kIdentObalkyKey), value(kIdentFaKey)};
    if (const auto saved = ProfileFile::read(file, kSaveSection, kFileKey); saved && !saved->isEmpty()) {
        left.savedFile = TextFiles::toPath(*saved);
        for (int i = 1;; ++i) {
            const auto output = ProfileFile::read(file, kSaveSection, kOutputKey + QString::number(i));
            if (!output)
                break;
            left.outputs << *output;
        }
    }
    return left;
}

qsizetype codeCount(const std::filesystem::path& dayFile) {
    const Result<QStringList> lines = TextFiles::readLines(dayFile);
    if (!lines.ok())
        return 0;
    qsizetype count = 0;
    for (const QString& l : lines.value())
        if (!l.trimmed().isEmpty())
            ++count;
    return count;
}

Result<std::filesystem::path> keepAndEmptyBarcode(const std::filesystem::path& barcodeFile, const QDateTime& now) {
    std::filesystem::path kept;
    if (codeCount(barcodeFile) > 0) {
        const std::filesystem::path folder = barcodeFile.parent_path();
        const QString stamp = now.toString(QStringLiteral("yyyyMMdd_HHmmss"));
        kept = folder / TextFiles::toPath(QStringLiteral("Barcode_%1.txt").arg(stamp));
        // Two starts within one second must not put one kept file over the other.
        for (int n = 2; TextFiles::exists(kept); ++n)
            kept = folder / TextFiles::toPath(QStringLiteral("Barcode_%1_%2.txt").arg(stamp).arg(n));
        if (const Status moved = TextFiles::move(barcodeFile, kept); !moved)
            return moved.error();
    }
    if (const Status emptied = TextFiles::writeAll(barcodeFile, QString()); !emptied) {
        // The codes are safe in the kept file all the same: the operator must learn where they are.
        if (kept.empty())
            return emptied.error();
        return Error{emptied.error().number,
                     emptied.message() + QStringLiteral("\r\n") + keptBarcodeText(barcodeFile, kept)};
    }
    return kept;
}

QString keptBarcodeText(const std::filesystem::path& barcodeFile, const std::filesystem::path& kept) {
    return QStringLiteral("Soubor %1 obsahoval kódy nedokončeného příjmu (počet kódů: %2); byl uschován jako %3 "
                          "a pro nový příjem se vyprázdnil.")
        .arg(TextFiles::toQString(barcodeFile.filename()))
        .arg(codeCount(kept))
        .arg(TextFiles::toQString(kept));
}

} // namespace trv::ReceiptRecord
