// Files of older versions, made byte by byte. What each reads to (messages, the character as
// its JSON document, the bytes written again) is kept whole in tests/data/file/version*.txt.

#include "CharacterTestSupport.h"

#include <gtest/gtest.h>

using namespace chartest;

namespace {

Bytes Start(int version, const std::string& race) {
    Bytes b;
    for (int i = 0; i < 6; ++i)
        b.W(2).W(0).W(2).W(18).W(12).W(i == 0 ? 1 : 0).W(6);
    b.W(version).S(race).S("Old Bram").S("From an old file.");
    return b;
}

// Karma, the switches and the legend at the end of a version 12 or 14 file.
void Tail(Bytes& b) {
    b.W(3).W(1).D(1).D(0).D(1).D(1).D(1).D(1).W(66).D(5000).D(100).D(1000);
}

} // namespace

TEST(FileVersions, OldFilesReadToTheExpectedCharacters) {
    TestRules rules;
    // Version 2: identity, disciplines and talents only; what it did not have keeps a new
    // character's values. Talent records below version 4 carry a second string, dropped.
    Bytes v2 = Start(2, "Velde");
    v2.D(1).W(1).S("Warden").W(1);
    v2.D(2).W(3).S("Bladework").S("Warden").W(3).W(4).S("Sidestep").W(2);

    // Version 5: pieces of older schemas have no path (below 3) or thread rank (below 2). The
    // worn mail counts once everything is read; durability comes from the file. Written again,
    // every piece takes schema 3 with its (empty) path.
    Bytes v5 = Start(5, "Velde");
    v5.D(1).W(1).S("Warden").W(1);
    v5.D(1).W(4).S("Durability (7/6)").W(2);
    v5.W(2).W(7).W(6); // durability
    v5.D(3);
    v5.NewClass("CVARN_CharEquipThreadArmor", 1).S("Woven Mail").D(1);
    v5.NewClass("CVARN_CharEquipWeapon", 2).S("Short Sword");
    v5.NewClass("CVARN_CharEquipThreadArmor", 2).S("Woven Mail").D(0).W(1);

    // Version 9: karma is the current karma (the race starts with 5) and five switches, with
    // no attributeIncrease before version 11.
    Bytes v9 = Start(9, "Velde");
    v9.D(0).D(0).W(0).W(0).W(0).D(0);
    v9.W(7);
    v9.D(0).D(0).D(1).D(0).D(1).W(60);

    // Version 12: skills as objects.
    Bytes v12 = Start(12, "Skyborn");
    v12.D(0).D(0);
    v12.D(5);
    v12.NewClass("CVARN_IOSkill", 1).S("climbing").W(4);
    v12.W(0x8001).S("Knitting").W(2);
    v12.W(0x8001).S("Cooking").W(40);           // rank 10 at most
    v12.W(0x8001).S("Lore: Old Kingdoms").W(0); // not held
    v12.W(0x8001).S("CLIMBING").W(2);           // named twice: paid once, at the last rank
    v12.W(0).W(0).W(0).D(0);
    Tail(v12);

    // Version 14: the spell objects continue the numbering of the skill objects.
    Bytes v14 = Start(14, "Skyborn");
    v14.D(0).D(0);
    v14.D(1).NewClass("CVARN_IOSkill", 1).S("Cooking").W(1);        // class 1, object 2
    v14.D(4).NewClass("CVARN_IOSpell", 1).S("Gust").S("Windcraft"); // class 3, object 4
    v14.W(0x8003).S("Dragonfire %s").S("Windcraft");                // a "%" in a name is no format
    v14.W(0x8003).S("wall of whirling air").S("Tidecraft");
    v14.W(0x8003).S("GUST").S("Tidecraft"); // learned once: the first record stands
    v14.W(0).W(0).W(0).D(0);
    Tail(v14);

    for (const auto& [name, bytes] : {std::pair{"version2", v2.s},
                                      {"version5", v5.s},
                                      {"version9", v9.s},
                                      {"version12", v12.s},
                                      {"version14", v14.s}}) {
        RecordingPrompt prompt;
        ExpectFile(ReadReport(rules, bytes, prompt), std::string("file/") + name + ".txt");
    }

    // A reference to the skill class where a spell is due fails the read.
    Bytes wrong = Start(14, "Skyborn");
    wrong.D(0).D(0);
    wrong.D(1).NewClass("CVARN_IOSkill", 1).S("Cooking").W(1);
    wrong.D(1).W(0x8001).S("Gust").S("Windcraft");
    wrong.W(0).W(0).W(0).D(0);
    Tail(wrong);
    RecordingPrompt prompt;
    EXPECT_EQ(Load(rules, wrong.s, prompt).failure, CVARN_FileFailure::UnexpectedFormat);
}
