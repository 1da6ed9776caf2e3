#include "closing/As400Duplicates.h"

#include "core/CColStrav.h"
#include "core/CStrav.h"
#include "platform/Conventions.h"
#include "platform/FolderListing.h"
#include "platform/TextFiles.h"

namespace trv::As400Duplicates {

trv::Result<QStringList> soubory(const std::filesystem::path& as400Folder) {
    auto files = FolderListing::list(as400Folder, QStringLiteral("*.400"));
    if (!files.ok())
        return files.error();
    QStringList names;
    for (const auto& f : files.value())
        names.append(f.name);
    return names;
}

QStringList castiKodu(const CColStrav& types, const QString& noRead) {
    QStringList parts;
    const auto first = types.Item(1);
    if (!first)
        return parts;
    for (const auto& code : *first->Polozky) {
        if (code->Kod != noRead)
            parts.append(mid(code->Kod, 2, 9));
    }
    return parts;
}

trv::Result<Result> hledej(const std::filesystem::path& as400Folder, const QStringList& files, const QStringList& parts,
                           Result* partial) {
    Result found;
    for (const QString& name : files) {
        // The file listed under the name shown: a name that could not be decoded opens by its own bytes.
        const auto text = TextFiles::readAll(
            FolderListing::entryNamed(as400Folder, name).value_or(as400Folder / TextFiles::toPath(name)));
        if (!text.ok()) {
            if (partial)
                *partial = found;
            return text.error();
        }
        bool hit = false;
        for (const QString& part : parts) {
            if (!part.isEmpty() && text.value().text.contains(part, Qt::CaseSensitive)) {
                found.hits.push_back({name, part});
                hit = true;
            }
        }
        if (hit)
            found.filesWithHits.append(name);
    }
    return found;
}

QStringList vystup(const QString& heading, const QStringList& hitLines) {
    QStringList lines{QString(), QString(), heading, QString(18, u'*'), QString()};
    lines.append(hitLines);
    return lines;
}

QString chybaNazvu(const QString& name) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("Název souboru je prázdný.");
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(QStringLiteral("..")))
        return QStringLiteral("Název souboru „%1“ nesmí obsahovat oddělovač složek ani „..“.").arg(name);
    for (QChar c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("<>:\"|?*").contains(c))
            return QStringLiteral("Název souboru „%1“ obsahuje znak, který v názvu souboru nemůže být.").arg(name);
    }
    return {};
}

} // namespace trv::As400Duplicates
