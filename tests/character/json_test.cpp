#include "CharacterTestSupport.h"

#include "character/CharacterJson.h"
#include "character/HtmlSheet.h"
#include "character/TextUtf8.h"

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
        // What the Attributes page marks on the full character is told, not refused.
        EXPECT_EQ(back.result.warnings,
                  build == FullCharacter
                      ? Texts{"attributes: 3 increases, over the 2 allowed at circle 3"}
                      : Texts{});
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
    EXPECT_EQ(cases, 43);
    EXPECT_EQ(Import(rules, "{\"format\": ").result.error, "document: not valid JSON at byte 12");
    EXPECT_EQ(Import(rules, "{\"race\": 1e99999}").result.error,
              "race: a number too large to read");
}

// Faults of the text itself, wherever they are: keys given twice, nesting without end, lists
// and documents past their limits, texts longer than a sheet takes. Whole numbers may be
// written with a fraction or an exponent.
TEST(CharacterJson, DocumentsAreReadWithinLimits) {
    TestRules rules;
    const std::string full = CharacterToJson(*FullCharacter(rules));
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = full;
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::string derived = "\"derived\": {";
    const struct {
        std::string text, error;
    } faults[] = {
        {replaced("\"version\": 1,", "\"version\": 1, \"version\": 1,"), "version: duplicate key"},
        {replaced(derived, derived + "\"x\": 1, \"y\": [{\"a\": 1, \"a\": 2}], "),
         "derived.y[0].a: duplicate key"},
        {replaced(derived,
                  derived + "\"deep\": " + std::string(70, '[') + std::string(70, ']') + ", "),
         [] {
             std::string path = "derived.deep";
             for (int i = 0; i < 61; ++i)
                 path += "[0]";
             return path + ": nested deeper than 64 levels";
         }()},
        {replaced("\"name\": \"Ilsa Brightwind\"", "\"name\": \"" + std::string(201, 'n') + "\""),
         "name: 201 characters, more than the 200 a text may have"},
        {replaced(
             "\"equipment\": [", "\"equipment\": [" +
                                     [] {
                                         std::string many;
                                         for (int i = 0; i < 10001; ++i)
                                             many += "0,";
                                         return many;
                                     }()),
         "equipment: more than 10000 entries"},
        {full + std::string(kCharacterJsonSizeLimit, ' '),
         "document: larger than 8 MiB, the most a character document may be"},
    };
    for (const auto& f : faults) {
        Imported i = Import(rules, f.text);
        EXPECT_FALSE(i.result.ok);
        EXPECT_EQ(i.result.error, f.error);
    }

    // Up to the limit, any number of keys where they are ignored.
    std::string keys;
    for (int i = 0; keys.size() + full.size() < kCharacterJsonSizeLimit - 32; ++i)
        keys += "\"k" + std::to_string(i) + "\": 0, ";
    Imported big = Import(rules, replaced(derived, derived + keys));
    EXPECT_TRUE(big.result.ok) << big.result.error;

    Json doc = Json::parse(full);
    doc["karma"]["bought"] = 10.0;
    doc["karma"]["spent"] = -0.0;
    doc["options"]["attributePoints"] = 12345.0;
    std::string text = doc.dump();
    text.replace(text.find("12345.0"), 7, "1e2");
    Imported whole = Import(rules, text);
    ASSERT_TRUE(whole.result.ok) << whole.result.error;
    EXPECT_EQ(whole.c->karmaBought, 10);
    EXPECT_EQ(whole.c->karmaSpent, 0);
    EXPECT_EQ(whole.c->attributePoints, 100);
}

// Import keeps the character's own order (talents as the disciplines list them) and tells
// what the pages would mark: a discipline closed to the race, attribute points over the
// budget, more increases than the circle allows.
TEST(CharacterJson, ImportWarnsOfWhatThePagesMark) {
    TestRules rules;
    auto original = FullCharacter(rules);
    Json doc = Json::parse(CharacterToJson(*original));
    std::reverse(doc["talents"].begin(), doc["talents"].end());
    Imported same = Import(rules, doc.dump());
    ASSERT_TRUE(same.result.ok) << same.result.error;
    EXPECT_EQ(same.result.warnings,
              Texts{"attributes: 3 increases, over the 2 allowed at circle 3"});
    EXPECT_EQ(CharacterToJson(*same.c), CharacterToJson(*original));

    doc["options"]["attributePoints"] = 1;
    doc["attributes"]["Dexterity"]["increases"] = 5;
    Imported marked = Import(rules, doc.dump());
    ASSERT_TRUE(marked.result.ok) << marked.result.error;
    EXPECT_EQ(marked.result.warnings,
              (Texts{"attributes: 56 attribute points used, over the budget of 1",
                     "attributes: 6 increases, over the 2 allowed at circle 3"}));
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
    doc["options"]["sparkle"] = true;
    doc["derived"]["defenses"]["physical"] = 99;
    Imported i = Import(rules, doc.dump());
    ASSERT_TRUE(i.result.ok) << i.result.error;
    EXPECT_EQ(
        i.result.warnings,
        (Texts{"options.sparkle: unknown key, ignored", "talents[0].note: unknown key, ignored",
               "colour: unknown key, ignored", "equipment[3].worn: unknown key, ignored",
               "attributes: 3 increases, over the 2 allowed at circle 3"}));
    EXPECT_EQ(WriteCharacter(*i.c), WriteCharacter(*original));
}

// Texts reach HTML escaped, control characters shown as "\x1B", and bytes that are not UTF-8
// arrive as Latin-1 in both outputs; the page loads nothing from elsewhere.
TEST(CharacterJson, TextsAreEscapedAndMadeUtf8) {
    TestRules rules;
    auto c = NewCharacter(rules);
    c->name = "<b>Tom & \"Jerry\"</b>\x1b[2J\x01";
    c->description = "caf\xe9";
    const std::string html = BuildHtmlSheet(*c);
    ExpectFile(html, "json/escaped.html");
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("http"), std::string::npos);
    ExpectFile(CharacterToJson(*c), "json/escaped.json");
}

// The edges of each sequence length: what passes through as UTF-8 and what is read as Latin-1.
TEST(CharacterJson, Utf8IsToldFromLatin1AtEveryEdge) {
    const std::pair<const char*, bool> texts[] = {
        {"", true},
        {"\x7f", true},
        {"\xc2\x80", true},
        {"\xdf\xbf", true},
        {"\xe0\xa0\x80", true},
        {"\xed\x9f\xbf", true},
        {"\xee\x80\x80", true},
        {"\xef\xbf\xbf", true},
        {"\xf0\x90\x80\x80", true},
        {"\xf4\x8f\xbf\xbf", true},
        {"a\xc3\xa9z", true},
        {"\x80", false},             // a continuation alone
        {"\xc1\xbf", false},         // overlong
        {"\xe0\x9f\xbf", false},     // overlong
        {"\xed\xa0\x80", false},     // surrogate
        {"\xed\xbf\xbf", false},     // surrogate
        {"\xf0\x8f\xbf\xbf", false}, // overlong
        {"\xf4\x90\x80\x80", false}, // past the last code point
        {"\xf5\x80\x80\x80", false},
        {"\xc3", false}, // cut short
        {"\xe2\x82", false},
        {"\xf0\x90\x80", false},
        {"\xc3(", false},
        {"\xe2\x82(", false},
    };
    for (const auto& [text, valid] : texts) {
        EXPECT_EQ(varn_text::IsValidUtf8(text), valid) << testing::PrintToString(text);
        EXPECT_TRUE(varn_text::IsValidUtf8(varn_text::ToUtf8(text)));
    }
}
