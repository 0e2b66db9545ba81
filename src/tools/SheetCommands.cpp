// varn-tool sheet and convert: read a character file and print or save it.

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "character/TextSheet.h"
#include "rules/RulesDatabase.h"
#include "rules/UserPrompt.h"
#include "tools/Commands.h"
#include "tools/ToolPrompt.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

void Report(CVARN_FileFailure failure, const std::string& path) {
    std::cerr << FileFailureText(failure, path) << "\n";
}

// Loads the rules and the character; nullptr (after the messages) when either fails.
// The rules must outlive the character: its destructor unregisters its records there.
struct LoadedCharacter {
    std::unique_ptr<RulesDatabase> rules;
    std::unique_ptr<CVARN_Character> character;
};

bool Load(const std::string& dataDirectory, const std::string& path, LoadedCharacter& loaded,
          CVARN_UserPrompt& prompt) {
    loaded.rules = std::make_unique<RulesDatabase>();
    if (!LoadRulesDatabase(*loaded.rules, dataDirectory, prompt))
        return false;
    loaded.character = std::make_unique<CVARN_Character>(*loaded.rules);
    const std::string problem = ReadCharacterFileExplained(*loaded.character, path, prompt);
    if (!problem.empty()) {
        std::cerr << problem << "\n";
        loaded.character.reset();
        return false;
    }
    return true;
}

} // namespace

int CommandSheet(const std::string& dataDirectory, const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::cerr << "usage: varn-tool sheet [--data DIR] FILE.vrn\n";
        return 2;
    }
    ToolPrompt prompt; // questions answered Cancel
    LoadedCharacter loaded;
    if (!Load(dataDirectory, args[0], loaded, prompt))
        return 1;
    // Standard output gets the sheet with plain line feeds; the text export of convert
    // writes the same text with carriage returns added.
    std::string sheet;
    BuildTextSheet(*loaded.character, sheet);
    // A failed write shows in the stream's error state, which main checks with the flush.
    std::fwrite(sheet.data(), 1, sheet.size(), stdout);
    return 0;
}

int CommandConvert(const std::string& dataDirectory, const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::cerr << "usage: varn-tool convert [--data DIR] IN.vrn OUT\n";
        return 2;
    }
    ToolPrompt prompt; // questions answered Cancel
    LoadedCharacter loaded;
    if (!Load(dataDirectory, args[0], loaded, prompt))
        return 1;
    CVARN_FileFailure failure = SaveCharacterFile(*loaded.character, args[1]);
    if (failure != CVARN_FileFailure::None) {
        Report(failure, args[1]);
        return 1;
    }
    return 0;
}
