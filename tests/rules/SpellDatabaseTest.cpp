#include "rules/SpellDatabase.h"
#include "rules/RecordingPrompt.h"
#include "rules/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Spells {
    SpellTable table;
    RecordingPrompt prompt;
};

void Read(Spells& s, const std::string& content) {
    TempDir dir;
    dir.Write("Spells.dat", content);
    EXPECT_EQ(ReadSpells(s.table, dir.path, s.prompt), ReadResult::Ok);
}

} // namespace

TEST(SpellDatabase, ReadsKeywordsAndTypeLists) {
    Spells s;
    Read(s, Input("spells1.dat"));
    EXPECT_EQ(s.prompt.messages,
              std::vector<std::string>{"Error : Missin spell name in .dat file"});
    const CVARN_DBSpell* arrow = s.table.FindSpell("ember DART");
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->types,
              (std::vector<std::string>{"Cinderlore", "Tempestry", "Verdancy ", "Gloaming", ""}));
    EXPECT_EQ(arrow->circle, 0);
    EXPECT_EQ(arrow->threads + "|" + arrow->difficulty + "|" + arrow->description,
              "1|Spell Def|Shoots fire. It burns. ");
    EXPECT_EQ(s.table.FindSpell("Blank"), nullptr);
    ASSERT_NE(s.table.FindSpell(" blank "), nullptr);
    EXPECT_EQ(s.table.FindSpell(" blank ")->circle, 32767);
}

TEST(SpellDatabase, FirstAndNextVisitEveryEntryOnceUpToBucket255) {
    Spells empty;
    Read(empty, "");
    EXPECT_EQ(empty.table.FirstSpell(), nullptr);

    // "\xff" and "\x7f\x80" sit in bucket 255, "B" and "\x01A" in bucket 66.
    Spells s;
    Read(s, "[\xff]\n[B]\n[\x01"
            "A]\n[\x7f\x80]\n[\x02]\n");
    std::vector<std::string> walked;
    for (const CVARN_DBSpell* e = s.table.FirstSpell(); e != nullptr; e = s.table.NextSpell(e))
        walked.push_back(e->name);
    EXPECT_EQ(walked, (std::vector<std::string>{"\x02",
                                                "\x01"
                                                "A",
                                                "B", "\x7f\x80", "\xff"}));
    EXPECT_EQ(s.table.Count(), 5u);
}
