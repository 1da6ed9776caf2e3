#include "exports/IssuerLists.h"

#include "core/NominalTable.h"
#include "core/SettingsLoader.h"
#include "platform/Conventions.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"

#include <QProcess>

#include <array>
#include <map>

namespace trv {

namespace {

const QString kHtmlHead = QStringLiteral("<HTML><HEAD></HEAD><BODY><TABLE border=\"1\">");
const QString kHtmlTail = QStringLiteral("</TABLE></BODY></HTML>");

QString valueText(Currency v) {
    return formatNumber(v, u"###0.00");
}

Result<std::filesystem::path> expSpolFolder(const ExportContext& ctx) {
    auto folder = DejCestuExpSpol(ctx.state.config);
    if (!folder.ok())
        return Error{folder.error().number, folderErrorText(ctx.state.config, DataFolder::ExpSpol, folder.error())};
    return folder;
}

// Writes every file whole; the first failure stops and is returned.
Status writeFiles(const std::filesystem::path& folder, const std::vector<QString>& names,
                  const std::vector<QStringList>& contents) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (Status written = TextFiles::writeLines(folder / names[i].toStdU16String(), contents[i]); !written.ok())
            return written;
    }
    return Status::success();
}

void showRowLimit(ExportContext& ctx) {
    ctx.prompts.message(ctx.text("expPrekrRadForm"), Prompts::Buttons::Ok, Prompts::Icon::Critical);
}

// Rows of each chosen type, in collection order; a type without codes gives an empty table.
Result<std::vector<std::vector<NominalRow>>> tables(const ExportContext& ctx, const CColStrav& period,
                                                    const ExportTypeChoice& choice) {
    std::vector<std::vector<NominalRow>> out;
    for (const auto& type : chosenTypes(period, choice)) {
        auto rows = issuerRows(*type, ctx.state.gNoRead);
        if (!rows.ok())
            return rows.error();
        out.push_back(std::move(rows).value());
    }
    return out;
}

} // namespace

std::vector<CColStrav::StravPtr> chosenTypes(const CColStrav& period, const ExportTypeChoice& choice) {
    std::vector<CColStrav::StravPtr> out;
    if (choice.itemData == 0) {
        if (period.count() == 1)
            out.push_back(period.Item(1));
        return out;
    }
    for (const auto& type : period) {
        if (type->Nazev == choice.text)
            out.push_back(type);
    }
    return out;
}

Result<std::vector<NominalRow>> issuerRows(const CStrav& type, const QString& noRead) {
    auto table = nominalTable(type, noRead);
    if (!table.ok())
        return table.error();
    std::vector<NominalRow> rows;
    rows.reserve(table.value().size());
    for (const auto& [value, count] : table.value())
        rows.push_back({value, count});
    return rows;
}

Status exportujSupiskuCsv(ExportContext& ctx, const CColStrav& period, const ExportTypeChoice& choice, Issuer issuer) {
    auto folder = expSpolFolder(ctx);
    if (!folder.ok())
        return Status(folder.error());
    auto typeTables = tables(ctx, period, choice);
    if (!typeTables.ok())
        return Status(typeTables.error());
    const bool toProgram = ctx.state.sw.gFExportVycetkyPath;

    struct Form {
        std::vector<QString> files;
        int limit; // Vasa, DOXX, Edenred: the row that the message replaces; Sodexo: the last row written
        QString templateName;
        QString parameter;
    };
    const Form form = [&]() -> Form {
        switch (issuer) {
        case Issuer::Vasa:
            return {
                {QStringLiteral("exportVasaStr.csv")}, 32, QStringLiteral("SUPISKAV_SL.XLS"), QStringLiteral("V-SL")};
        case Issuer::Doxx:
            return {
                {QStringLiteral("supiska-DOXX.csv")}, 33, QStringLiteral("supiska-DOXX.xls"), QStringLiteral("DOXX")};
        case Issuer::Edenred:
            return {{QStringLiteral("supiska-Edenred.csv")},
                    46,
                    QStringLiteral("supiska-Edenred.xls"),
                    QStringLiteral("Edenred")};
        case Issuer::Sodexo:
            break;
        }
        return {{QStringLiteral("supiska-Sodexo1.csv"), QStringLiteral("supiska-Sodexo2.csv"),
                 QStringLiteral("supiska-Sodexo3.csv")},
                37,
                QStringLiteral("supiska-Sodexo.xls"),
                QStringLiteral("Sodexo")};
    }();

    std::vector<QStringList> contents(form.files.size());
    bool stopped = false;
    const auto row = [](const NominalRow& r) { return valueText(r.value) + u';' + QString::number(r.count); };
    for (const auto& rows : typeTables.value()) {
        if (stopped)
            break;
        const qint64 n = static_cast<qint64>(rows.size());
        if (issuer != Issuer::Sodexo) {
            for (qint64 i = 1; i <= n; ++i) {
                if (i == form.limit) {
                    stopped = true;
                    break;
                }
                contents[0].append(row(rows[static_cast<size_t>(i - 1)]));
            }
            continue;
        }
        // Sodexo's form takes twelve rows from each of its three files; the list program reads one file.
        const auto block = [&](qint64 i) -> size_t { return toProgram ? 0 : i <= 12 ? 0 : i <= 24 ? 1 : 2; };
        for (qint64 i = 1; i <= n; ++i) {
            contents[block(i)].append(row(rows[static_cast<size_t>(i - 1)]));
            if (i == form.limit) {
                stopped = true;
                break;
            }
        }
        if (!stopped && !toProgram && n < 36) {
            for (qint64 i = n + 1; i <= 36; ++i)
                contents[block(i)].append(QStringLiteral("0;0"));
        }
    }
    if (Status written = writeFiles(folder.value(), form.files, contents); !written.ok())
        return written;
    if (stopped) {
        showRowLimit(ctx);
        return Status::success();
    }
    if (toProgram) {
        const std::filesystem::path program = DejCestuVycetek(ctx.state.config);
        if (program.empty())
            return Status::fail(ctx.text("ChybiProgramSeznamu"));
        return ctx.shell.open(program, form.parameter);
    }
    return ctx.shell.openDocument(folder.value() / form.templateName.toStdU16String());
}

Status exportujSupiskuHtml(ExportContext& ctx, const CColStrav& period, const ExportTypeChoice& choice, Issuer issuer) {
    auto folder = expSpolFolder(ctx);
    if (!folder.ok())
        return Status(folder.error());
    auto typeTables = tables(ctx, period, choice);
    if (!typeTables.ok())
        return Status(typeTables.error());

    std::vector<QString> files;
    int padTo = 0;
    QString templateName;
    switch (issuer) {
    case Issuer::Vasa:
        files = {QStringLiteral("supiska-VasaStravovacia1.html"), QStringLiteral("supiska-VasaStravovacia2.html")};
        padTo = 31;
        templateName = QStringLiteral("supiska-VasaStravovacia.ods");
        break;
    case Issuer::Doxx:
        files = {QStringLiteral("supiska-DOXX.html")};
        padTo = 32;
        templateName = QStringLiteral("supiska-DOXX.ods");
        break;
    case Issuer::Edenred:
        files = {QStringLiteral("supiska-Edenred.html")};
        padTo = 35;
        templateName = QStringLiteral("supiska-Edenred.ods");
        break;
    case Issuer::Sodexo:
        files = {QStringLiteral("supiska-Sodexo1.html"), QStringLiteral("supiska-Sodexo2.html"),
                 QStringLiteral("supiska-Sodexo3.html")};
        padTo = 36;
        templateName = QStringLiteral("supiska-Sodexo.ods");
        break;
    }
    const QString cellOpen = issuer == Issuer::Edenred ? QStringLiteral("<TR><TD >") : QStringLiteral("<TR><TD>");
    const auto oneColumn = [](const QString& cell) {
        return QStringLiteral("<TR><TD>") + cell + QStringLiteral("</TD></TR>");
    };
    const auto twoColumns = [&](const NominalRow& r) {
        return cellOpen + valueText(r.value) + QStringLiteral("</TD><TD>") + QString::number(r.count) +
               QStringLiteral("</TD></TR>");
    };
    const QString emptyOne = QStringLiteral("<TR><TD></TD></TR>");
    const QString emptyTwo = QStringLiteral("<TR><TD></TD><TD></TD></TR>");
    const auto block = [](qint64 i) -> size_t { return i <= 12 ? 0 : i <= 24 ? 1 : 2; };

    std::vector<QStringList> contents(files.size());
    bool stopped = false;
    for (const auto& rows : typeTables.value()) {
        const qint64 n = static_cast<qint64>(rows.size());
        if (n == 0)
            continue;
        for (auto& c : contents)
            c.append(kHtmlHead);
        for (qint64 i = 1; i <= n && !stopped; ++i) {
            const NominalRow& r = rows[static_cast<size_t>(i - 1)];
            switch (issuer) {
            case Issuer::Vasa:
                contents[0].append(oneColumn(valueText(r.value)));
                contents[1].append(oneColumn(QString::number(r.count)));
                break;
            case Issuer::Doxx:
                contents[0].append(twoColumns(r));
                break;
            case Issuer::Edenred:
                if (i == 36) {
                    stopped = true;
                    break;
                }
                contents[0].append(twoColumns(r));
                break;
            case Issuer::Sodexo:
                contents[block(i)].append(twoColumns(r));
                break;
            }
        }
        if (stopped)
            break;
        for (qint64 i = n + 1; i <= padTo; ++i) {
            switch (issuer) {
            case Issuer::Vasa:
                contents[0].append(emptyOne);
                contents[1].append(emptyOne);
                break;
            case Issuer::Sodexo:
                contents[block(i)].append(emptyTwo);
                break;
            default:
                contents[0].append(emptyTwo);
                break;
            }
        }
        for (auto& c : contents)
            c.append(kHtmlTail);
    }
    if (Status written = writeFiles(folder.value(), files, contents); !written.ok())
        return written;
    if (stopped) {
        showRowLimit(ctx);
        return Status::success();
    }
    return ctx.shell.openDocument(folder.value() / templateName.toStdU16String());
}

Status exportujSupiskuCheque(ExportContext& ctx, const CColStrav& period, const ExportTypeChoice& choice) {
    auto folder = expSpolFolder(ctx);
    if (!folder.ok())
        return Status(folder.error());

    QStringList rowsOut;
    std::vector<std::pair<const char*, QString>> fields;
    QString formExe;
    QString fieldsType;
    for (const auto& type : chosenTypes(period, choice)) {
        if (type->nazevProvozovny.isEmpty())
            continue;
        auto rows = issuerRows(*type, ctx.state.gNoRead);
        if (!rows.ok())
            return Status(rows.error());
        if (rows.value().empty())
            continue;
        for (const NominalRow& r : rows.value()) {
            rowsOut.append(valueText(r.value) + u';' + QString::number(r.count) + u';' + valueText(r.value * r.count));
        }
        // A later type with rows replaces what an earlier one left: the form takes one establishment.
        fields = {{"cisloProvozovny", type->cisloProvozovny},
                  {"kodProvozovny", type->kodProvozovny},
                  {"nazevProvozovny", type->nazevProvozovny},
                  {"ulice", type->ulice},
                  {"mesto", type->mesto},
                  {"ico", type->ico},
                  {"kontakt", type->kontakt},
                  {"telPredvolba", type->telPredvolba},
                  {"tel", type->tel},
                  {"fax", type->fax},
                  {"email", type->email},
                  {"specSymbol", type->specSymbol}};
        formExe = type->FormularExe;
        fieldsType = type->Nazev;
    }
    QStringList dbFields;
    for (const auto& [name, value] : fields) {
        if (value.contains(u';') || value.contains(u'\r') || value.contains(u'\n'))
            return Status::fail(ctx.text("PoleProvozovny") + fieldsType + QStringLiteral(", ") +
                                QString::fromLatin1(name) + QStringLiteral(" = \"") + value + u'"');
        dbFields.append(value);
    }
    while (dbFields.size() < 12)
        dbFields.append(QString());

    const std::filesystem::path dbCsv = folder.value() / "db.csv";
    if (Status written = TextFiles::writeLines(folder.value() / "supiska.csv", rowsOut); !written.ok())
        return written;
    if (Status written = TextFiles::writeLines(dbCsv, {dbFields.join(u';')}); !written.ok())
        return written;
    if (!formExe.isEmpty()) {
        const QStringList command = QProcess::splitCommand(formExe);
        if (command.isEmpty())
            return Status::success();
        return ctx.shell.startProgram(TextFiles::toPath(command.front()), command.mid(1));
    }
    ctx.prompts.message(ctx.text("expSoup1") + TextFiles::toQString(dbCsv) + ctx.text("expSoup2"));
    return Status::success();
}

} // namespace trv
