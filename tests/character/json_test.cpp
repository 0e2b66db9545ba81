#include "CharacterTestSupport.h"

#include "character/CharacterJson.h"
#include "character/HtmlSheet.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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

// A character goes to JSON and back to the same file bytes and the same document, whether
// it was built on the pages or read from its file.
TEST(CharacterJson, RoundTripsKeepFileBytesAndDocument) {
    TestRules rules;
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
        EXPECT_EQ(CharacterToJson(*read.c), json);
    }
    EXPECT_TRUE(rules.NoReferences());
}

TEST(CharacterJson, ImportErrorsNameTheJsonPath) {
    TestRules rules;
    const Json full = Json::parse(CharacterToJson(*FullCharacter(rules)));
    struct Case {
        const char* pointer; // the value to change, or remove when `value` is discarded
        Json value;
        const char* error;
    };
    const Json remove = Json(Json::value_t::discarded);
    const Case cases[] = {
        {"/talents/3/name", "Fire Ward",
         "talents[3].name: no talent \"Fire Ward\" in the data set"},
        {"/disciplines/0/circle", 2,
         "talents[5].name: talent \"Storm Ward\" is not offered by the character's disciplines "
         "at their circles"},
        {"/talents/0/rank", 16, "talents[0].rank: 16 is out of range 0 to 15"},
        {"/talents/0/rank", "4", "talents[0].rank: expected an integer, found a string"},
        {"/skills/1/rank", 2.5,
         "skills[1].rank: expected an integer, found a number with a fraction"},
        {"/skills/1/name", "Climbing", "skills[1].name: skill \"Climbing\" is listed twice"},
        {"/race", "Giant", "race: no race \"Giant\" in the data set"},
        {"/race", remove, "race: missing"},
        {"/attributes/Strength", remove, "attributes.Strength: missing"},
        {"/attributes/Toughness/base", 17, "attributes.Toughness.base: 17 is out of range 2 to 16"},
        {"/attributes/Dexterity/increases", -1,
         "attributes.Dexterity.increases: -1 is out of range 0 to 5"},
        {"/disciplines/1/circle", 0, "disciplines[1].circle: 0 is out of range 1 to 2"},
        {"/disciplines/0/name", "Sailor",
         "disciplines[0].name: no discipline \"Sailor\" in the data set"},
        {"/spells/0/type", "Firecraft",
         "spells[0].type: spell \"Wall of Whirling Air\" is not a spell of \"Firecraft\""},
        {"/equipment/0/kind", "gadget",
         "equipment[0].kind: \"gadget\" is not one of \"weapon\", \"armor\", \"threadArmor\", "
         "\"shield\", \"misc\""},
        {"/equipment/0/kind", "weapon",
         "equipment[0].name: no weapon \"Leather Coat\" in the data set"},
        {"/equipment/1/threadRank", 3, "equipment[1].threadRank: 3 is out of range 0 to 2"},
        {"/equipment/2/worn", 1, "equipment[2].worn: expected true or false, found a number"},
        {"/karma/bought", 40000, "karma.bought: 40000 is out of range 0 to 32767"},
        {"/legend/earned", 3000000000u,
         "legend.earned: 3000000000 is out of range 0 to 2147483647"},
        {"/options/attributePoints", 0, "options.attributePoints: 0 is out of range 1 to 999"},
        {"/talents", Json::object(), "talents: expected an array, found an object"},
        {"/version", 2, "version: version 2 is not supported (this program reads version 1)"},
        {"/format", "sheet", "format: \"sheet\" is not \"varn-character\""},
        {"", Json::array(), "document: expected an object, found an array"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.pointer);
        Json doc = full;
        const Json::json_pointer pointer(k.pointer);
        if (k.value.is_discarded())
            doc[pointer.parent_pointer()].erase(pointer.back());
        else
            doc[pointer] = k.value;
        Imported i = Import(rules, doc.dump());
        EXPECT_FALSE(i.result.ok);
        EXPECT_EQ(i.result.error, k.error);
    }
    EXPECT_EQ(Import(rules, "{\"format\": ").result.error, "document: not valid JSON at byte 12");
    EXPECT_TRUE(rules.NoReferences());
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

// Texts reach HTML escaped, and bytes that are not UTF-8 arrive as Latin-1 in both outputs.
TEST(CharacterJson, TextsAreEscapedAndMadeUtf8) {
    TestRules rules;
    auto c = NewCharacter(rules);
    c->name = "<b>Tom & \"Jerry\"</b>";
    c->description = "caf\xe9";
    const std::string html = BuildHtmlSheet(*c);
    EXPECT_NE(html.find("<h1>&lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt;</h1>"),
              std::string::npos);
    EXPECT_NE(html.find("<p>caf\xc3\xa9</p>"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("http"), std::string::npos);
    EXPECT_EQ(Json::parse(CharacterToJson(*c))["description"], "caf\xc3\xa9");
}
