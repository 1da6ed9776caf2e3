#include "receipt/DocumentKind.h"

#include "core/AppState.h"
#include "core/DocumentNumbering.h"

#include <gtest/gtest.h>

using namespace trv;

TEST(DocumentKindTest, EachKindSetsItsSwitchAndSeriesOnlyForTheExactText) {
    const struct {
        const char* text;
        const char* key;
    } cases[] = {
        {"Faktura", "LastFile"},    {"Dobropis", "LastDobr"}, {"Dovolena", "LastDovolena"},
        {"Dárkové", "LastDarkove"}, {"Uni", "LastUni"},       {"uni", "LastFile"},
        {"Uni ", "LastFile"},       {"DOBROPIS", "LastFile"}, {"", "LastFile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        AppState state;
        nastavDruhDokladu(state, QString::fromUtf8(c.text));
        EXPECT_EQ(druhDokladu(state).key, QString::fromLatin1(c.key));
        const int on = int(state.gTypDobropis) + int(state.gTypDovolena) + int(state.gTypDarkove) + int(state.gTypUni);
        EXPECT_EQ(on, QString::fromLatin1(c.key) == QLatin1String("LastFile") ? 0 : 1);
    }
}

TEST(DocumentKindTest, AKindChosenForAnEarlierReceiptDoesNotCarryOver) {
    AppState state;
    nastavDruhDokladu(state, QStringLiteral("Dobropis"));
    EXPECT_EQ(druhDokladu(state).key, QStringLiteral("LastDobr"));
    nastavDruhDokladu(state, QStringLiteral("Faktura"));
    EXPECT_EQ(druhDokladu(state).key, QStringLiteral("LastFile"));
    nastavDruhDokladu(state, QStringLiteral("Dovolena"));
    nastavDruhDokladu(state, QStringLiteral("Uni"));
    EXPECT_FALSE(state.gTypDovolena);
    EXPECT_EQ(druhDokladu(state).key, QStringLiteral("LastUni"));
}
