// Fuzzes the .vrn reader against the shipped rules. Whatever reads must write, read back
// and write again to the same bytes, print a sheet, and leave no reference behind.

#include "FuzzSupport.h"

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/TextSheet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

RulesDatabase* rules = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    rules = new RulesDatabase;
    CVARN_SilentPrompt prompt;
    fuzz::Require(LoadRulesDatabase(*rules, VARN_SHIPPED_DATA_DIR, prompt),
                  "the shipped rules load");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Unknown pieces are answered with a replacement of another kind now and then.
    const EquipmentDatabase& items = rules->equipmentDatabase;
    const CVARN_Item* replacement = nullptr;
    if (size % 3 == 1 && !items.weapons.empty())
        replacement = items.weapons.front().get();
    else if (size % 3 == 2 && !items.threadArmors.empty())
        replacement = items.threadArmors.front().get();
    fuzz::YesPrompt prompt(replacement);
    prompt.answer = size % 2 == 0;
    {
        CVARN_Character character(*rules);
        if (ReadCharacter(character, bytes, prompt) == CVARN_FileFailure::None) {
            std::string written = WriteCharacter(character);
            std::string sheet;
            BuildTextSheet(character, sheet);

            CVARN_Character again(*rules);
            CVARN_SilentPrompt silent;
            fuzz::Require(ReadCharacter(again, written, silent) == CVARN_FileFailure::None,
                          "a written character reads back");
            fuzz::Require(WriteCharacter(again) == written,
                          "a read-back character writes the same");
            std::string sheetAgain;
            BuildTextSheet(again, sheetAgain);
            fuzz::Require(sheetAgain == sheet, "a read-back character prints the same sheet");
        }
    }
    fuzz::Require(fuzz::NoReferences(*rules), "no reference outlives its character");
    return 0;
}
