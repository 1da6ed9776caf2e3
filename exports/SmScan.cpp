#include "exports/SmScan.h"

#include "core/AppState.h"
#include "core/CPolozka.h"
#include "core/CStrav.h"
#include "core/ReaderControl.h"
#include "core/SettingsLoader.h"
#include "core/SharedHelpers.h"
#include "core/SmList.h"
#include "core/StatementLine.h"
#include "platform/Conventions.h"
#include "platform/Progress.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"
#include "summaries/PeriodFiles.h"
#include "summaries/StoredCodeBooking.h"

#include <limits>
#include <memory>

namespace trv {

namespace {

const QString kSection = QStringLiteral("frmSoucVycObd");

QString text(const AppState& state, const char* key) {
    return state.config.DejText(kSection, QString::fromLatin1(key));
}

// The SM of a statement file's name as the period computation reads it, so that one name gives one SM in every
// operation, and its operator as the third "_"-part; nullopt when the name gives no SM.
struct SmAndOperator {
    QString sm;
    QString oper;
};
std::optional<SmAndOperator> smOfName(const QString& name) {
    QString sm = smAndOperator(name).first;
    if (sm.isEmpty())
        return std::nullopt;
    return SmAndOperator{std::move(sm), name.section(u'_', 2, 2)};
}

// The fixed issuer column of a statement's type field ("2" SODEXHO, "1" CHEQUE DJ, "3" TICKET, "4" EXI,
// "5" vouchers), -1 for any other text.
int fixedColumn(std::string_view typeField, int columns) {
    static constexpr std::string_view kTypes[] = {"2", "1", "3", "4", "5"};
    for (int i = 0; i < columns && i < 5; ++i)
        if (typeField == kTypes[i])
            return i;
    return -1;
}

Error sumOutOfRange(const QString& file, const QString& column) {
    return Error{0, sumOutOfRangeText(QStringLiteral("soubor %1, %2").arg(file, column))};
}

Result<Currency> ownValue(const CColStrav::StravPtr& type, const QString& code) {
    CPolozka item;
    item.Kod = code;
    item.setTypS(type);
    return item.DejHodnotu();
}

} // namespace

QString columnName(const CColStrav* types, SmScanVariant::Columns columns, int k) {
    static const char* const kFixedIssuers[] = {"SODEXHO", "CHEQUE DJ", "TICKET", "EXI", "poukázky"};
    if (columns != SmScanVariant::Columns::PerType)
        return k >= 0 && k < 5 ? QString::fromUtf8(kFixedIssuers[k]) : QString();
    if (types)
        for (const auto& type : *types)
            if (type->PoradiSpolecnosti == k + 1)
                return type->Nazev;
    return QStringLiteral("hod%1").arg(k + 1);
}

Result<SmScan> scanStatementFiles(AppState& state, Prompts& prompts, CColStrav* types, int columns,
                                  const SmScanRequest& request, const SmScanVariant& variant) {
    using V = SmScanVariant;
    const CustomerSwitches& sw = state.sw;
    const bool perType = variant.columns == V::Columns::PerType;
    // The excluded list can be longer than an ordinary value: read it whole.
    const QStringList excluded =
        variant.excludeNeexportovat
            ? SmList::parse(state.config.ctiCestu(QStringLiteral("CBA_EXPORT_VEREX"), QStringLiteral("NeexportovatSM"))
                                .value_or(QString()))
            : QStringList();
    const SmList::Filter smFilter(request.txtSM);
    const QString from = dateYYMMDD(request.dt1);
    const QString to = dateYYMMDD(request.dt2);
    const bool byHandOver = sw.gFDatumOdvodu && request.optDatumVyc;
    const QByteArray separator = DejOddelovacExportu(state.config).toUtf8();
    const std::string_view sep(separator.constData(), size_t(separator.size()));
    // 1-based, as the fields are counted: the type number just before the code, the value just after it.
    const int codeField = statementCodeField(state);
    const int typeField = codeField - 1;
    const bool ownValues = variant.value == V::Value::Always || (variant.value == V::Value::FieldOrEuro && sw.gFEuro);

    // With whole-code recognition the summaries' recogniser gives NajdiDelkuKod's answer, kept per code length and
    // the parts the types look at: a month holds about a million lines.
    StoredCodes unusedCodes(types ? types->count() : 0);
    NullReaderControl noReader;
    std::unique_ptr<StoredCodeBooking> fast;
    if (perType && types && sw.gFRozpoznaniKodem)
        fast = std::make_unique<StoredCodeBooking>(state, *types, prompts, noReader, unusedCodes);
    const QByteArray noRead = state.gNoRead.toUtf8();
    std::vector<CColStrav::StravPtr> typeAt;
    const CColStrav::StravPtr noType;
    if (types)
        typeAt.assign(types->begin(), types->end());

    const auto listed = TextFiles::listFolder(state.gDatovyAdresar, QStringLiteral("*.vyc"));
    if (!listed.ok())
        return listed.error();
    struct Taken {
        std::filesystem::path path;
        SmFileSums row; // its `file` is the name
    };
    std::vector<Taken> taken;
    SmScan scan;
    for (const auto& path : listed.value()) {
        // A byte of the name that could not be decoded goes into the tables as '?', as any character their
        // Windows-1250 lacks.
        QString name = TextFiles::toQString(path.filename()).replace(QChar::ReplacementCharacter, u'?');
        if (variant.dropCustomerPrefix && sw.gFZakaznik)
            name = name.mid(2);
        if (name.size() < 11 || !name.endsWith(QLatin1String(".vyc")))
            continue;
        QString datum = left(name, 6);
        if (byHandOver) {
            if (!name.contains(u'-'))
                return Error{0, text(state, "Soubor") + name + text(state, "NeobsDatum")};
            datum = mid(name, 8, 6);
        }
        scan.lastDatum = datum;
        if (datum < from || datum > to)
            continue;
        const auto parts = smOfName(name);
        if (!parts) {
            scan.filesWithoutSm.append(name);
            continue;
        }
        const QString poradi = mid(name, name.size() - 4, 1);
        scan.lastOper = parts->oper.left(3);
        scan.lastPoradi = poradi;
        if (!smFilter.accepts(parts->sm) || SmList::contains(excluded, parts->sm))
            continue;
        if (!request.txtOper.isEmpty() && request.txtOper.compare(parts->oper, Qt::CaseInsensitive) != 0)
            continue;
        taken.push_back(
            {path, SmFileSums{parts->sm, parts->oper.left(3), poradi, datum, std::vector<Currency>(size_t(columns)),
                              std::vector<qint64>(size_t(columns), 0), name}});
    }

    // Every name is tested before any file is read.
    const qint64 total = qint64(taken.size());
    const auto goOn = [&](qint64 done) { return !request.progress || request.progress->step(done, total); };
    for (size_t f = 0; f < taken.size(); ++f) {
        if (!goOn(qint64(f)))
            return Error{0, Progress::cancelledText()};
        // A large file tells its file again after each piece, so that the window keeps answering and a cancel is
        // heard within the file.
        const auto inFile = [&] { return goOn(qint64(f)); };
        SmFileSums& row = taken[f].row;
        const QString& name = row.file;
        qint64 skipped = 0;
        Currency pouk;
        std::optional<Error> failed;
        // A piece at a time: a month's statement file can be larger than the memory it may take.
        const Status read = StatementLine::forEachLineOf(
            taken[f].path,
            [&](std::string_view line) {
                if (failed || StatementLine::trimmed(line).empty())
                    return;
                std::string_view fields[3];
                if (!perType) {
                    // type; code; value
                    if (StatementLine::fieldsAt(line, sep, typeField, fields, 3) < 3) {
                        ++skipped;
                        return;
                    }
                    const int column = fixedColumn(fields[0], columns);
                    if (column < 0)
                        return; // an issuer the report has no column for
                    const auto amount = Currency::parse(fields[2]);
                    if (!amount) {
                        ++skipped;
                        return;
                    }
                    // The vouchers are counted in whole crowns, ties to even.
                    Currency& sum = row.sums[size_t(column)];
                    auto added = (column == 4 ? pouk : sum).plus(*amount);
                    if (added && column == 4)
                        added = added->roundedInRange(0);
                    if (!added) {
                        failed = sumOutOfRange(name, columnName(types, variant.columns, column));
                        return;
                    }
                    sum = column == 4 ? (pouk = *added) : *added;
                    ++row.counts[size_t(column)];
                    return;
                }
                // code; value
                const int found = StatementLine::fieldsAt(line, sep, codeField, fields, 2);
                if (found < (ownValues ? 1 : 2)) {
                    ++skipped;
                    return;
                }
                const std::string_view code = fields[0];
                const std::string_view value = fields[1];
                // Held by the collection: no copy of the pointer per line.
                const CColStrav::StravPtr* type = &noType;
                CColStrav::StravPtr recognised;
                QString codeText;
                if (fast && code != std::string_view(noRead.constData(), size_t(noRead.size()))) {
                    const int index = fast->typeQuietly(code);
                    if (index >= 0)
                        type = &typeAt[size_t(index)];
                } else {
                    codeText = QString::fromUtf8(code.data(), qsizetype(code.size()));
                    recognised = types->NajdiDelkuKod(codeText);
                    type = &recognised;
                }
                if (!*type || (*type)->PoradiSpolecnosti < 1 || (*type)->PoradiSpolecnosti > columns) {
                    scan.lastUnknown = name + QStringLiteral(" Nerozpoznaná stravenka! : ") +
                                       QString::fromUtf8(code.data(), qsizetype(code.size())) + QStringLiteral("\r\n");
                    ++skipped;
                    return;
                }
                std::optional<Currency> amount;
                if (ownValues) {
                    if (codeText.isEmpty())
                        codeText = QString::fromUtf8(code.data(), qsizetype(code.size()));
                    auto worth = ownValue(*type, codeText);
                    if (!worth.ok()) {
                        failed = worth.error();
                        return;
                    }
                    amount = worth.value();
                } else {
                    amount = Currency::parse(value);
                }
                if (!amount) {
                    ++skipped;
                    return;
                }
                const size_t k = size_t((*type)->PoradiSpolecnosti - 1);
                const auto added = row.sums[k].plus(*amount);
                if (!added) {
                    failed = sumOutOfRange(name, (*type)->Nazev);
                    return;
                }
                row.sums[k] = *added;
                ++row.counts[k];
            },
            request.progress ? inFile : std::function<bool()>(), request.pieceSize);
        if (!read.ok())
            return read.error();
        if (failed)
            return *failed;
        if (skipped > 0) {
            scan.skippedLines += skipped;
            scan.skippedFiles.append(name);
        }
        scan.files.push_back(std::move(row));
    }
    if (!goOn(total))
        return Error{0, Progress::cancelledText()};
    return scan;
}

void tellLeftOut(const AppState& state, Prompts& prompts, const SmScan& scan) {
    if (!scan.filesWithoutSm.isEmpty()) {
        prompts.message(text(state, "SouboryBezSM") + scan.filesWithoutSm.join(QStringLiteral(", ")),
                        Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    }
    if (scan.skippedLines > 0) {
        prompts.message(text(state, "NezapocteneRadky") + QString::number(scan.skippedLines) +
                            text(state, "VSouborech") + scan.skippedFiles.join(QStringLiteral(", ")),
                        Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    }
}

} // namespace trv
