#include "CharacterTestSupport.h"

#include "character/CharacterSnapshot.h"
#include "character/PageFacts.h"

#include <gtest/gtest.h>

#include <functional>

using namespace chartest;

namespace {

class Equipment : public UnitCharacter {
protected:
    Equipment() {
        c.SetRaceByName("Plain");
        c.SetAttributeBase(AttDexterity, 13); // step 6
        doc.Clear();
    }

    CVARN_ItemArmor* armor = db.equipmentDatabase.armors.at(0).get();
    CVARN_ThreadItemArmor* threadArmor = db.equipmentDatabase.threadArmors.at(0).get();
    CVARN_ItemShield* shield = db.equipmentDatabase.shields.at(0).get();
    CVARN_ItemWeapon* weapon = db.equipmentDatabase.weapons.at(0).get();
    CVARN_ItemMisc* misc = db.equipmentDatabase.misc.at(0).get();
};

TEST_F(Equipment, PiecesOfEachKind) {
    CVARN_CharEquip* a = c.AddEquipment(armor);
    EXPECT_EQ(doc.events, Events({"1000", "1050 Hide Armor", "M"}));
    EXPECT_EQ(a->path, std::vector<std::string>{"Light"});
    const std::pair<const CVARN_Item*, const char*> kinds[] = {
        {armor, "CVARN_CharEquipArmor"},
        {threadArmor, "CVARN_CharEquipThreadArmor"},
        {shield, "CVARN_CharEquipShield"},
        {weapon, "CVARN_CharEquipWeapon"},
        {misc, "CVARN_CharEquipMisc"}};
    for (auto [item, className] : kinds) {
        CVARN_CharEquip* piece = c.AddEquipment(item);
        EXPECT_EQ(StoredClassName(piece->EquipKind()), std::string(className));
        EXPECT_EQ(piece->item, item);
    }
    // An entry of no known kind buys nothing but is still announced; none at all is not.
    doc.Clear();
    CVARN_Item unknownKind;
    EXPECT_EQ(c.AddEquipment(&unknownKind), nullptr);
    EXPECT_EQ(c.AddEquipment(nullptr), nullptr);
    EXPECT_EQ(doc.events, Events({"1050", "M"}));
    EXPECT_EQ(c.equipment.size(), 6u);
    EXPECT_EQ(c.physicArmor, 1); // nothing worn yet
    c.SetAttributeBase(AttStrength, 16);
    weapon->damage = 32767;
    EXPECT_EQ(weapon->DamageStep(c), static_cast<int16_t>(32767 + 7));
}

TEST_F(Equipment, WornArmourCountsOnceAndInitiativeIsHeldAtZero) {
    auto* first = static_cast<CVARN_CharEquipArmor*>(c.AddEquipment(armor));
    c.AddEquipment(armor);
    doc.Clear();
    first->worn = 1;
    c.EquipmentChanged(first);
    EXPECT_EQ(doc.events, Events({"1000", "1006", "1052 Hide Armor", "M"}));
    EXPECT_EQ(c.physicArmor, 1 + 3);
    EXPECT_EQ(c.initiativeStep, 6 - 2);
    auto* s = static_cast<CVARN_CharEquipShield*>(c.AddEquipment(shield));
    s->worn = 1;
    c.EquipmentChanged(s);
    EXPECT_EQ(c.physicArmor, 1 + 3 + 1);
    EXPECT_EQ(c.initiativeStep, 6 - 2 - 3);
    c.SetAttributeBase(AttDexterity, 3); // step 2 under a -5 load: 0, not -3
    EXPECT_EQ(c.initiativeStep, 0);
    c.SetAttributeBase(AttDexterity, 13);

    // The views hear of a removed piece while it still exists.
    doc.Clear();
    c.RemoveEquipment(first);
    EXPECT_EQ(doc.events, Events({"1000", "1006", "1051 Hide Armor", "M"}));
    EXPECT_EQ(c.initiativeStep, 6 - 3);

    doc.Clear();
    CVARN_CharEquipArmor stranger;
    c.RemoveEquipment(&stranger);
    c.RemoveEquipment(nullptr);
    EXPECT_TRUE(doc.events.empty());
    EXPECT_EQ(c.equipment.size(), 2u);
}

TEST_F(Equipment, ThreadArmourPowersForExactlyTheWovenRank) {
    auto* t = static_cast<CVARN_CharEquipThreadArmor*>(c.AddEquipment(threadArmor));
    const int16_t mystic = c.mysticArmor;
    t->worn = 1;
    const int expected[][4] = {// rank, physic, mystic, initiative
                               {2, 1 + 4, 0, 6 - 1},
                               {3, 1 + 4 + 3, 2, 6 - 1 + 1},
                               {1, 1 + 4 + 1, 0, 6 - 1}};
    auto armour = [&] {
        return std::vector<int>{c.physicArmor, c.mysticArmor - mystic, c.initiativeStep};
    };
    for (const auto& e : expected) {
        t->threadRank = static_cast<int16_t>(e[0]);
        c.EquipmentChanged(t);
        EXPECT_EQ(armour(), (std::vector<int>{e[1], e[2], e[3]})) << "rank " << e[0];
    }
    t->threadRank = 3;
    t->worn = 0; // taken off: neither its own values nor its power
    c.EquipmentChanged(t);
    EXPECT_EQ(armour(), (std::vector<int>{1, 0, 6}));
    t->worn = 1;
    c.EquipmentChanged(t);
    c.RemoveEquipment(t);
    EXPECT_EQ(armour(), (std::vector<int>{1, 0, 6}));
}

} // namespace

// Undo compares snapshots by content, whether or not they share their lists, and names each
// change by what the user did.
TEST_F(Equipment, SnapshotsCompareByContentAndNameTheChange) {
    c.SetDisciplineCircle(db.disciplineList.FindDiscipline("Edgesworn"), 1);
    auto* worn = static_cast<CVARN_CharEquipThreadArmor*>(c.AddEquipment(threadArmor));
    CVARN_CharTalent* talent = c.talents.at(0).get();
    c.AddSpell(db.spellTable.Find("Ember Dart"), "");
    struct Change {
        const char* name;
        const char* undone; // the change back, when it has a name of its own
        std::function<void()> make;
    };
    const Change changes[] = {
        {"Name", nullptr, [&] { c.name = "Orla"; }},
        {"Karma", nullptr, [&] { c.SetKarmaBought(2); }},
        {"Discipline Circle", nullptr,
         [&] { c.SetDisciplineCircle(c.disciplines[0]->discipline, 2); }},
        {"Attribute Base", nullptr, [&] { c.SetAttributeBase(AttStrength, 14); }},
        {"Attribute Level", nullptr, [&] { c.SetAttributeIncreases(AttStrength, 1); }},
        {"Skill Rank", nullptr, [&] { c.SetSkillRank(db.skillTable.Find("Riding"), 2); }},
        {"Forget Spell", "Learn Spell", [&] { c.RemoveSpell(c.spells.back().get()); }},
        {"Buy Item", "Remove Item", [&] { c.AddEquipment(weapon); }},
        {"Thread Rank", nullptr, [&] { worn->threadRank = 2, c.EquipmentChanged(worn); }},
        {"Wear Item", nullptr, [&] { worn->worn = 1, c.EquipmentChanged(worn); }},
        {"Talent Rank", nullptr, [&] { c.SetTalentRank(talent, talent->rank + 1); }},
    };
    for (const auto& [name, undone, change] : changes) {
        const auto before = CVARN_CharacterSnapshot::Take(c, nullptr);
        EXPECT_TRUE(*before == *CVARN_CharacterSnapshot::Take(c, nullptr)) << name;
        EXPECT_TRUE(*before == *CVARN_CharacterSnapshot::Take(c, before.get())) << name;
        change();
        const auto after = CVARN_CharacterSnapshot::Take(c, before.get());
        EXPECT_FALSE(*before == *after) << name;
        EXPECT_TRUE(*after == *CVARN_CharacterSnapshot::Take(c, nullptr)) << name;
        EXPECT_EQ(CVARN_CharacterSnapshot::DescribeChange(*before, *after), name);
        EXPECT_EQ(CVARN_CharacterSnapshot::DescribeChange(*after, *before), undone ? undone : name);
        EXPECT_EQ(CVARN_CharacterSnapshot::DescribeChange(*before, *before), "Change");
        CVARN_RetiredRecords retired;
        before->RestoreInto(c, &retired);
        EXPECT_TRUE(*before == *CVARN_CharacterSnapshot::Take(c, nullptr)) << name;
        worn = static_cast<CVARN_CharEquipThreadArmor*>(c.equipment.at(0).get());
        talent = c.talents.at(0).get();
    }
}

TEST_F(Equipment, WornWarningsAndTheDetailsOfAPiece) {
    const std::string tooMany = "Rules do not allow wearing more than one set of armor.";
    CVARN_CharEquip* pieces[] = {c.AddEquipment(armor), c.AddEquipment(threadArmor),
                                 c.AddEquipment(shield), c.AddEquipment(shield)};
    const std::pair<std::array<bool, 4>, std::string> worn[] = {
        {{false, false, false, false}, ""},
        {{true, false, true, false}, ""},
        {{false, false, true, true}, tooMany},
        {{true, true, false, false}, tooMany + "\r\n"},
        {{true, true, true, true}, tooMany + "\r\n" + tooMany}};
    for (const auto& [wearing, warning] : worn) {
        for (size_t i = 0; i < wearing.size(); ++i)
            EXPECT_TRUE(SetPieceWorn(c, *pieces[i], wearing[i]));
        EXPECT_EQ(WornArmorsWarning(c), warning);
    }
    EXPECT_FALSE(SetPieceWorn(c, *c.AddEquipment(weapon), true));

    auto details = [&](const CVARN_Item* entry, const CVARN_CharEquip* piece) {
        std::string text;
        for (const CVARN_ItemDetail& row : ItemDetails(c, entry, piece))
            text += row.label + "=" + row.value + " ";
        return text;
    };
    const std::pair<int, const char*> ranks[] = {
        {0, "Physic=4 Mystic=0 Initiative=-1 Nb Thread=3 "},
        {1, "Physic=5 Mystic=0 Initiative=-1 Nb Thread=3 "},
        {3, "Physic=7 Mystic=2 Initiative=+0 Nb Thread=3 "}};
    for (const auto& [rank, expected] : ranks) {
        EXPECT_TRUE(SetPieceThreadRank(c, *pieces[1], rank));
        EXPECT_EQ(details(threadArmor, pieces[1]), std::string("Weight=0.0 Cost=0.0 ") + expected);
    }
    EXPECT_EQ(details(threadArmor, nullptr), details(threadArmor, pieces[0]));
    EXPECT_EQ(details(threadArmor, nullptr),
              "Weight=0.0 Cost=0.0 Physic=4 Mystic=0 Initiative=-1 Nb Thread=3 ");
    EXPECT_EQ(details(shield, nullptr),
              "Weight=0.0 Cost=0.0 Physic=1 Mystic=0 Initiative=-3 Shatter=0 ");
    EXPECT_EQ(details(nullptr, nullptr), "-=- -=- -=- -=- -=- -=- ");
    EXPECT_FALSE(SetPieceThreadRank(c, *pieces[0], 1));
}
