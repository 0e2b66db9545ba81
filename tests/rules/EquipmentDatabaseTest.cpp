#include "rules/EquipmentDatabase.h"
#include "rules/RecordingPrompt.h"
#include "rules/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Equipment {
    EquipmentDatabase db;
    RecordingPrompt prompt;
};

void Read(Equipment& e, const std::string& content) {
    TempDir dir;
    dir.Write("Equipment.dat", content);
    EXPECT_EQ(ReadEquipment(e.db, dir.path, e.prompt), ReadResult::Ok);
}

} // namespace

TEST(EquipmentDatabase, SectionsSelectListsAndPaths) {
    Equipment e;
    Read(e, Input("equipment1.dat"));
    EXPECT_TRUE(e.prompt.messages.empty());
    ASSERT_EQ(e.db.weapons.size(), 2u);
    EXPECT_EQ(e.db.FindWeapon("BROADSWORD"), e.db.weapons[0].get());
    EXPECT_EQ(e.db.weapons[0]->path, (std::vector<std::string>{"Blades", "Long"}));
    // Cost, damage, strength, dexterity, weight, size; "Half line" stopped at "oops".
    for (const auto& [w, values] : {std::pair{e.db.weapons[0].get(), "10 2 5 11 1 1"},
                                    std::pair{e.db.weapons[1].get(), "3 4 0 0 0 0"}}) {
        std::ostringstream read;
        read << w->cost << ' ' << w->damage << ' ' << w->minStrength << ' ' << w->minDexterity
             << ' ' << w->weight << ' ' << w->size;
        EXPECT_EQ(read.str(), values) << w->name;
    }

    ASSERT_EQ(e.db.misc.size(), 1u);
    EXPECT_FLOAT_EQ(e.db.misc[0]->cost, 1.5f);
    EXPECT_FLOAT_EQ(e.db.misc[0]->weight, 20);
    EXPECT_TRUE(e.db.misc[0]->path.empty());
    const CVARN_ItemShield& buckler = *e.db.FindShield("buckler");
    EXPECT_FLOAT_EQ(buckler.weight, 5.5f);
    EXPECT_EQ(buckler.shatter, 17);
    // Outside a thread-armour section a power line is an item named by the whole line.
    ASSERT_EQ(e.db.armors.size(), 1u);
    EXPECT_EQ(e.db.armors[0]->name, "Power: (2) Physic Armor: 3");
    EXPECT_EQ(e.db.Count(), 5u);
    EXPECT_EQ(e.db.FindArmor("Dropped"), nullptr);
}

TEST(EquipmentDatabase, ThreadArmourPowers) {
    Equipment e;
    Read(e, // Power: (1) Physic Armor: 1: no thread armour yet
         Input("equipment2.dat"));
    EXPECT_EQ(e.prompt.messages,
              (std::vector<std::string>{
                  "Unknown keyword 'Power: (1) Physic Armor: 1' in thread item ''",
                  "Unknown keyword 'Speed: 4' in thread item 'Woven Mail'",
                  "Unknown keyword 'x) Physic Armor: 1' in thread item 'Woven Mail'",
                  "Unknown keyword '(4 Physic Armor: 1' in thread item 'Woven Mail'"}));
    ASSERT_EQ(e.db.threadArmors.size(), 1u);
    const CVARN_ThreadItemArmor& mail = *e.db.FindThreadArmor("woven mail");
    ASSERT_EQ(mail.powers.size(), 4u);
    // Rank and value of each; rank 2 is kept although its keyword was unknown.
    const auto& p = mail.powers;
    EXPECT_EQ(
        (std::vector<int>{p[0].rank, p[0].initiative, p[1].rank, p[1].mysticArmor, p[2].rank}),
        (std::vector<int>{3, -1, 1, 5, 2}));
    EXPECT_EQ(mail.FindPower(5)->physicArmor, 7);
    EXPECT_EQ(mail.FindPower(4), nullptr);
    EXPECT_EQ(mail.threadCount, 5);
}
