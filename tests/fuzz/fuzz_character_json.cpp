// Fuzzes the JSON import against the shipped rules. A document it accepts must export, show
// as HTML, import again to the same character and export to the same document; a refused
// one must say where; no reference may outlive its character.

#include "FuzzSupport.h"

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "character/HtmlSheet.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const RulesDatabase& rules = fuzz::ShippedRules();
    {
        CVARN_Character character(rules);
        const CVARN_JsonImport result = CharacterFromJson(character, text);
        if (result.ok) {
            BuildHtmlSheet(character);
            const std::string json = CharacterToJson(character);
            CVARN_Character again(rules);
            const CVARN_JsonImport back = CharacterFromJson(again, json);
            fuzz::Require(back.ok, "an exported document imports");
            // Only what the pages mark, which the first import told as well.
            for (const std::string& w : back.warnings)
                fuzz::Require(std::find(result.warnings.begin(), result.warnings.end(), w) !=
                                  result.warnings.end(),
                              "an exported document warns only of its character");
            fuzz::Require(WriteCharacter(again) == WriteCharacter(character),
                          "an imported document keeps the character");
            fuzz::Require(CharacterToJson(again) == json, "a document exports to itself");
            fuzz::Require(LinksMatchRecords(again), "each record is linked to its entry");
        } else {
            fuzz::Require(result.error.find(": ") != std::string::npos, "an error names a path");
        }
        fuzz::Require(LinksMatchRecords(character), "each record is linked to its entry");
    }
    return 0;
}
