#pragma once

// Writes a program folder's TypStrav.ini with any number of voucher types of full size (every key the loader
// reads, plus a few keys of other programs: 94 keys a section), and the codes that each type recognises. The
// types share twelve code lengths (10 to 21 characters) and are told apart by a distinguishing number at the
// start of the code, as the definition files of large installations do.

#include <QFile>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <stdexcept>
#include <vector>

namespace trv::bench {

inline constexpr int kGeneratedLengths = 12;

inline int generatedLength(int n)
{
    return 10 + (n - 1) % kGeneratedLengths;
}

inline QString generatedPrefix(int n)
{
    return QString::number(10 + (n - 1) / kGeneratedLengths);
}

// A code of type n: its distinguishing number, the type's number, a face value of 8,50.
inline QString generatedCode(int n)
{
    const int length = generatedLength(n);
    return generatedPrefix(n) + QString::number(n).rightJustified(length - 6, u'0') + QStringLiteral("0850");
}

inline QStringList generatedSection(int n)
{
    const int length = generatedLength(n);
    const QString num = QString::number(n);
    QStringList keys = {
        QStringLiteral("Nazev=Typ%1 Stravenka").arg(n),
        QStringLiteral("Delka=%1").arg(length),
        QStringLiteral("Delka2=0"),
        QStringLiteral("DelkaCastka=4"),
        QStringLiteral("KoefCastka=1"),
        QStringLiteral("PozCastka=%1").arg(length - 3),
        QStringLiteral("PozRok=0"),
        QStringLiteral("DelkaRok=1"),
        QStringLiteral("PozRok2=0"),
        QStringLiteral("DelkaRok2=1"),
        QStringLiteral("PozRCDarkove=3"),
        QStringLiteral("DelkaRCDarkove=2"),
        QStringLiteral("RCDarkove=91,92"),
        QStringLiteral("RCBlokovaneDarkove=93"),
        QStringLiteral("PozRCDarkove2=1"),
        QStringLiteral("DelkaRCDarkove2=1"),
        QStringLiteral("RCDarkove2="),
        QStringLiteral("RCBlokovaneDarkove2="),
        QStringLiteral("ILKontrola=0"),
        QStringLiteral("Export=0"),
        QStringLiteral("Pripona=exp"),
        QStringLiteral("Cesta=export"),
        QStringLiteral("ExpTyp=SODEXHO"),
        QStringLiteral("GainLevel=3"),
        QStringLiteral("ScanSpeed=2"),
        QStringLiteral("LaserPower=4"),
        QStringLiteral("Provize=1,5"),
        QStringLiteral("DPH=21"),
        QStringLiteral("RozlisovaciCislo=") + generatedPrefix(n),
        QStringLiteral("PoziceRC=1"),
        QStringLiteral("ObsahujeRC=1"),
        QStringLiteral("DelkaCastka2=0"),
        QStringLiteral("KoefCastka2=0"),
        QStringLiteral("PozCastka2=0"),
        QStringLiteral("ProductRC="),
        QStringLiteral("ObsahujeProduktRC=0"),
        QStringLiteral("PoziceProduktRC=0"),
        QStringLiteral("PoziceProduktRC2=0"),
        QStringLiteral("RozlisovaciCislo2="),
        QStringLiteral("delka1PoziceRC1=-1"),
        QStringLiteral("delka2PoziceRC1=-1"),
        QStringLiteral("delka1PoziceRC2=-1"),
        QStringLiteral("delka2PoziceRC2=-1"),
        QStringLiteral("ObsahujeRC2=-1"),
        QStringLiteral("RozlisovaciCislo3="),
        QStringLiteral("delka1PoziceRC3=-1"),
        QStringLiteral("delka2PoziceRC3=-1"),
        QStringLiteral("ObsahujeRC3=-1"),
        QStringLiteral("delkaCh22PoziceRC1=-1"),
        QStringLiteral("delkaCh22PoziceRC2=-1"),
        QStringLiteral("delkaCh22PoziceRC3=-1"),
        QStringLiteral("PozRCDarkoveCh22=1"),
        QStringLiteral("DelkaRCDarkoveCh22=1"),
        QStringLiteral("RCDarkoveCh22="),
        QStringLiteral("RCBlokovaneDarkoveCh22="),
        QStringLiteral("MaxVycetkaSum=500000"),
        QStringLiteral("VarnVycetkaSum=450000"),
        QStringLiteral("LastVycetkaDate=260301"),
        QStringLiteral("ExpCisloProvozovny=") + num,
        QStringLiteral("ExpKodProvozovny=P") + num,
        QStringLiteral("ExpNazevProvozovny=Provozovna ") + num,
        QStringLiteral("ExpUlice=Dlouha ") + num,
        QStringLiteral("ExpMesto=Praha"),
        QStringLiteral("ExpIco=4%1").arg(n, 7, 10, QChar(u'0')),
        QStringLiteral("ExpKontakt=Jan Novak"),
        QStringLiteral("ExpTelPredvolba=+420"),
        QStringLiteral("ExpTel=2%1").arg(n, 8, 10, QChar(u'0')),
        QStringLiteral("ExpFax=3%1").arg(n, 8, 10, QChar(u'0')),
        QStringLiteral("ExpEmail=typ%1@example.cz").arg(n),
        QStringLiteral("ExpSpecSymbol=") + num,
        QStringLiteral("ExpFormularExe=formular.exe"),
        QStringLiteral("CBAUcetMD=311"),
        QStringLiteral("KodTypu=") + num,
        QStringLiteral("Vydavatel=V") + num,
        QStringLiteral("PovolitRok1=2025"),
        QStringLiteral("PovolitRok2=2026"),
        QStringLiteral("PovolitRok3=2027"),
        QStringLiteral("PovolitRok4=0"),
        QStringLiteral("PovolitRok5=0"),
        QStringLiteral("PovolitDo1=31.1.2026"),
        QStringLiteral("PovolitDo2=31.1.2027"),
        QStringLiteral("PovolitDo3=31.1.2028"),
        QStringLiteral("PovolitDo4=1.1.2004"),
        QStringLiteral("PovolitDo5=1.1.2004"),
        QStringLiteral("PozInterleave1=0"),
        QStringLiteral("PozInterleave2=0"),
        QStringLiteral("Poukaz=0"),
        QStringLiteral("TabulkaHodnot="),
        QStringLiteral("TypCK=interleave2of5"),
        QStringLiteral("TypCRC="),
    };
    // Keys of the other programs that share the file.
    for (int i = 1; keys.size() < 94; ++i)
        keys.append(QStringLiteral("Poznamka%1=doplnek %2").arg(i).arg(n));
    return keys;
}

// Writes TypStrav.ini with `count` types into the folder.
inline void writeTypeFolder(const std::filesystem::path& folder, int count)
{
    QStringList lines = {QStringLiteral("; Generated voucher types"), QStringLiteral("[TYPY]"),
                         QStringLiteral("Pocet=%1").arg(count), QString()};
    for (int n = 1; n <= count; ++n) {
        lines.append(QStringLiteral("[TYP%1]").arg(n));
        lines += generatedSection(n);
        lines.append(QString());
    }
    QFile file(QString::fromStdU16String((folder / "TypStrav.ini").u16string()));
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the generated TypStrav.ini");
    file.write(lines.join(QStringLiteral("\r\n")).toLatin1());
}

// One code of each type, then codes no type takes (a length no type has, a distinguishing number no type has).
inline std::vector<QString> generatedCodes(int count)
{
    std::vector<QString> codes;
    for (int n = 1; n <= count; ++n)
        codes.push_back(generatedCode(n));
    codes.push_back(QStringLiteral("123456789012345678901234567890"));
    codes.push_back(QStringLiteral("990000000850"));
    return codes;
}

} // namespace trv::bench
