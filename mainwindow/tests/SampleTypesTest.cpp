// The sample program folder with its own switches, and with statement mode (position 10), customer mode
// (position 27, which tries the types last first) and both: a valid code of each sample voucher type, read
// through the code processor, is booked as that type at its value.

#include "mainwindow/tests/ReaderRig.h"

#include "core/SettingsLoader.h"
#include "platform/ProfileFile.h"

#include <QDir>

using namespace trv;
using namespace trv::test;

namespace {

class SampleTypesTest : public ::testing::TestWithParam<std::vector<int>> {};

} // namespace

TEST_P(SampleTypesTest, EveryTypesCodeIsRecognisedAsThatTypeAtItsValue) {
    ReaderRig rig(std::vector<TypeDef>{});
    const auto sample = TextFiles::toPath(QDir::cleanPath(QStringLiteral(TRV_TEST_DATA "/../../../sample")));
    std::filesystem::copy(sample, rig.root,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    const auto ini = rig.root / "TRV7300.ini";
    QString firmaId = ProfileFile::read(ini, QStringLiteral("Firma"), QStringLiteral("FirmaID"), QString());
    for (const int position : GetParam()) {
        if (firmaId.size() < position)
            firmaId = firmaId.leftJustified(position, u'0');
        firmaId[position - 1] = u'1';
    }
    ASSERT_TRUE(ProfileFile::write(ini, QStringLiteral("Firma"), QStringLiteral("FirmaID"), firmaId).ok());
    ASSERT_TRUE(NactiNastaveni(rig.state).ok());
    rig.state.gColStrav = std::make_shared<CColStrav>(rig.state, rig.prompts, rig.clock);
    ASSERT_TRUE(rig.state.gColStrav->NactiINI().ok());

    const struct {
        const char* code;
        const char* type;
        qint64 cents;
    } cases[] = {
        {"1012342601005", "Alfa Stravenka", 10000},
        {"0321054321", "Beta Poukázka", 10000}, // valued by its table: key 03
        {"3000000001205", "Gama Jídlo", 12000},
        {"3100000000012501", "Gama Jídlo", 1250}, // the second length, in hundredths
        {"4000000000755", "Delta Menu", 7500},
        {"5100000000905", "Epsilon Oběd", 9000},
        {"6300000001105", "Zeta Bufet", 11000},
        {"70510000000900", "Eta Benefit", 9000},
        {"990000000065", "Theta Karta", 6500},
        {"123456789125100001000000", "CHE Dárkový šek", 10000},
        {"248400000281050002000000", "CBA Dárkový šek", 5000},
        {"111222333353150003000600", "SEKSERVIS Poukaz", 15000},
        {"8000000000011003", "Iota Stravenka", 11000},
        {"810000000000002007", "Kappa Dovolená", 20000},
        {"82000000000000009504", "Lambda Poukaz", 9500},
        {"8300000000000000010502", "My Jídelní", 10500},
        {"84000000085", "Ny Oběd", 8500},
        {"850000000000070", "Xí Volno", 7000},
        {"8600000000605", "Omikron Sport", 6000},
        {"8900000001505", "Pí Kultura", 15000},
        {"9900000000505", "Rhó Univerzál", 5000},
    };
    QSet<QString> covered;
    for (const auto& c : cases) {
        const QString code = QString::fromLatin1(c.code);
        SCOPED_TRACE(c.code);
        rig.buffer.append(code + QStringLiteral("\r\n"));
        rig.processor.ZpracujKod();
        std::shared_ptr<CPolozka> booked;
        for (const auto& t : *rig.state.gColStrav) {
            for (const auto& p : *t->Polozky) {
                if (p->Kod == code)
                    booked = p;
            }
        }
        ASSERT_TRUE(booked) << rig.messages().join(u'\n').toStdString();
        ASSERT_TRUE(booked->TypS());
        EXPECT_EQ(booked->TypS()->Nazev, QString::fromUtf8(c.type));
        const auto value = booked->DejHodnotu();
        ASSERT_TRUE(value.ok()) << value.message().toStdString();
        EXPECT_EQ(value.value(), Currency::fromCents(c.cents));
        covered.insert(QString::fromUtf8(c.type));
    }
    EXPECT_TRUE(rig.messages().isEmpty()) << rig.messages().join(u'\n').toStdString();
    // Every type of the sample has its code here.
    EXPECT_EQ(covered.size(), rig.state.gColStrav->count());
}

INSTANTIATE_TEST_SUITE_P(Modes, SampleTypesTest,
                         ::testing::Values(std::vector<int>{}, std::vector<int>{10}, std::vector<int>{27},
                                           std::vector<int>{10, 27}));
