// What the pages show of data sets that are unusual but valid.
#include "PageHost.h"

#include "support/ShownWhole.h"

using namespace editor_test;
using varn_test::ShownWhole;

// Races are listed by name ignoring case; races whose names differ only in case keep the data
// file's order, and the character's race is the first of its name, as a look-up finds it.
TEST(PageGuards, RaceListIsSortedAndTwinsKeepTheirOrder) {
    static RulesDatabase* rules = [] { // never freed: characters point into it
        auto* db = new RulesDatabase;
        CVARN_SilentPrompt prompt;
        EXPECT_TRUE(LoadRulesDatabase(*db, VARN_TEST_DATA_DIR "pages1/", prompt));
        auto& races = db->raceTable.races; // Walker, Flyer, Stone
        for (const char* twin : {"walker", "FLYER"}) {
            races.push_back(std::make_unique<CVARN_RaceDesc>(*db->raceTable.FindRace(twin)));
            races.back()->name = twin;
        }
        return db;
    }();
    PageHost host(*rules, "Walker");
    auto* page = host.Add<CVARN_PageAttributes>();
    auto* race = page->findChild<QComboBox*>();
    ASSERT_NE(race, nullptr);
    QStringList shown;
    QList<int> indexes;
    for (int i = 0; i < race->count(); ++i) {
        shown << race->itemText(i);
        indexes << race->itemData(i).toInt();
    }
    EXPECT_EQ(shown, QStringList({"Flyer", "FLYER", "Stone", "Walker", "walker"}));
    EXPECT_EQ(indexes, QList<int>({1, 4, 2, 0, 3}));
    EXPECT_EQ(race->currentIndex(), 3);
}
