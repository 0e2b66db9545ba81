#include "CharacterTestSupport.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

// The attribute records of a new Velde: six times version 2, modifier 0, minimum 2,
// maximum 18, base 10, no increases, step 5.
Bytes VeldeAttributes() {
    Bytes b;
    for (int i = 0; i < 6; ++i)
        b.W(2).W(0).W(2).W(18).W(10).W(0).W(5);
    return b;
}

// A version 15 file up to the disciplines: attributes, race, empty name and description.
Bytes Version15(const std::string& race = "Velde") {
    return VeldeAttributes().W(15).S(race).S("").S("");
}

// Karma, the switches and the legend of a new character: the end of a version 15 file.
Bytes& NewTail(Bytes& b) {
    return b.W(0).W(0).D(1).D(1).D(1).D(1).D(1).D(1).W(66).D(0).D(0).D(1000);
}

// A version 15 file of a new Velde whose equipment list is `pieces`.
std::string WithEquipment(const Bytes& pieces) {
    Bytes b = Version15();
    b.D(0).D(0).D(0).D(0).W(0).W(0).W(0).Raw(pieces.s);
    return NewTail(b).s;
}

} // namespace

TEST(FileFormat, EquipmentClassesAreTaggedOncePerFile) {
    TestRules rules;
    auto c = NewCharacter(rules);
    for (const CVARN_Item* item : std::initializer_list<const CVARN_Item*>{
             rules.leatherCoat, rules.leatherCoat, rules.shortSword, rules.wovenMail,
             rules.shortSword})
        c->AddEquipment(item);
    std::string bytes = WriteCharacter(*c);

    Bytes pieces;
    pieces.D(5);
    pieces.NewClass("CVARN_CharEquipArmor").S("Leather Coat").D(1).S("Light").D(0);        // 1, 2
    pieces.W(0x8001).S("Leather Coat").D(1).S("Light").D(0);                               // 3
    pieces.NewClass("CVARN_CharEquipWeapon").S("Short Sword").D(2).S("Blades").S("Short"); // 4, 5
    pieces.NewClass("CVARN_CharEquipThreadArmor").S("Woven Mail").D(0).D(0).W(0);          // 6, 7
    pieces.W(0x8004).S("Short Sword").D(2).S("Blades").S("Short");
    EXPECT_NE(bytes.find(pieces.s), std::string::npos);

    RecordingPrompt prompt;
    Loaded l = Load(rules, bytes, prompt);
    ASSERT_EQ(l.failure, CVARN_FileFailure::None);
    EXPECT_TRUE(Silent(prompt));
    EXPECT_EQ(WriteCharacter(*l.c), bytes);
}

TEST(FileFormat, StringLengthForms) {
    TestRules rules;
    auto c = NewCharacter(rules);
    c->name = std::string(300, 'n');
    c->description = std::string(70000, 'd');
    std::string bytes = WriteCharacter(*c);
    size_t at = 84 + 2 + 6; // after the attributes, the version and "Velde"
    EXPECT_EQ(bytes.substr(at, 3), std::string("\xFF\x2C\x01", 3));
    EXPECT_EQ(bytes.substr(at + 3, 300), c->name);
    EXPECT_EQ(bytes.substr(at + 303, 7), std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7));

    // 254 still fits the one-byte form, 255 and 65533 take the WORD form.
    for (size_t n : {254u, 255u, 65533u, 65534u}) {
        c->name = std::string(n, 'x');
        RecordingPrompt prompt;
        Loaded l = Load(rules, WriteCharacter(*c), prompt);
        ASSERT_EQ(l.failure, CVARN_FileFailure::None) << n;
        EXPECT_EQ(l.c->name, c->name);
        EXPECT_EQ(l.c->description, c->description);
    }
    c->name = std::string(254, 'x');
    EXPECT_EQ(WriteCharacter(*c)[at], '\xFE');
    c->name = std::string(65533, 'x');
    EXPECT_EQ(WriteCharacter(*c).substr(at, 3), std::string("\xFF\xFD\xFF", 3));
}

TEST(FileFormat, EveryTruncationFailsCleanly) {
    TestRules rules;
    std::string bytes = WriteCharacter(*FullCharacter(rules));
    for (size_t n = 0; n < bytes.size(); ++n) {
        RecordingPrompt prompt;
        Loaded l = Load(rules, bytes.substr(0, n), prompt);
        EXPECT_EQ(l.failure, CVARN_FileFailure::UnexpectedFormat) << n;
        EXPECT_TRUE(Silent(prompt)) << n;
        ASSERT_TRUE(LinksMatchRecords(*l.c)) << n;
    }
}

// Unknown races and disciplines are reported, unknown current skills and spells dropped without
// a word; rank 15 is the highest there is, 99 is none. Unknown equipment asks for a replacement:
// the found piece keeps what the file says (worn, its own spelling), a chosen replacement is a
// new piece, bought when its question was answered.
TEST(FileFormat, UnknownEntriesAreReportedSkippedOrReplaced) {
    TestRules rules;
    Bytes b = VeldeAttributes();
    b.W(15).S("vELDE").S("Tam").S("");
    b.D(2).W(1).S("Gardener").W(3).W(1).S("warden").W(2);
    b.D(3).W(4).S("BLADEWORK").W(15).W(4).S("Juggling").W(2).W(4).S("Foresight").W(99);
    b.D(2).W(4).S("Knitting").W(3).W(4).S("climbing").W(2);
    b.D(2).W(4).S("Thunderclap Orb").S("Windcraft").W(4).S("GUST").S("Tidecraft");
    b.W(0).W(0).W(0).D(0);
    const std::string file = NewTail(b).s;
    RecordingPrompt prompt;
    ExpectFile(ReadReport(rules, file, prompt), "file/unknown_entries.txt");

    // Memory running out anywhere in the read ends the read, not the program.
    struct OutOfMemory : RecordingPrompt {
        void ShowMessage(const std::string&) override { throw std::bad_alloc(); }
    } starved;
    EXPECT_EQ(Load(rules, file, starved).failure, CVARN_FileFailure::UnexpectedFormat);

    Bytes pieces;
    pieces.D(3);
    pieces.NewClass("CVARN_CharEquipArmor").S("Plate of Ages").D(0).D(1);
    pieces.W(0x8001).S("leather coat").D(0).D(1);
    pieces.NewClass("CVARN_CharEquipMisc").S("Lost Lamp").D(0);
    for (bool answer : {false, true}) {
        RecordingPrompt asked;
        asked.defaultAnswer = answer;
        asked.replacements = {rules.buckler, rules.buckler};
        ExpectFile(ReadReport(rules, WithEquipment(pieces), asked),
                   answer ? "file/unknown_equipment_replaced.txt" : "file/unknown_equipment.txt");
    }
}

// An unknown race and versions outside 2 to 15 are refused with a message; malformed objects
// and lengths fail silently (file/refused.txt).
TEST(FileFormat, RefusedAndMalformedFilesFail) {
    TestRules rules;
    auto armour = [](Bytes& b) -> Bytes& { return b.S("Leather Coat").D(0).D(0); };
    auto twoArmours = [&](int secondTag) {
        Bytes b;
        armour(b.D(2).NewClass("CVARN_CharEquipArmor")).W(secondTag);
        return b;
    };
    auto start = [](int version) { return VeldeAttributes().W(version); };
    Bytes longForm = twoArmours(0x7FFF);
    longForm.D(2);
    Bytes classOfObject = twoArmours(0x8002); // number 2 is the first armour
    armour(classOfObject);
    Bytes unseen, zero, unknown, skill, huge, path;
    armour(unseen.D(1).W(0x8005));
    armour(zero.D(1).W(0x8000));
    armour(unknown.D(1).NewClass("CVARN_CharEquipHelmet"));
    skill.D(1).NewClass("CVARN_IOSkill").S("Climbing").W(2);
    huge.D(0x40000000);
    path.D(1).NewClass("CVARN_CharEquipArmor").S("Leather Coat").D(0xFFFFFFFF);
    // Every element there, but each empty one would cost a whole string in memory.
    Bytes deepPath;
    deepPath.D(1).NewClass("CVARN_CharEquipArmor").S("Leather Coat").D(70000);
    deepPath.Raw(std::string(70000, '\0')).D(0);
    Bytes oldSpell = start(13).S("Velde").S("").S("").D(0).D(0).D(1);
    oldSpell.NewClass("CVARN_IOSpell").S("Gust").S("");
    auto version = [&](int v) { return start(v).S("Velde").S("").S("").s; };
    const std::pair<std::string, std::string> cases[] = {
        {"unknown race", Version15("Tidefolk").s},
        {"version 16", version(16)},
        {"version 0x7FFF", version(0x7FFF)},
        {"version 1", version(1)},
        {"version 0", version(0)},
        {"version -1", version(-1)},
        {"null object", WithEquipment(Bytes().D(1).W(0))},
        {"object used twice", WithEquipment(twoArmours(2))},
        {"object used twice, long form", WithEquipment(longForm)},
        {"class number of an object", WithEquipment(classOfObject)},
        {"class never seen", WithEquipment(unseen)},
        {"class number 0", WithEquipment(zero)},
        {"unknown class", WithEquipment(unknown)},
        {"skill in the equipment list", WithEquipment(skill)},
        {"count beyond the file", WithEquipment(huge)},
        {"path count beyond the file", WithEquipment(path)},
        {"path deeper than any equipment tree", WithEquipment(deepPath)},
        {"string beyond the file", start(15).B(0xFF).W(0xFFFF).D(0x7FFFFFFF).s},
        {"wide string marker", start(15).B(0xFF).W(0xFFFE).S("Velde").s},
        {"spell in the old skill list", oldSpell.s},
    };
    std::string record;
    for (const auto& [what, bytes] : cases) {
        RecordingPrompt prompt;
        record += what + ": failure " +
                  std::to_string(static_cast<int>(Load(rules, bytes, prompt).failure)) + "\n";
        for (const std::string& m : prompt.messages)
            record += "message: " + m + "\n";
        EXPECT_TRUE(prompt.questions.empty() && prompt.replacementRequests.empty()) << what;
    }
    ExpectFile(record, "file/refused.txt");

    // The long forms of a class tag are read as well as the short ones.
    Bytes b;
    b.D(2).NewClass("CVARN_CharEquipArmor");
    armour(b).W(0x7FFF).D(0x80000001);
    armour(b);
    RecordingPrompt prompt;
    Loaded l = Load(rules, WithEquipment(b), prompt);
    EXPECT_EQ(l.failure, CVARN_FileFailure::None);
    EXPECT_EQ(l.c->equipment.size(), 2u);
}

// The path elements of all pieces together are bounded, not each piece's alone: a file loads
// up to the bound, however its pieces share it, and is refused one element beyond.
TEST(FileFormat, PathElementsAreBoundedOverAllPieces) {
    TestRules rules;
    const struct {
        uint32_t first, second;
        bool loads;
    } cases[] = {{65536, 0, true},  {0, 65536, true},      {40000, 25536, true},
                 {0, 65537, false}, {40000, 25537, false}, {65537, 0, false}};
    for (const auto& k : cases) {
        Bytes b;
        b.D(2).NewClass("CVARN_CharEquipArmor").S("Leather Coat").D(k.first);
        b.Raw(std::string(k.first, '\0')).D(0);
        b.W(0x8001).S("Leather Coat").D(k.second).Raw(std::string(k.second, '\0')).D(0);
        RecordingPrompt prompt;
        const Loaded l = Load(rules, WithEquipment(b), prompt);
        EXPECT_EQ(l.failure == CVARN_FileFailure::None, k.loads) << k.first << "+" << k.second;
        if (k.loads && l.c) {
            EXPECT_EQ(l.c->equipment.size(), 2u) << k.first << "+" << k.second;
        }
    }
}

// A count is refused only when the bytes left cannot hold that many of the smallest records:
// a version, an empty name and a number, five bytes.
TEST(FileFormat, ListsOfTheSmallestRecordsAreRead) {
    TestRules rules;
    for (int list = 0; list < 3; ++list) { // disciplines, talents, skills
        Bytes b = Version15();
        for (int l = 0; l < 4; ++l) {
            b.D(l == list ? 100 : 0);
            for (int i = 0; l == list && i < 100; ++i)
                b.W(list == 0 ? 1 : 4).S("").W(0);
        }
        b.W(0).W(0).W(0).D(0);
        RecordingPrompt prompt;
        EXPECT_EQ(Load(rules, NewTail(b).s, prompt).failure, CVARN_FileFailure::None) << list;
    }
}

// Base clamped to the race's maximum, the race's modifier, not the file's; Strength's word
// alone is a new attribute; the circle above the highest and a durability rank without its
// talent are dropped.
TEST(FileFormat, OutOfRangeValuesAreClamped) {
    TestRules rules;
    Bytes b;
    b.W(2).W(40).W(-5).W(300).W(30000).W(9).W(-7); // Dexterity, increases 9
    b.W(7);                                        // Strength: another record version
    for (int i = 0; i < 4; ++i)
        b.W(2).W(0).W(2).W(18).W(10).W(-3).W(5);
    b.W(15).S("Velde").S("").S("");
    b.D(1).W(1).S("Warden").W(40);
    b.D(0).D(0).D(0).W(3).W(7).W(6).D(0);
    RecordingPrompt prompt;
    ExpectFile(ReadReport(rules, NewTail(b).s, prompt), "file/clamped.txt");
}

// A crafted file naming thousands of unknown entries must not stop the user thousands of
// times: 20 messages, then one with the count of the rest and the last; 20 questions about
// unknown equipment, then one for all the rest. A prompt that takes every message (varn-tool)
// still gets each one.
TEST(FileFormat, ManyUnknownEntriesAreGathered) {
    TestRules rules;
    Bytes b = Version15();
    b.D(0).D(30);
    for (int i = 1; i <= 30; ++i)
        b.W(4).S("Lost Art " + std::to_string(i)).W(1);
    b.D(0).D(0).W(0).W(0).W(0).D(26);
    b.NewClass("CVARN_CharEquipArmor").S("Lost Plate 1").D(0).D(0);
    for (int i = 2; i <= 25; ++i)
        b.W(0x8001).S("Lost Plate " + std::to_string(i)).D(0).D(0);
    b.NewClass("CVARN_CharEquipMisc").S("Lost Lamp").D(0);
    const std::string file = NewTail(b).s;

    struct Every : RecordingPrompt {
        bool every = false;
        bool TakesEveryMessage() const override { return every; }
    };
    for (bool every : {false, true}) {
        Every prompt;
        prompt.every = every;
        prompt.answers = std::deque<bool>(20, false);
        prompt.defaultAnswer = true; // the question for the rest, or each one for varn-tool
        Loaded l = Load(rules, file, prompt);
        ASSERT_EQ(l.failure, CVARN_FileFailure::None);
        if (every) {
            EXPECT_EQ(prompt.messages.size(), 31u);
            EXPECT_EQ(prompt.questions.size(), 25u);
        } else {
            ASSERT_EQ(prompt.messages.size(), 21u);
            EXPECT_EQ(prompt.messages[19], "Unknown Character Talent : Lost Art 20");
            EXPECT_EQ(prompt.messages[20], "11 more messages not shown, the last of them:\n"
                                           "Unknown object Lost Lamp");
            ASSERT_EQ(prompt.questions.size(), 21u);
            EXPECT_EQ(prompt.questions[20], "5 more unknown objects, the last of them: Lost "
                                            "Plate 25\nDo you want to search each of them in "
                                            "database?");
        }
        // The misc piece is never asked about; each of the last five is searched.
        EXPECT_EQ(prompt.replacementRequests.size(), 5u);
    }
}
