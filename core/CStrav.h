#pragma once

#include "core/CColPolozky.h"
#include "core/ValueTable.h"
#include "core/VoucherContext.h"
#include "platform/Currency.h"
#include "platform/IniDocument.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace trv {

// One kind of voucher or cheque of one issuing company: the code layout it is recognised by, how its face
// value is read, validity, gift-voucher lists, check-digit settings, statement limits, export and reader
// settings, and the codes read for it in this run (Polozky). One object per [TYPn] section of the
// definition file. Integer fields keep the width the definition files have always had: qint16 where the
// file's value must fit 16 bits, qint32 for the wider ones.
class CStrav {
public:
    CStrav();

    // --- Validity, gift-voucher lists (for codes of length Delka, 22-character cheques and length Delka2)
    qint16 delkaRok = 0;
    qint16 delkaRok2 = 0;
    qint16 pozRCDarkove = 0;
    qint16 delkaRCDarkove = 0;
    QString RCDarkove;
    QString RCBlokovaneDarkove;
    qint16 pozRCDarkoveCh22 = 0;
    qint16 delkaRCDarkoveCh22 = 0;
    QString RCDarkoveCh22;
    QString RCBlokovaneDarkoveCh22;
    qint16 pozRCDarkove2 = 0;
    qint16 delkaRCDarkove2 = 0;
    QString RCDarkove2;
    QString RCBlokovaneDarkove2;

    // --- Site and contact data of the per-issuer list export
    QString cisloProvozovny;
    QString druhProduktu;
    QString kodProvozovny;
    QString nazevProvozovny;
    QString ulice;
    QString mesto;
    QString ico;
    QString kontakt;
    QString telPredvolba;
    QString tel;
    QString fax;
    QString email;
    QString specSymbol;
    QString FormularExe;

    // --- Running package sum and its moving warning threshold
    Currency sumaStravenek;
    Currency varningSumVycetkaPohyb;

    // --- CBA export, product number, distinguishing numbers 2 and 3
    QString CBAUcetMD;
    QString produktRC;
    QString obsahujeProduktRC;
    qint16 poziceProduktRC = 0;
    qint16 poziceProduktRC2 = 0;
    QString RozlisovaciCislo2;
    qint16 delka1PoziceRC1 = 0;
    qint16 delka2PoziceRC1 = 0;
    qint16 delka1PoziceRC2 = 0;
    qint16 delka2PoziceRC2 = 0;
    qint16 ObsahujeRC2 = 0;
    QString RozlisovaciCislo3;
    qint16 delka1PoziceRC3 = 0;
    qint16 delka2PoziceRC3 = 0;
    qint16 ObsahujeRC3 = 0;
    qint16 delkaCh22PoziceRC1 = 0;
    qint16 delkaCh22PoziceRC2 = 0;
    qint16 delkaCh22PoziceRC3 = 0;

    // --- Product group, type code, issuer ("CHE" marks a cheque type)
    qint16 groupType = 0;
    qint16 kodTypu = 0;
    QString vydavatel;

    // --- Allowed validity years and the day up to which each is accepted
    qint16 pRok1 = 0;
    qint16 pRok2 = 0;
    qint16 pRok3 = 0;
    qint16 pRok4 = 0;
    qint16 pRok5 = 0;
    QDate pPovolitDo1;
    QDate pPovolitDo2;
    QDate pPovolitDo3;
    QDate pPovolitDo4;
    QDate pPovolitDo5;

    // --- Check digits, flag, value table
    qint16 pozInterleave1 = 0;
    qint16 pozInterleave2 = 0;
    bool poukaz = false;
    QString TabulkaHodnot; // file name of the value table; empty: the value is read from the code
    // The value table built from that file (empty when the file is missing); null without TabulkaHodnot.
    std::shared_ptr<ValueTable> TabulkaHodnotDict;
    QString TypCK;
    QString TypCRC;

    // --- Statement limits
    QString LastVycetkaDate; // YYMMDD
    // The file held LastVycetkaDate or it was set since; otherwise it is the load's day and is not saved.
    bool lastVycetkaDateSet = false;
    void nastavLastVycetkaDate(const QString& yymmdd)
    {
        LastVycetkaDate = yymmdd;
        lastVycetkaDateSet = true;
    }
    Currency MaxVycetkaSum;
    Currency VarningVycetkaSum;

    // --- Period reports and the per-company export
    double Provize = 0;
    double DPH = 0;
    QString ExpTyp;
    QString Cesta;
    QString Pripona;
    qint32 Export = 0; // per-company export on (1) or off

    // --- Codes: the ones booked in this run, and a second collection only VratDupl uses
    std::shared_ptr<CColPolozky> DuplPol;
    std::shared_ptr<CColPolozky> Polozky;

    // --- Code layout and value fields (set 1 for length Delka, set 2 for Delka2), reader settings
    qint32 CheckIL = 0;
    qint32 KoefCastka = 0;
    qint32 DelkaCastka = 0;
    qint32 PozCastka = 0;
    qint32 KoefCastka2 = 0;
    qint32 DelkaCastka2 = 0;
    qint32 PozCastka2 = 0;
    qint32 PozRok = 0;
    qint32 PozRok2 = 0;
    qint32 Delka = 0;
    qint32 Delka2 = 0;
    QString Nazev;
    qint32 GainLevel = 0;
    qint32 ScanSpeed = 0;
    qint32 LaserPower = 0;
    QString RozlisovaciCislo; // distinguishing numbers 1, comma-separated
    qint16 PoziceRC = 0;
    qint16 ObsahujeRC = 0;
    qint16 PoradiSpolecnosti = 0; // the number of the type's section, so 1 for the first type

    // The type's section as the load found it: the save writes back the keys it does not know, so that a save
    // keeps every setting of the file. The loaded file is shared by all its types and read only when saving.
    struct LoadedSection {
        std::shared_ptr<const IniSections> file;
        QString name;
        // The keys in file order, values as written; none for a type that was not loaded from a file.
        std::vector<std::pair<QString, QString>> entries() const {
            return file ? file->section(name).entries(name) : std::vector<std::pair<QString, QString>>();
        }
    };
    LoadedSection sectionKeys;

    // The sum of the face values of the booked codes (NOREAD entries left out), stored in sumaStravenek.
    Result<Currency> nactiSoucetStravenek();
    // The same sum computed afresh, "########0.00" with a decimal point whatever the regional settings.
    Result<QString> hodnotaStravenek() const;
    // Moves every code of DuplPol to the end of Polozky and empties DuplPol.
    void VratDupl();

    // The sum of the values of the booked codes taken without their sign (NOREAD entries and codes that cannot be
    // valued left out): no sum made of the type's codes, however they are grouped, lies farther from 0. nullopt
    // when it lies past the money type's range. Remembered, and carried on over codes appended since, so that
    // weighing the receipt at every code read costs little; any other change of the codes or of their valuation
    // has it worked out afresh.
    std::optional<Currency> vahaKodu() const;

    // Names what a code's face value is worked out from: this type's code layout, value fields, value table and
    // name, and the program's value switches. It stays the same while none of them changes, and is never given
    // again once any did, so a value remembered with it is still the code's value while it is unchanged.
    quint64 valuationStamp() const;

    // The program around the type; set by the collection that holds it.
    const VoucherContext* context() const { return m_context.get(); }
    void setContext(std::shared_ptr<const VoucherContext> context) { m_context = std::move(context); }

private:
    Result<Currency> soucet() const;

    // What valuationStamp() last found, and the stamp it gave for it.
    struct ValuationInputs {
        QString nazev;
        QString tabulkaHodnot;
        const ValueTable* table = nullptr;
        quint64 tableRevision = 0;
        std::array<qint32, 8> layout{};
        std::array<bool, 4> switches{};
        const VoucherContext* context = nullptr;
    };
    mutable ValuationInputs m_valuationInputs;
    mutable quint64 m_valuationStamp = 0;

    // What vahaKodu() last found: the codes' first `count` items, the last of them held so that it is told
    // apart from any item appended after a removal.
    struct KnownWeight {
        std::weak_ptr<const CColPolozky> codes;
        qint32 count = 0;
        std::shared_ptr<const CPolozka> last;
        quint64 stamp = 0;
        QString noRead;
        std::optional<Currency> weight;
    };
    mutable std::optional<KnownWeight> m_knownWeight;

    std::shared_ptr<const VoucherContext> m_context;
};

} // namespace trv
