// Fuzzes the .vrn reader against the shipped rules. Whatever reads must print a sheet,
// write, read back to itself, and leave no reference behind.

#include "FuzzSupport.h"

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/TextSheet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Reads a file this program wrote, which must succeed without a question, and writes the
// character again.
std::string ReadBack(const std::string& written) {
    CVARN_Character again(fuzz::ShippedRules());
    CVARN_SilentPrompt silent;
    fuzz::Require(ReadCharacter(again, written, silent) == CVARN_FileFailure::None,
                  "a written character reads back");
    std::string sheet;
    BuildTextSheet(again, sheet);
    return WriteCharacter(again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Unknown pieces are answered with a replacement of another kind now and then.
    const RulesDatabase& rules = fuzz::ShippedRules();
    const EquipmentDatabase& items = rules.equipmentDatabase;
    const CVARN_Item* replacement = nullptr;
    if (size % 3 == 1 && !items.weapons.empty())
        replacement = items.weapons.front().get();
    else if (size % 3 == 2 && !items.threadArmors.empty())
        replacement = items.threadArmors.front().get();
    fuzz::YesPrompt prompt(replacement);
    prompt.answer = size % 2 == 0;
    {
        CVARN_Character character(rules);
        if (ReadCharacter(character, bytes, prompt) == CVARN_FileFailure::None) {
            std::string sheet;
            BuildTextSheet(character, sheet);
            // Reading rebuilds the talent list in the order of the disciplines, whatever
            // order raising their circles once gave it: the first save may list talents in
            // another order than the next one, with the same records. From then on a save
            // must read back to exactly itself.
            std::string first = WriteCharacter(character);
            std::string second = ReadBack(first);
            fuzz::Require(second.size() == first.size(), "a read-back character keeps its records");
            fuzz::Require(ReadBack(second) == second, "a saved character reads back to itself");
        }
        fuzz::Require(LinksMatchRecords(character), "each record is linked to its entry");
    }
    return 0;
}
