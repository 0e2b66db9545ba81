#include "CharacterTestSupport.h"

#include "character/CharacterJson.h"
#include "character/HtmlSheet.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

using namespace chartest;
using Json = nlohmann::ordered_json;

namespace {

struct Imported {
    std::unique_ptr<CVARN_Character> c;
    CVARN_JsonImport result;
};

Imported Import(TestRules& rules, const std::string& text) {
    Imported i{std::make_unique<CVARN_Character>(rules.db), {}};
    i.result = CharacterFromJson(*i.c, text);
    return i;
}

} // namespace

// A character built on the pages goes to its file and to JSON and back to the same file bytes
// and the same document, derived values included: those worked out afresh from what was read
// match those the pages kept up to date step by step.
TEST(CharacterJson, RoundTripsKeepFileBytesAndDocument) {
    TestRules rules;
    auto bonuses = [](const CVARN_Character& c) { // derived values no document shows
        std::vector<int> v = {c.disciplineBonuses.physicalDefense, c.disciplineBonuses.spellDefense,
                              c.disciplineBonuses.initiative, c.disciplineBonuses.karmaStep};
        for (const CVARN_CharAtt& a : c.attributes)
            v.push_back(a.increaseLegend);
        return v;
    };
    for (auto build : {NewCharacter, FullCharacter}) {
        auto original = build(rules);
        const std::string bytes = WriteCharacter(*original);
        const std::string json = CharacterToJson(*original);
        Imported back = Import(rules, json);
        ASSERT_TRUE(back.result.ok) << back.result.error;
        EXPECT_TRUE(back.result.warnings.empty());
        EXPECT_EQ(WriteCharacter(*back.c), bytes);
        EXPECT_EQ(CharacterToJson(*back.c), json);

        RecordingPrompt prompt;
        Loaded read = Load(rules, bytes, prompt);
        ASSERT_EQ(read.failure, CVARN_FileFailure::None);
        EXPECT_TRUE(Silent(prompt));
        EXPECT_EQ(WriteCharacter(*read.c), bytes);
        EXPECT_EQ(CharacterToJson(*read.c), json);
        EXPECT_EQ(bonuses(*read.c), bonuses(*original));
    }
    auto full = FullCharacter(rules);
    EXPECT_EQ(full->physicArmor, 1 + 4 + 1 + 1); // race, mail, mail's rank-2 power, buckler
    EXPECT_EQ(full->equipment[1]->item, rules.wovenMail);
    EXPECT_TRUE(LinksMatchRecords(*full));
}

TEST(CharacterJson, ImportErrorsNameTheJsonPath) {
    TestRules rules;
    const Json full = Json::parse(CharacterToJson(*FullCharacter(rules)));
    std::ifstream table(VARN_TEST_DATA_DIR "json/import_errors.txt");
    int cases = 0;
    for (std::string line; std::getline(table, line);) {
        const size_t value = line.find(" | "), error = line.find(" | ", value + 3);
        if (line.starts_with('#') || error == std::string::npos)
            continue;
        SCOPED_TRACE(line);
        Json doc = full;
        const Json::json_pointer pointer(line.substr(0, value));
        const std::string changed = line.substr(value + 3, error - value - 3);
        if (changed == "-")
            doc[pointer.parent_pointer()].erase(pointer.back());
        else
            doc[pointer] = Json::parse(changed);
        Imported i = Import(rules, doc.dump());
        EXPECT_FALSE(i.result.ok);
        EXPECT_EQ(i.result.error, line.substr(error + 3));
        ++cases;
    }
    EXPECT_EQ(cases, 25);
    EXPECT_EQ(Import(rules, "{\"format\": ").result.error, "document: not valid JSON at byte 12");
    EXPECT_EQ(Import(rules, "{\"race\": 1e99999}").result.error,
              "document: a number too large to read");
}

// Keys this version does not know are reported and skipped; "derived" is for readers only.
TEST(CharacterJson, UnknownKeysWarnAndDerivedValuesAreIgnored) {
    TestRules rules;
    auto original = FullCharacter(rules);
    Json doc = Json::parse(CharacterToJson(*original));
    ASSERT_EQ(doc["derived"]["skills"].size(), 3u);
    for (const Json& s : doc["derived"]["skills"]) // a skill without a formula has no step
        EXPECT_EQ(s["step"].is_null(), s["formula"] == "") << s["name"];
    doc["talents"][0]["note"] = "first";
    doc["equipment"][3]["worn"] = true; // a weapon is not worn
    doc["colour"] = "blue";
    doc["derived"]["defenses"]["physical"] = 99;
    Imported i = Import(rules, doc.dump());
    ASSERT_TRUE(i.result.ok) << i.result.error;
    EXPECT_EQ(i.result.warnings,
              (Texts{"colour: unknown key, ignored", "talents[0].note: unknown key, ignored",
                     "equipment[3].worn: unknown key, ignored"}));
    EXPECT_EQ(WriteCharacter(*i.c), WriteCharacter(*original));
}

// Texts reach HTML escaped, and bytes that are not UTF-8 arrive as Latin-1 in both outputs;
// the page loads nothing from elsewhere.
TEST(CharacterJson, TextsAreEscapedAndMadeUtf8) {
    TestRules rules;
    auto c = NewCharacter(rules);
    c->name = "<b>Tom & \"Jerry\"</b>";
    c->description = "caf\xe9";
    const std::string html = BuildHtmlSheet(*c);
    ExpectFile(html, "json/escaped.html");
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("http"), std::string::npos);
    ExpectFile(CharacterToJson(*c), "json/escaped.json");
}
