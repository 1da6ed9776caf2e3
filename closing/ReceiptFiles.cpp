#include "closing/ReceiptFiles.h"

#include "closing/ValuedCodes.h"
#include "core/AppState.h"
#include "core/CColStrav.h"
#include "core/SafeBagList.h"
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

namespace {

// Every code held, a line each, written as the codes are passed: a day of 50,000 codes is never copied into a list.
Status writeAllCodes(const std::filesystem::path& file, const CColStrav& types) {
    return TextFiles::writeLines(file, [&types](const TextFiles::LineSink& line) {
        types.proKazdyKod([&line](const QString& code) { line(code); });
        return true;
    });
}

} // namespace

Status zapisDenniSoubor(const std::filesystem::path& file, const CColStrav& types) {
    if (jenProCteni(file)) {
        return Status::fail(
            QStringLiteral("Soubor %1 je jen pro čtení: příjem do něj nelze uložit.").arg(TextFiles::toQString(file)));
    }
    return writeAllCodes(file, types);
}

std::filesystem::path cestaVycetky(const std::filesystem::path& dayFile) {
    const QString path = TextFiles::toQString(dayFile);
    return TextFiles::toPath(path.left(path.size() - 3) + QStringLiteral("vyc"));
}

void pripojHodnotu(QString& out, Currency value) {
    const qint64 units = value.units();
    // Voucher values are whole hundredths: those are written directly (a statement may hold 50,000 of them);
    // anything finer goes through the pattern formatter, which rounds it.
    if (units % (Currency::kUnitsPerWhole / 100) != 0) {
        out += formatNumber(value, u"###0.00");
        return;
    }
    qint64 cents = units / (Currency::kUnitsPerWhole / 100);
    if (cents < 0) {
        out += u'-';
        cents = -cents;
    }
    // Digits from the right into a buffer of the longest value: no text is made for the whole part.
    char16_t digits[24];
    qsizetype at = std::size(digits);
    digits[--at] = char16_t(u'0' + cents % 10);
    digits[--at] = char16_t(u'0' + cents / 10 % 10);
    digits[--at] = u',';
    qint64 whole = cents / 100;
    do {
        digits[--at] = char16_t(u'0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    out += QStringView(digits + at, std::size(digits) - at);
}

Status zaznamyVycetky(const AppState& state, const CColStrav& types, const ReceiptInfo& receipt,
                      const QString& separator, const TextFiles::LineSink& record) {
    // The fields before the type number are the same in every record.
    QStringList lead;
    if (state.sw.gFDepo)
        lead = {receipt.gDepo, receipt.gDatumPrijmu, receipt.gIdentObalky, receipt.gSM};
    else if (state.sw.gFVycBezData)
        lead = {receipt.gDatumPrijmu, receipt.gSM};
    else
        lead = {receipt.gDatumVycetky, receipt.gDatumPrijmu, receipt.gSM};
    const QString prefix = lead.join(separator) + separator;

    // One text is reused for every record; the type number and the value change rarely from one code to the next.
    QString text;
    qint32 lastType = -1;
    QString typeNumber;
    std::optional<Currency> lastValue;
    QString valueText;
    return proKazdyOcenenyKod(types, state.gNoRead, [&](const ValuedCode& c) {
        if (c.typeNumber != lastType) {
            lastType = c.typeNumber;
            typeNumber = QString::number(c.typeNumber);
        }
        if (!lastValue || *lastValue != c.value) {
            lastValue = c.value;
            valueText.resize(0);
            pripojHodnotu(valueText, c.value);
        }
        text.resize(0);
        text += prefix;
        text += typeNumber;
        text += separator;
        text += c.code.Kod;
        text += separator;
        text += valueText;
        text += separator;
        text += receipt.gOperator;
        record(text);
    });
}

Result<std::filesystem::path> zapisSafeBag(const std::filesystem::path& folder, const CColStrav& types,
                                           const QDateTime& now) {
    return zapisSeznamSafeBag(
        folder,
        [&types](const TextFiles::LineSink& line) {
            types.proKazdyKod([&line](const QString& code) { line(code); });
            return true;
        },
        now);
}

} // namespace trv
