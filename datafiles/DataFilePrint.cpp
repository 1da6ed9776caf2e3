#include "datafiles/DataFilePrint.h"

#include "core/AppState.h"
#include "core/Booking.h"
#include "core/CColStrav.h"
#include "core/NominalTable.h"
#include "core/SharedHelpers.h"
#include "datafiles/DataFileOps.h"
#include "platform/Conventions.h"
#include "platform/Printer.h"
#include "platform/TextFiles.h"

#include <map>

namespace trv::DataFilePrint {

namespace {

const QString kSection = QStringLiteral("frmSoubory");

QString blanks(qsizetype n) {
    return DataFileOps::mezery(n);
}

// A horizontal rule of a table at the current position; the position stays.
void rule(Printer& p) {
    const int x = p.currentX();
    const int y = p.currentY();
    p.drawLine(x + 430, y, x + 6230, y);
    p.setCurrentX(x);
    p.setCurrentY(y);
}

// The verticals of the row just printed, up from the current position.
void verticals(Printer& p, std::initializer_list<int> offsets) {
    const int x = p.currentX();
    const int y = p.currentY();
    for (int k : offsets) {
        p.drawLine(x + k, y - 450, x + k, y);
        p.setCurrentX(x);
        p.setCurrentY(y);
    }
}

} // namespace

Result<QStringList> nactiKTisku(const std::filesystem::path& file) {
    return TextFiles::readLines(file);
}

void tiskniText(Printer& printer, const QStringList& lines) {
    for (const QString& line : lines)
        printer.print(line);
}

void zauctujUlozenyRadek(Booking& booking, const QString& line, const std::filesystem::path& file,
                         QStringList& refused) {
    // A stored code is booked also when its value table lacks it (it counts 0); a line of no known type is
    // named once the whole file is read.
    const auto booked = booking.PridejUlozenyKod(line, 1, file);
    if (!booked.ok())
        refused.append(booked.message());
}

Result<std::vector<SouhrnTypu>> spocti(AppState& state, Prompts& prompts, const Clock& clock, ReaderControl& reader,
                                       const std::filesystem::path& file) {
    const auto lines = TextFiles::readLines(file);
    if (!lines.ok())
        return lines.error();
    CColStrav types(state, prompts, clock);
    if (Status loaded = types.NactiINI(); !loaded.ok())
        return loaded.error();
    Booking booking(state, types, prompts, reader);
    QStringList refused;
    for (const QString& line : lines.value())
        zauctujUlozenyRadek(booking, line, file, refused);
    booking.ohlasNerozpoznane(refused, false);

    std::vector<SouhrnTypu> result;
    for (const auto& type : types) {
        SouhrnTypu summary;
        summary.nazev = type->Nazev;
        for (const auto& [value, count] : nominalTableAtZero(*type, state.gNoRead, prompts))
            summary.radky.push_back(Radek{value, count});
        result.push_back(std::move(summary));
    }
    return result;
}

void tiskniSouhrn(Printer& p, const Config& config, const std::vector<SouhrnTypu>& typy, const Hlavicka& hlavicka) {
    auto text = [&](const char* key) { return config.DejText(kSection, QString::fromLatin1(key)); };

    if (!hlavicka.fontName.isEmpty())
        p.setFontName(hlavicka.fontName);
    if (!hlavicka.obrazek.empty())
        (void)p.drawPicture(hlavicka.obrazek, 250, 250, 1800, 1800); // the summary prints without its logo too
    p.setCurrentX(2200);
    p.setCurrentY(1000);
    p.setFontSize(16);
    p.setUnderline(false);
    p.print(text("TiskHlav"));
    p.print();
    p.setCurrentX(2500);
    p.print(QStringLiteral("SM:..................."));
    p.setFontSize(10);
    p.print();
    p.print();
    p.print();
    p.setFontSize(12);
    p.setCurrentX(2200);
    p.print(hlavicka.firma);
    p.setFontSize(10);
    p.setUnderline(false);
    p.print();
    p.print();

    Currency celkem;
    qint64 celkemKs = 0;
    for (const SouhrnTypu& typ : typy) {
        p.print();
        p.setBold(true);
        rule(p);
        p.setBold(false);
        p.setBold(true);
        p.print(blanks(20) + typ.nazev);
        p.setBold(false);
        rule(p);
        if (typ.radky.empty()) {
            p.print(text("NebylyNact"));
            p.print();
            continue;
        }
        Currency suma;
        qint64 ks = 0;
        p.setBold(true);
        p.print(blanks(7) + text("HodnMnozSoucKc"));
        p.setBold(false);
        rule(p);
        verticals(p, {430, 6230});
        for (const Radek& r : typ.radky) {
            const Currency castka = r.hodnota * r.pocet;
            p.print(blanks(5) + padLeft(formatNumber(r.hodnota, u"###0.00"), 10) + blanks(7) + QStringLiteral("X") +
                    blanks(3) + padLeft(QString::number(r.pocet), 9) + blanks(8) + QStringLiteral("=") + blanks(3) +
                    padLeft(formatCurrency(castka), 16));
            suma += castka;
            ks += r.pocet;
            rule(p);
            verticals(p, {430, 1700, 2600, 3800, 4600, 6230});
        }
        p.setBold(true);
        p.print(blanks(7) + text("Soucet") + blanks(8) + QStringLiteral("X") + blanks(3) + blanks(5) + signedText(ks) +
                QStringLiteral(" ") + blanks(7) + QStringLiteral("=") + blanks(2) + padLeft(formatCurrency(suma), 16));
        p.setBold(false);
        rule(p);
        verticals(p, {430, 1700, 2600, 3800, 4600, 6230});
        p.print();
        celkem += suma;
        celkemKs += ks;
        p.setUnderline(false);
    }

    p.printContinued(blanks(5));
    p.setBold(true);
    p.print(text("TiskCelkZaTypy"));
    p.setBold(false);
    p.print(blanks(5) + text("TiskCelkCastka") + padLeft(formatCurrency(celkem), 18));
    p.print(blanks(5) + text("TiskCelkPocet") + padLeft(QString::number(celkemKs), 12) + QStringLiteral(" ks"));
    p.print();
    p.print();
    p.print(blanks(5) + dateShort(hlavicka.cas.date()) + QStringLiteral(" ") + timeHms(hlavicka.cas.time()));
}

} // namespace trv::DataFilePrint
