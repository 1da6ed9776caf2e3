#include "closing/ReceiptFiles.h"

#include "closing/ValuedCodes.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Conventions.h"
#include "platform/TextFiles.h"

namespace trv {

bool jenProCteni(const std::filesystem::path& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (ec || !std::filesystem::is_regular_file(status))
        return false;
    return (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

Status zapisDenniSoubor(const std::filesystem::path& file, const CColStrav& types) {
    if (jenProCteni(file)) {
        return Status::fail(
            QStringLiteral("Soubor %1 je jen pro čtení: příjem do něj nelze uložit.").arg(TextFiles::toQString(file)));
    }
    return TextFiles::writeLines(file, types.kodyVsechTypu());
}

std::filesystem::path cestaVycetky(const std::filesystem::path& dayFile) {
    const QString path = TextFiles::toQString(dayFile);
    return TextFiles::toPath(path.left(path.size() - 3) + QStringLiteral("vyc"));
}

Result<QStringList> zaznamyVycetky(const AppState& state, const CColStrav& types, const ReceiptInfo& receipt,
                                   const QString& separator) {
    QStringList records;
    const Status valued = proKazdyOcenenyKod(types, state.gNoRead, [&](const ValuedCode& c) {
        const QString typeNumber = QString::number(c.typeNumber);
        const QString valueText = formatNumber(c.value, u"###0.00");
        QStringList fields;
        if (state.sw.gFDepo) {
            fields = {receipt.gDepo, receipt.gDatumPrijmu, receipt.gIdentObalky, receipt.gSM, typeNumber, c.code.Kod,
                      valueText,     receipt.gOperator};
        } else if (state.sw.gFVycBezData) {
            fields = {receipt.gDatumPrijmu, receipt.gSM, typeNumber, c.code.Kod, valueText, receipt.gOperator};
        } else {
            fields = {receipt.gDatumVycetky, receipt.gDatumPrijmu, receipt.gSM, typeNumber, c.code.Kod, valueText,
                      receipt.gOperator};
        }
        records.append(fields.join(separator));
    });
    if (!valued.ok())
        return valued.error();
    return records;
}

Result<std::filesystem::path> zapisSafeBag(const std::filesystem::path& folder, const CColStrav& types,
                                           const QDateTime& now) {
    QDateTime at = now;
    std::filesystem::path file;
    for (;;) {
        const QString stamp = at.toString(QStringLiteral("yyMMddHHmmss"));
        file = folder / (stamp + QStringLiteral(".sfb")).toStdU16String();
        const auto taken = folder / (stamp + QStringLiteral(".exp")).toStdU16String();
        if (!TextFiles::exists(file) && !TextFiles::exists(taken))
            break;
        at = at.addSecs(1);
    }
    if (Status written = TextFiles::writeLines(file, types.kodyVsechTypu()); !written.ok())
        return written.error();
    return file;
}

} // namespace trv
