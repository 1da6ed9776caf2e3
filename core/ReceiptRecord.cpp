#include "core/ReceiptRecord.h"

#include "platform/IniDocument.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace trv::ReceiptRecord {

namespace {

const QString kReceiptSection = QStringLiteral("Prijem");
// A record written before receipts had entries of their own kept a save that did not end in a section of its own.
const QString kOldSaveSection = QStringLiteral("Ulozeni");
const QString kFileKey = QStringLiteral("Soubor");
const QString kKindKey = QStringLiteral("Druh");
const QString kSafeBagKind = QStringLiteral("SafeBag");
const QString kCreatedKey = QStringLiteral("Vytvoren");
const QString kBeforeKey = QStringLiteral("Puvodni");
const QString kOutputKey = QStringLiteral("Vystup");
const QString kDepoKey = QStringLiteral("Depo");
const QString kIdentObalkyKey = QStringLiteral("IdentObalky");
const QString kIdentFaKey = QStringLiteral("IdentFA");

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    return a.lexically_normal() == b.lexically_normal();
}

QString line(const QString& key, const QString& value) {
    return key + u'=' + value;
}

QStringList entryLines(const Entry& entry, qsizetype number) {
    QStringList lines{u'[' + kReceiptSection + QString::number(number) + u']',
                      line(kFileKey, TextFiles::toQString(entry.file))};
    if (entry.kind == Kind::SafeBag)
        lines << line(kKindKey, kSafeBagKind);
    if (entry.created)
        lines << line(kCreatedKey, *entry.created ? QStringLiteral("1") : QStringLiteral("0"));
    if (!entry.before.empty())
        lines << line(kBeforeKey, TextFiles::toQString(entry.before));
    const std::pair<QString, QString> ids[] = {
        {kDepoKey, entry.ids.depo}, {kIdentObalkyKey, entry.ids.identObalky}, {kIdentFaKey, entry.ids.identFa}};
    for (const auto& [key, value] : ids)
        if (!value.isEmpty())
            lines << line(key, value);
    for (qsizetype i = 0; i < entry.outputs.size(); ++i)
        lines << line(kOutputKey + QString::number(i + 1), entry.outputs[i]);
    return lines;
}

Status failed(const Status& status) {
    return Status::fail(QStringLiteral("Záznam o rozpracovaném příjmu nelze zapsat: ") + status.message());
}

// The whole record, replaced at once; no entry left, no record.
// UTF-8: a path may hold any character, and the profile reader takes UTF-8 first.
Status write(const std::filesystem::path& programFolder, const std::vector<Entry>& entries) {
    const std::filesystem::path file = recordFile(programFolder);
    if (entries.empty()) {
        const Status removed = TextFiles::exists(file) ? TextFiles::remove(file) : Status::success();
        return removed.ok() ? removed : failed(removed);
    }
    QStringList lines;
    for (size_t i = 0; i < entries.size(); ++i)
        lines << entryLines(entries[i], static_cast<qsizetype>(i) + 1);
    const Status written = TextFiles::writeLines(file, lines, TextEncoding::Utf8);
    return written.ok() ? written : failed(written);
}

// A copy no entry names any more; a copy that cannot be removed only takes room.
void dropCopy(const std::filesystem::path& copy, const std::vector<Entry>& entries) {
    if (copy.empty() || !TextFiles::exists(copy))
        return;
    if (std::any_of(entries.begin(), entries.end(), [&](const Entry& e) { return sameFile(e.before, copy); }))
        return;
    (void)TextFiles::remove(copy);
}

std::filesystem::path freeCopyName(const std::filesystem::path& programFolder) {
    for (int n = 1;; ++n) {
        const std::filesystem::path copy =
            programFolder / TextFiles::toPath(QStringLiteral("NeulozenyPrijem_%1.puvodni").arg(n));
        if (!TextFiles::exists(copy))
            return copy;
    }
}

} // namespace

std::filesystem::path recordFile(const std::filesystem::path& programFolder) {
    return programFolder / TextFiles::toPath(kFileName);
}

std::vector<Entry> read(const std::filesystem::path& programFolder) {
    std::vector<Entry> entries;
    const std::filesystem::path file = recordFile(programFolder);
    if (!TextFiles::exists(file))
        return entries;
    const Result<IniDocument> doc = IniDocument::load(file);
    if (!doc.ok())
        return entries;
    std::vector<Entry> oldSaves;
    for (const QString& name : doc.value().sectionNames()) {
        const bool oldSave = name.compare(kOldSaveSection, Qt::CaseInsensitive) == 0;
        if (!oldSave && !name.startsWith(kReceiptSection, Qt::CaseInsensitive))
            continue;
        const IniDocument::SectionView section = doc.value().section(name);
        const auto value = [&](const QString& key) { return section.value(key).value_or(QString()); };
        Entry entry;
        if (value(kFileKey).isEmpty())
            continue;
        entry.file = TextFiles::toPath(value(kFileKey));
        entry.kind = value(kKindKey).compare(kSafeBagKind, Qt::CaseInsensitive) == 0 ? Kind::SafeBag : Kind::DayFile;
        if (const auto created = section.value(kCreatedKey))
            entry.created = *created == QLatin1String("1");
        if (!value(kBeforeKey).isEmpty())
            entry.before = TextFiles::toPath(value(kBeforeKey));
        entry.ids = {value(kDepoKey), value(kIdentObalkyKey), value(kIdentFaKey)};
        for (int i = 1;; ++i) {
            const auto output = section.value(kOutputKey + QString::number(i));
            if (!output)
                break;
            entry.outputs << *output;
        }
        (oldSave ? oldSaves : entries).push_back(std::move(entry));
    }
    // The cut-short save of such a record belongs to the receipt of its file, which it then tells together.
    for (Entry& save : oldSaves) {
        const auto same = std::find_if(entries.begin(), entries.end(),
                                       [&](const Entry& entry) { return sameFile(entry.file, save.file); });
        if (same == entries.end())
            entries.push_back(std::move(save));
        else
            same->outputs = save.outputs;
    }
    return entries;
}

std::optional<Entry> find(const std::filesystem::path& programFolder, const std::filesystem::path& file) {
    for (Entry& entry : read(programFolder))
        if (sameFile(entry.file, file))
            return std::move(entry);
    return std::nullopt;
}

Status put(const std::filesystem::path& programFolder, const Entry& entry) {
    std::vector<Entry> entries = read(programFolder);
    std::filesystem::path replacedCopy;
    const auto same =
        std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return sameFile(e.file, entry.file); });
    if (same != entries.end()) {
        replacedCopy = same->before;
        *same = entry;
    } else {
        entries.push_back(entry);
    }
    const Status written = write(programFolder, entries);
    if (written.ok())
        dropCopy(replacedCopy, entries);
    return written;
}

Status receiptStarted(const std::filesystem::path& programFolder, Entry entry, const QByteArray& earlier) {
    entry.before.clear();
    if (entry.created == false && !earlier.isEmpty()) {
        // Kept before the entry names it: a record never points at a copy that is not whole.
        entry.before = freeCopyName(programFolder);
        if (const Status kept = TextFiles::writeBytes(entry.before, earlier); !kept)
            return failed(kept);
    }
    const Status written = put(programFolder, entry);
    if (!written.ok())
        dropCopy(entry.before, {});
    return written;
}

Status saveStarted(const std::filesystem::path& programFolder, const std::filesystem::path& dayFile, const Ids& ids,
                   const QStringList& outputs) {
    // The receipt stays unsaved until the save ends: a kill in the middle leaves both told. What its file was
    // before the receipt stays with it.
    Entry entry = find(programFolder, dayFile).value_or(Entry{dayFile, Kind::DayFile, {}, std::nullopt, {}, {}});
    entry.ids = ids;
    entry.outputs = outputs;
    return put(programFolder, entry);
}

Status ended(const std::filesystem::path& programFolder, const std::filesystem::path& file) {
    std::vector<Entry> entries = read(programFolder);
    const auto same =
        std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return sameFile(e.file, file); });
    if (same == entries.end())
        return Status::success();
    const std::filesystem::path copy = same->before;
    entries.erase(same);
    const Status written = write(programFolder, entries);
    if (written.ok())
        dropCopy(copy, entries);
    return written;
}

Result<QByteArray> earlierBytes(const Entry& entry) {
    if (entry.before.empty())
        return QByteArray();
    return TextFiles::readBytes(entry.before);
}

std::filesystem::path safeBagFile(const std::filesystem::path& programFolder, const QDateTime& now) {
    const QString stamp = now.toString(QStringLiteral("yyMMddHHmmss"));
    std::filesystem::path file = programFolder / TextFiles::toPath(QStringLiteral("SafeBag_%1.kody").arg(stamp));
    // Two receipts started within one second each keep their own codes.
    for (int n = 2; TextFiles::exists(file); ++n)
        file = programFolder / TextFiles::toPath(QStringLiteral("SafeBag_%1_%2.kody").arg(stamp).arg(n));
    return file;
}

QStringList codes(const QByteArray& bytes) {
    QStringList found;
    const QString text = decodeText(bytes).text;
    TextFiles::forEachLine(QStringView(text), [&](QStringView l) {
        if (!l.trimmed().isEmpty())
            found << l.toString();
    });
    return found;
}

qsizetype codesNotIn(const QStringList& codes, const QStringList& before) {
    QHash<QString, qsizetype> left;
    for (const QString& code : before)
        ++left[code];
    qsizetype added = 0;
    for (const QString& code : codes) {
        const auto it = left.find(code);
        if (it != left.end() && *it > 0)
            --*it;
        else
            ++added;
    }
    return added;
}

qsizetype receiptCodeCount(const Entry& entry) {
    const Result<QByteArray> now = TextFiles::readBytes(entry.file);
    if (!now.ok())
        return 0;
    const Result<QByteArray> earlier = earlierBytes(entry);
    return codesNotIn(codes(now.value()), earlier.ok() ? codes(earlier.value()) : QStringList());
}

qsizetype codeCount(const std::filesystem::path& file) {
    const Result<QStringList> lines = TextFiles::readLines(file);
    if (!lines.ok())
        return 0;
    return std::count_if(lines.value().begin(), lines.value().end(),
                         [](const QString& l) { return !l.trimmed().isEmpty(); });
}

Result<std::filesystem::path> keepAndEmptyBarcode(const std::filesystem::path& barcodeFile, const QDateTime& now,
                                                  bool unfinished) {
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
                     emptied.message() + QStringLiteral("\r\n") + keptBarcodeText(barcodeFile, kept, unfinished)};
    }
    return kept;
}

QString keptBarcodeText(const std::filesystem::path& barcodeFile, const std::filesystem::path& kept, bool unfinished) {
    const QString whose =
        unfinished ? QStringLiteral("kódy nedokončeného příjmu") : QStringLiteral("kódy posledního příjmu");
    return QStringLiteral("Soubor %1 obsahoval %2 (počet kódů: %3); byl uschován jako %4 a pro nový příjem se "
                          "vyprázdnil.")
        .arg(TextFiles::toQString(barcodeFile.filename()), whose)
        .arg(codeCount(kept))
        .arg(TextFiles::toQString(kept));
}

} // namespace trv::ReceiptRecord
