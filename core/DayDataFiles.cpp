#include "core/DayDataFiles.h"

#include "platform/FolderListing.h"
#include "platform/TextFiles.h"

#include <QRegularExpression>

#include <system_error>

namespace fs = std::filesystem;

namespace trv::DayDataFiles {

namespace {

QString fileName(const fs::path& p) {
    return FolderListing::nameOf(p);
}

bool endsTxtAnyCase(const QString& name) {
    return name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
}

bool regularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

} // namespace

bool hasSummaryLines(const QString& stem, const QStringList& lines) {
    static const QRegularExpression tail(QStringLiteral("^;[0-9]{5};.*$"));
    bool any = false;
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        if (!line.startsWith(stem) || !tail.match(QStringView(line).mid(stem.size())).hasMatch())
            return false;
        any = true;
    }
    return any;
}

bool isNominalSummary(const fs::path& file) {
    const QString name = fileName(file);
    if (!name.endsWith(QStringLiteral(".TXT")))
        return false;
    const QString stem = name.left(name.size() - 4);
    fs::path twin = file; // the name's own bytes, only the suffix changed
    twin.replace_extension(".txt");
    if (regularFile(twin))
        return true;
    const auto lines = TextFiles::readLines(file);
    return lines.ok() && hasSummaryLines(stem, lines.value());
}

bool isDayDataFile(const fs::path& file) {
    return endsTxtAnyCase(fileName(file)) && regularFile(file) && !isNominalSummary(file);
}

Result<std::vector<FolderListing::Entry>> entries(const fs::path& folder) {
    auto all = FolderListing::list(folder, QStringLiteral("*.txt"));
    if (!all.ok())
        return all.error();
    std::vector<FolderListing::Entry> days;
    days.reserve(all.value().size());
    for (auto& e : all.value()) {
        if (!e.name.endsWith(QStringLiteral(".TXT")) || !isNominalSummary(e.path()))
            days.push_back(std::move(e));
    }
    return days;
}

Result<std::vector<fs::path>> list(const fs::path& folder) {
    auto days = entries(folder);
    if (!days.ok())
        return days.error();
    return FolderListing::pathsOf(std::move(days).value());
}

std::optional<fs::path> summaryOf(const fs::path& dayFile) {
    const QString name = fileName(dayFile);
    if (!endsTxtAnyCase(name) || name.endsWith(QStringLiteral(".TXT")))
        return std::nullopt;
    fs::path summary = dayFile; // the name's own bytes, only the suffix changed
    summary.replace_extension(".TXT");
    if (regularFile(summary))
        return summary;
    return std::nullopt;
}

} // namespace trv::DayDataFiles
