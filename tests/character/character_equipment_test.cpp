#include "CharacterTestSupport.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

class Equipment : public ::testing::Test {
protected:
    Equipment() {
        FillSystemTables(db.systemTables);
        CVARN_RaceDesc* r = AddRace(db, "Plain");
        r->physicalArmor = 1;

        auto hide = std::make_unique<CVARN_ItemArmor>();
        hide->name = "Hide Armor";
        hide->path = {"Light"};
        hide->physicArmor = 3;
        hide->mysticArmor = 1;
        hide->initiative = -2;
        armor = hide.get();
        db.equipmentDatabase.armors.push_back(std::move(hide));

        auto mail = std::make_unique<CVARN_ThreadItemArmor>();
        mail->name = "Ember Mail";
        mail->physicArmor = 4;
        mail->initiative = -1;
        mail->powers = {{3, 3, 2, 1}, {1, 1, 0, 0}}; // rank, physic, mystic, initiative
        mail->threadCount = 3;
        threadArmor = mail.get();
        db.equipmentDatabase.threadArmors.push_back(std::move(mail));

        auto buckler = std::make_unique<CVARN_ItemShield>();
        buckler->name = "Buckler";
        buckler->physicArmor = 1;
        buckler->mysticArmor = 2;
        buckler->initiative = -3;
        shield = buckler.get();
        db.equipmentDatabase.shields.push_back(std::move(buckler));

        auto sword = std::make_unique<CVARN_ItemWeapon>();
        sword->name = "Broadsword";
        sword->damage = 5;
        weapon = sword.get();
        db.equipmentDatabase.weapons.push_back(std::move(sword));

        auto rope = std::make_unique<CVARN_ItemMisc>();
        rope->name = "Rope";
        misc = rope.get();
        db.equipmentDatabase.misc.push_back(std::move(rope));

        c.SetRaceByName("Plain");
        c.SetAttributeBase(AttDexterity, 13); // step 6
        c.document = &doc;
        doc.Clear();
    }

    int16_t BaseMystic() const { return TestRow(c.Att(AttWillpower).value).mysticArmor; }

    RulesDatabase db;
    CVARN_ItemArmor* armor = nullptr;
    CVARN_ThreadItemArmor* threadArmor = nullptr;
    CVARN_ItemShield* shield = nullptr;
    CVARN_ItemWeapon* weapon = nullptr;
    CVARN_ItemMisc* misc = nullptr;
    RecordingDocument doc;
    CVARN_Character c{db};
};

TEST_F(Equipment, PiecesOfEachKind) {
    CVARN_CharEquip* a = c.AddEquipment(armor);
    EXPECT_EQ(doc.events, Events({"1000", "1050", "M"}));
    EXPECT_EQ(doc.pieces[1], a);
    EXPECT_NE(dynamic_cast<CVARN_CharEquipArmor*>(a), nullptr);
    EXPECT_EQ(dynamic_cast<CVARN_CharEquipThreadArmor*>(a), nullptr);
    EXPECT_EQ(a->name, "Hide Armor");
    EXPECT_EQ(a->path, std::vector<std::string>{"Light"});
    EXPECT_EQ(a->item, armor);
    EXPECT_EQ(a->schema, -2);

    EXPECT_NE(dynamic_cast<CVARN_CharEquipThreadArmor*>(c.AddEquipment(threadArmor)), nullptr);
    EXPECT_NE(dynamic_cast<CVARN_CharEquipShield*>(c.AddEquipment(shield)), nullptr);
    doc.Clear();
    EXPECT_NE(dynamic_cast<CVARN_CharEquipWeapon*>(c.AddEquipment(weapon)), nullptr);
    EXPECT_NE(dynamic_cast<CVARN_CharEquipMisc*>(c.AddEquipment(misc)), nullptr);
    EXPECT_EQ(doc.events, Events({"1050", "M", "1050", "M"}));

    // An entry of no known kind buys nothing, but the page is still told; none at all is
    // not even that.
    doc.Clear();
    CVARN_Item plainItem;
    EXPECT_EQ(c.AddEquipment(&plainItem), nullptr);
    EXPECT_EQ(c.AddEquipment(nullptr), nullptr);
    EXPECT_EQ(doc.events, Events({"1050", "M"}));
    EXPECT_EQ(doc.pieces[0], nullptr);
    EXPECT_EQ(c.equipment.size(), 5u);
    EXPECT_EQ(c.physicArmor, 1); // nothing is worn yet
}

TEST_F(Equipment, WornArmourCountsOnceAndInitiativeIsHeldAtZero) {
    auto* first = static_cast<CVARN_CharEquipArmor*>(c.AddEquipment(armor));
    c.AddEquipment(armor);
    ASSERT_EQ(c.equipment.size(), 2u);
    doc.Clear();
    first->worn = 1;
    c.EquipmentChanged(first);
    EXPECT_EQ(doc.events, Events({"1000", "1006", "1052", "M"}));
    EXPECT_EQ(doc.pieces[2], first);
    EXPECT_EQ(c.physicArmor, 1 + 3);
    EXPECT_EQ(c.mysticArmor, BaseMystic() + 1);
    EXPECT_EQ(c.initiativeStep, 6 - 2);

    auto* s = static_cast<CVARN_CharEquipShield*>(c.AddEquipment(shield));
    s->worn = 1;
    c.EquipmentChanged(s);
    EXPECT_EQ(c.physicArmor, 1 + 3 + 1);
    EXPECT_EQ(c.initiativeStep, 6 - 2 - 3);

    // Dexterity step 2 under a -5 load: held at 0, not -3.
    c.SetAttributeBase(AttDexterity, 3);
    EXPECT_EQ(c.initiativeStep, 0);
    c.SetAttributeBase(AttDexterity, 13);

    // Removing the worn armour gives back its penalty; the views see it before it goes.
    doc.Clear();
    c.RemoveEquipment(first);
    EXPECT_EQ(doc.events, Events({"1000", "1006", "1051", "M"}));
    EXPECT_EQ(doc.pieceNames[2], "Hide Armor");
    EXPECT_EQ(c.initiativeStep, 6 - 3);
    EXPECT_EQ(c.physicArmor, 1 + 1);

    // A piece that is not this character's changes nothing and tells nobody.
    doc.Clear();
    CVARN_CharEquipArmor stranger;
    c.RemoveEquipment(&stranger);
    c.RemoveEquipment(nullptr);
    EXPECT_TRUE(doc.events.empty());
    EXPECT_EQ(c.equipment.size(), 2u);

    // Weapons and goods carry nothing into armours or initiative.
    auto* w = c.AddEquipment(weapon);
    doc.Clear();
    c.EquipmentChanged(w);
    c.RemoveEquipment(w);
    EXPECT_EQ(doc.events, Events({"1052", "M", "1051", "M"}));
}

TEST_F(Equipment, ThreadArmourPowersForExactlyTheWovenRank) {
    auto* t = static_cast<CVARN_CharEquipThreadArmor*>(c.AddEquipment(threadArmor));
    EXPECT_EQ(t->threadRank, 0);
    t->worn = 1;
    t->threadRank = 2; // powers exist for ranks 1 and 3 only
    c.EquipmentChanged(t);
    EXPECT_EQ(c.physicArmor, 1 + 4);
    EXPECT_EQ(c.mysticArmor, BaseMystic());
    EXPECT_EQ(c.initiativeStep, 6 - 1);

    t->threadRank = 3;
    c.EquipmentChanged(t);
    EXPECT_EQ(c.physicArmor, 1 + 4 + 3);
    EXPECT_EQ(c.mysticArmor, BaseMystic() + 2);
    EXPECT_EQ(c.initiativeStep, 6 - 1 + 1);

    t->threadRank = 1;
    c.EquipmentChanged(t);
    EXPECT_EQ(c.physicArmor, 1 + 4 + 1);

    // Taken off: neither its own values nor its power.
    t->worn = 0;
    c.EquipmentChanged(t);
    EXPECT_EQ(c.physicArmor, 1);
    EXPECT_EQ(c.mysticArmor, BaseMystic());
    EXPECT_EQ(c.initiativeStep, 6);

    // Worn again and removed: everything it gave goes with it.
    t->worn = 1;
    t->threadRank = 3;
    c.EquipmentChanged(t);
    c.RemoveEquipment(t);
    EXPECT_EQ(c.physicArmor, 1);
    EXPECT_EQ(c.initiativeStep, 6);
}

TEST_F(Equipment, WeaponDamageStepAddsStrength) {
    c.SetAttributeBase(AttStrength, 16); // step 7
    EXPECT_EQ(weapon->DamageStep(c), 12);
    weapon->damage = 32767;
    EXPECT_EQ(weapon->DamageStep(c), static_cast<int16_t>(32767 + 7));
}

TEST_F(Equipment, ClosingTheCharacterDropsItsPieces) {
    auto other = std::make_unique<CVARN_Character>(db);
    other->SetRaceByName("Plain");
    auto* a = static_cast<CVARN_CharEquipArmor*>(other->AddEquipment(armor));
    a->worn = 1;
    other->EquipmentChanged(a);
    RecordingDocument closing;
    other->document = &closing;
    other.reset(); // no leak, no call back (checked by the sanitizers and the recorder)
    EXPECT_TRUE(closing.events.empty());
}

} // namespace
