#include "datafiles/DataFileOps.h"

#include "core/CustomerSwitches.h"
#include "core/DayDataFiles.h"
#include "core/DayFileName.h"
#include "core/StatementLine.h"
#include "platform/FolderListing.h"
#include "platform/TextFiles.h"

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

Result<QString> zmenSM(const fs::path& folder, const QString& fileName, const QString& sm, const QString& separator,
                       int smFieldIndex) {
    if (fileName.isEmpty())
        return Error{0, QStringLiteral("Změna střediska: není vybrán žádný soubor.")};
    if (const QString why = smRefusal(sm, separator); !why.isEmpty())
        return changeError(fileName, why);
    auto parsed = DayFileName::parse(fileName);
    if (!parsed || parsed->form == DayFileName::Form::CashDesk)
        return changeError(fileName, QStringLiteral("název souboru neobsahuje středisko mezi dvěma znaky „_“."));
    parsed->sm = sm;
    const auto built = parsed->build();
    if (!built.ok())
        return changeError(fileName, built.message());
    // The name keeps its extension as it was written.
    const QString newName = built.value().left(built.value().size() - 4) + fileName.right(4);

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

    // The new statement file is written whole beside the old one before anything is renamed.
    fs::path staged;
    if (hasTwin) {
        const auto old = TextFiles::readAll(oldTwin);
        if (!old.ok())
            return old.error();
        QStringList records;
        const QStringList lines = old.value().text.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QString line = lines[i];
            if (line.endsWith(u'\r'))
                line.chop(1);
            if (line.trimmed().isEmpty())
                continue;
            auto fields = StatementLine::fieldsWith(line.trimmed(), separator, smFieldIndex + 1);
            if (!fields)
                return changeError(fileName, QStringLiteral("záznam %1 výčetky %2 nemá pole střediska: „%3“.")
                                                 .arg(QString::number(i + 1), TextFiles::toQString(oldTwin), line));
            (*fields)[smFieldIndex] = sm;
            records.append(fields->join(separator));
        }
        staged = folder / TextFiles::toPath(QStringLiteral("~") + name(newTwin) + QStringLiteral(".tmp"));
        if (Status s = TextFiles::writeLines(staged, records, old.value().encoding); !s.ok())
            return s.error();
    }

    std::error_code ec;
    fs::rename(oldPath, newPath, ec);
    if (ec) {
        if (hasTwin)
            removeQuietly(staged);
        return changeError(
            fileName,
            QStringLiteral("soubor nelze přejmenovat na %1: %2").arg(newName, QString::fromStdString(ec.message())));
    }
    if (hasTwin) {
        fs::rename(staged, newTwin, ec);
        if (!ec)
            fs::remove(oldTwin, ec);
        if (ec) {
            // Back to where the operator started: the old names, the old statement file.
            const QString reason = QString::fromStdString(ec.message());
            std::error_code ignored;
            if (occupied(newTwin) && isFile(oldTwin))
                fs::remove(newTwin, ignored);
            removeQuietly(staged);
            fs::rename(newPath, oldPath, ignored);
            return changeError(fileName, QStringLiteral("výčetku %1 nelze nahradit: %2").arg(name(newTwin), reason));
        }
    }
    return newName;
}

QString ulozJakoNazev(const QString& typed) {
    return typed + QStringLiteral(".txt");
}

Status ulozJako(const fs::path& source, const fs::path& target) {
    return TextFiles::copy(source, target, true);
}

Result<DecodedText> nactiKEditaci(const fs::path& file) {
    auto text = TextFiles::readAll(file);
    if (!text.ok())
        return text.error();
    DecodedText decoded = std::move(text).value();
    decoded.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return decoded;
}

Status ulozZEditace(const fs::path& file, const QString& text, TextEncoding encoding) {
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    return TextFiles::writeAll(file, crlf, encoding);
}

} // namespace trv::DataFileOps
