#include "closing/ClosingExports.h"

#include "core/CColStrav.h"
#include "core/CColVycet.h"
#include "core/ConfigAccess.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

#include <QDir>

namespace trv {

QString zakladniJmeno(const std::filesystem::path& dayFile) {
    return TextFiles::toQString(dayFile.stem());
}

void radkyExportuSpolecnosti(const CStrav& type, const QString& baseName, const QString& noRead,
                             const TextFiles::LineSink& line) {
    QString text; // reused for every line: a company's export may hold tens of thousands of codes
    for (const auto& code : *type.Polozky) {
        if (code->Kod == noRead)
            continue;
        text.resize(0);
        text += baseName;
        text += u'|';
        text += code->Kod;
        text += QLatin1String("|0|");
        line(text);
    }
}

Status exportujSpolecnost(CStrav& type, const std::filesystem::path& dayFile, const QString& noRead,
                          const Config& config, Prompts& prompts) {
    const auto text = [&config](const char* key) {
        return config.DejText(QStringLiteral("frmUkonceniPr"), QString::fromLatin1(key));
    };
    const QString title = QStringLiteral("Export dat");
    const auto tell = [&](const QString& message) {
        prompts.message(message, Prompts::Buttons::Ok, Prompts::Icon::Information, title);
    };

    if (type.ExpTyp.toUpper() != QLatin1String("SODEXHO")) {
        tell(text("ProStrav") + type.Nazev + text("NeniDefTypExp"));
        return Status::success();
    }
    if (type.Cesta.isEmpty()) {
        tell(text("ProStrav") + type.Nazev + text("NeniDefCesta"));
        return Status::success();
    }
    // A relative folder is the program folder's, as every configured folder is, whatever folder the
    // program was started from.
    std::filesystem::path folder = TextFiles::toPath(type.Cesta);
    if (folder.is_relative())
        folder = config.programFolder() / folder;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        tell(text("Adresar") + type.Cesta + text("ProExpNeex"));
        return Status::success();
    }
    if (type.Pripona.isEmpty()) {
        tell(text("ProStrav") + type.Nazev + text("NeniDefPrip"));
        return Status::success();
    }

    const QString base = zakladniJmeno(dayFile);
    if (!type.Cesta.endsWith(u'/') && !type.Cesta.endsWith(u'\\'))
        type.Cesta += QDir::separator();
    const std::filesystem::path file = folder / TextFiles::toPath(base + u'.' + type.Pripona);
    const Status written = TextFiles::writeLines(file, [&](const TextFiles::LineSink& line) {
        radkyExportuSpolecnosti(type, base, noRead, line);
        return true;
    });
    if (!written.ok())
        return written;
    tell(text("DataBylaExp") + TextFiles::toQString(file));
    return Status::success();
}

QStringList zaznamyAS400(const CColStrav& types, const QString& baseName) {
    QStringList records;
    const auto first = types.Item(1);
    if (!first)
        return records;
    const QString tail = right(baseName, 6);
    for (const auto& code : *first->Polozky) {
        const QString& k = code->Kod;
        records.append(mid(k, 2, 11) + u'<' + mid(k, 13, 7) + mid(k, 21, 2) + u'<' + mid(k, 2, 9) + u'<' + tail +
                       QString::number(code->TypNacteni));
    }
    return records;
}

QStringList souhrnNominalu(const CColStrav& types, const QString& baseName, const QString& noRead) {
    QStringList lines;
    const auto first = types.Item(1);
    if (!first)
        return lines;
    CColVycet vycet;
    for (const auto& code : *first->Polozky) {
        if (code->Kod != noRead)
            vycet.Item(mid(code->Kod, 13, 5))->Pocet += 1;
    }
    for (const auto& line : vycet) {
        const QString count = QStringLiteral("%1").arg(line->Pocet, 5, 10, QChar(u'0'));
        lines.append(baseName + u';' + right(count, 5) + u';' + line->Hodnota);
    }
    return lines;
}

As400Files souboryAS400(const std::filesystem::path& dayFile, const std::filesystem::path& as400Folder) {
    const QString base = zakladniJmeno(dayFile);
    std::filesystem::path summary = dayFile.parent_path() / dayFile.stem();
    summary += ".TXT";
    return {as400Folder / (base + QStringLiteral(".400")).toStdU16String(), summary};
}

Status exportujAS400(const std::filesystem::path& dayFile, const std::filesystem::path& as400Folder,
                     const CColStrav& types, const QString& noRead) {
    const QString base = zakladniJmeno(dayFile);
    const As400Files files = souboryAS400(dayFile, as400Folder);
    // A day data file named with ".TXT" would be the summary's own name: the receipt's codes are never replaced.
    if (files.souhrn == dayFile) {
        return Status::fail(QStringLiteral("Souhrn nominálů %1 by přepsal datový soubor příjmu: export neproběhl.")
                                .arg(TextFiles::toQString(files.souhrn)));
    }
    if (Status written = TextFiles::writeLines(files.as400, zaznamyAS400(types, base)); !written.ok())
        return written;
    return TextFiles::writeLines(files.souhrn, souhrnNominalu(types, base, noRead));
}

} // namespace trv
