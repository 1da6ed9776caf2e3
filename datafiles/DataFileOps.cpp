#include "datafiles/DataFileOps.h"

#include "core/CustomerSwitches.h"
#include "core/DayDataFiles.h"
#include "core/DayFileName.h"
#include "core/StatementLine.h"
#include "platform/FolderListing.h"
#include "platform/SystemErrors.h"
#include "platform/TextFiles.h"

#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace trv::DataFileOps {

namespace {

QString name(const fs::path& p) {
    return FolderListing::nameOf(p);
}

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool occupied(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

// Why `sm` cannot become the SM of a file name and of its statement records; empty when it can.
QString smRefusal(const QString& sm, const QString& separator) {
    if (sm.isEmpty())
        return QStringLiteral("Nové středisko není zadáno.");
    if (sm != sm.trimmed())
        return QStringLiteral("Nové středisko „%1“ nesmí začínat ani končit mezerou.").arg(sm);
    for (QChar c : sm) {
        if (c.unicode() < 0x20 || c == QChar(0x7f))
            return QStringLiteral("Nové středisko „%1“ obsahuje řídicí znak.").arg(sm);
    }
    if (sm.contains(u'/') || sm.contains(u'\\'))
        return QStringLiteral("Nové středisko „%1“ nesmí obsahovat lomítko.").arg(sm);
    if (sm.contains(u'_'))
        return QStringLiteral("Nové středisko „%1“ nesmí obsahovat znak „_“.").arg(sm);
    if (!separator.isEmpty() && sm.contains(separator))
        return QStringLiteral("Nové středisko „%1“ nesmí obsahovat oddělovač výčetky „%2“.").arg(sm, separator);
    return {};
}

Error changeError(const QString& fileName, const QString& reason) {
    return Error{0, QStringLiteral("Změna střediska souboru %1: %2").arg(fileName, reason)};
}

void removeQuietly(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
}

} // namespace

QString mezery(qsizetype n) {
    return QString(std::clamp<qsizetype>(n, 0, 39), u' ');
}

fs::path statementTwin(const fs::path& dayFile) {
    // The day file's own bytes, only the last three characters replaced.
    const fs::path::string_type& full = dayFile.native();
    fs::path twin(full.substr(0, full.size() >= 3 ? full.size() - 3 : 0));
    twin += "vyc";
    return twin;
}

Status smaz(const fs::path& dayFile) {
    const fs::path twin = statementTwin(dayFile);
    const auto summary = DayDataFiles::summaryOf(dayFile);
    if (Status s = TextFiles::remove(dayFile); !s.ok())
        return s;
    if (isFile(twin)) {
        if (Status s = TextFiles::remove(twin); !s.ok())
            return s;
    }
    if (summary) {
        if (Status s = TextFiles::remove(*summary); !s.ok())
            return s;
    }
    return Status::success();
}

int smField(const CustomerSwitches& sw) {
    if (sw.gFDepo)
        return 3;
    if (sw.gFVycBezData)
        return 1;
    return 2;
}

namespace {

// A file written beside the day data file that follows it through a change of SM: its new content is staged
// under a temporary name before anything is renamed, so that every step can be undone.
struct Companion {
    fs::path oldPath;
    fs::path newPath;
    fs::path staged;
    bool placed = false;
};

// The temporary name a companion's new content is staged under: "~", its new name, ".tmp".
fs::path stagingPath(const fs::path& folder, const fs::path& target) {
    return folder / (QStringLiteral("~") + name(target) + QStringLiteral(".tmp")).toStdU16String();
}

// The statement records with the new SM in their SM field. Each line is split at the separator before anything
// is trimmed: with the blank separator an empty first field (the depot of the depot layout) is a field too.
Result<QStringList> withNewSm(const QString& text, const QString& fileName, const fs::path& statement,
                              const QString& sm, const QString& separator, int smFieldIndex) {
    QStringList records;
    qsizetype number = 0;
    std::optional<Error> failed;
    StatementLine::forEachLine(QStringView(text), [&](QStringView view) {
        ++number;
        if (failed || view.trimmed().isEmpty())
            return;
        const QString line = view.toString();
        auto fields = StatementLine::fieldsWith(line, separator, smFieldIndex + 1);
        if (!fields) {
            failed = changeError(fileName, QStringLiteral("záznam %1 výčetky %2 nemá pole střediska: „%3“.")
                                               .arg(QString::number(number), TextFiles::toQString(statement), line));
            return;
        }
        (*fields)[smFieldIndex] = sm;
        records.append(fields->join(separator));
    });
    if (failed)
        return *failed;
    return records;
}

// The nominal summary's lines with the new stem where the old one opens them.
QStringList withNewStem(const QString& text, const QString& oldStem, const QString& newStem) {
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.startsWith(oldStem + u';'))
            line = newStem + line.mid(oldStem.size());
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Puts the staged companions in place, then removes the old ones. On a failure everything placed is taken back
// and the day file gets its old name again; the reason is returned, empty on success.
QString commit(std::vector<Companion>& companions, const fs::path& oldPath, const fs::path& newPath) {
    std::error_code ec;
    QString failed;
    for (Companion& c : companions) {
        fs::rename(c.staged, c.newPath, ec);
        if (ec) {
            failed = QStringLiteral("%1 nelze vytvořit: %2").arg(name(c.newPath), SystemErrors::describe(ec));
            break;
        }
        c.placed = true;
    }
    if (failed.isEmpty()) {
        // The old files go only when every new one is in place; the first removal that fails is taken back
        // while nothing old has gone yet.
        bool removedAny = false;
        for (const Companion& c : companions) {
            fs::remove(c.oldPath, ec);
            if (ec) {
                const QString reason =
                    QStringLiteral("%1 nelze smazat: %2").arg(name(c.oldPath), SystemErrors::describe(ec));
                if (removedAny)
                    return reason;
                failed = reason;
                break;
            }
            removedAny = true;
        }
        if (failed.isEmpty())
            return {};
    }
    std::error_code ignored;
    for (const Companion& c : companions) {
        if (c.placed && isFile(c.oldPath))
            fs::remove(c.newPath, ignored);
        removeQuietly(c.staged);
    }
    fs::rename(newPath, oldPath, ignored);
    return failed;
}

} // namespace

void odstranZbytky(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc))
            continue;
        const QString n = TextFiles::toQString(it->path().filename());
        if (n.startsWith(u'~') && (n.endsWith(QStringLiteral(".vyc.tmp")) || n.endsWith(QStringLiteral(".TXT.tmp"))))
            removeQuietly(it->path());
    }
}

Result<QString> zmenSM(const fs::path& folder, const QString& fileName, const QString& sm, const QString& separator,
                       int smFieldIndex) {
    if (fileName.isEmpty())
        return Error{0, QStringLiteral("Změna střediska: není vybrán žádný soubor.")};
    if (const QString why = smRefusal(sm, separator); !why.isEmpty())
        return changeError(fileName, why);
    const auto oldSm = DayFileName::keys(fileName).sm;
    const auto renamed = DayFileName::withSm(fileName, sm);
    if (!oldSm || !renamed)
        return changeError(fileName, QStringLiteral("název souboru neobsahuje středisko mezi dvěma znaky „_“."));
    if (*oldSm == sm)
        return changeError(fileName, QStringLiteral("soubor již má středisko „%1“, středisko se nemění.").arg(sm));
    const QString newName = *renamed;

    // The file as listed under the name shown; a name that cannot be decoded cannot be rewritten part by part.
    const fs::path oldPath = FolderListing::entryNamed(folder, fileName).value_or(folder / TextFiles::toPath(fileName));
    if (oldPath.filename() != TextFiles::toPath(fileName))
        return changeError(fileName, QStringLiteral("název souboru obsahuje znaky, které nelze přečíst; soubor "
                                                    "nejprve přejmenujte."));
    const fs::path newPath = folder / TextFiles::toPath(newName);
    const fs::path oldTwin = statementTwin(oldPath);
    const fs::path newTwin = statementTwin(newPath);
    if (!isFile(oldPath))
        return changeError(fileName, QStringLiteral("soubor %1 neexistuje.").arg(TextFiles::toQString(oldPath)));
    if (occupied(newPath))
        return changeError(fileName, QStringLiteral("soubor %1 již existuje.").arg(TextFiles::toQString(newPath)));
    const bool hasTwin = isFile(oldTwin);
    if (hasTwin && occupied(newTwin))
        return changeError(fileName, QStringLiteral("výčetka %1 již existuje.").arg(TextFiles::toQString(newTwin)));
    const auto oldSummary = DayDataFiles::summaryOf(oldPath);
    const QString oldStem = fileName.left(fileName.size() - 4);
    const QString newStem = newName.left(newName.size() - 4);
    const fs::path newSummary = folder / (newStem + QStringLiteral(".TXT")).toStdU16String();
    if (oldSummary && occupied(newSummary))
        return changeError(fileName, QStringLiteral("souhrn %1 již existuje.").arg(TextFiles::toQString(newSummary)));
    odstranZbytky(folder);

    // The new statement file and nominal summary are written whole beside the old ones before anything is
    // renamed.
    std::vector<Companion> companions;
    auto stage = [&](const fs::path& oldFile, const fs::path& newFile, const QStringList& lines,
                     TextEncoding encoding) -> Status {
        Companion c{oldFile, newFile, stagingPath(folder, newFile)};
        if (Status s = TextFiles::writeLines(c.staged, lines, encoding); !s.ok())
            return s;
        companions.push_back(c);
        return Status::success();
    };
    auto dropStaged = [&] {
        for (const Companion& c : companions)
            removeQuietly(c.staged);
    };
    if (hasTwin) {
        const auto old = TextFiles::readAll(oldTwin);
        if (!old.ok())
            return old.error();
        const auto records = withNewSm(old.value().text, fileName, oldTwin, sm, separator, smFieldIndex);
        if (!records.ok())
            return records.error();
        if (Status s = stage(oldTwin, newTwin, records.value(), old.value().encoding); !s.ok())
            return s.error();
    }
    if (oldSummary) {
        const auto old = TextFiles::readAll(*oldSummary);
        Status s = old.ok() ? stage(*oldSummary, newSummary, withNewStem(old.value().text, oldStem, newStem),
                                    old.value().encoding)
                            : Status(old.error());
        if (!s.ok()) {
            dropStaged();
            return s.error();
        }
    }

    std::error_code ec;
    fs::rename(oldPath, newPath, ec);
    if (ec) {
        dropStaged();
        return changeError(
            fileName, QStringLiteral("soubor nelze přejmenovat na %1: %2").arg(newName, SystemErrors::describe(ec)));
    }
    if (const QString failed = commit(companions, oldPath, newPath); !failed.isEmpty())
        return changeError(fileName, failed);
    return newName;
}

QString ulozJakoNazev(const QString& typed) {
    return typed + QStringLiteral(".txt");
}

Status ulozJako(const fs::path& source, const fs::path& target) {
    return TextFiles::copy(source, target, true);
}

} // namespace trv::DataFileOps
