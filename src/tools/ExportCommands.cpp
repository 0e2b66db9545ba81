// varn-tool export and import: a character as JSON or as the laid-out HTML sheet, and a
// character built from JSON.

#include "character/Character.h"
#include "character/CharacterFile.h"
#include "character/CharacterJson.h"
#include "character/HtmlSheet.h"
#include "rules/RulesDatabase.h"
#include "tools/Commands.h"
#include "tools/ToolPrompt.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

bool EndsWithNoCase(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size())
        return false;
    for (size_t i = 0; i < tail.size(); ++i) {
        char ch = s[s.size() - tail.size() + i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != tail[i])
            return false;
    }
    return true;
}

int Failed(CVARN_FileFailure failure, const std::string& path) {
    std::cerr << FileFailureText(failure, path) << "\n";
    return 1;
}

} // namespace

int CommandExport(const std::string& dataDirectory, const std::vector<std::string>& args) {
    const std::string& out = args.at(1);
    const bool json = IsJsonPath(out);
    if (!json && !EndsWithNoCase(out, ".html") && !EndsWithNoCase(out, ".htm")) {
        std::cerr << "varn-tool: export writes OUT.json or OUT.html, not '" << out << "'\n";
        return 2;
    }
    ToolPrompt prompt; // questions answered Cancel
    // The rules outlive the character: its destructor unregisters its records there.
    RulesDatabase rules;
    if (!LoadRulesDatabase(rules, dataDirectory, prompt))
        return 1;
    auto character = std::make_unique<CVARN_Character>(rules);
    if (const std::string problem = ReadCharacterFileExplained(*character, args[0], prompt);
        !problem.empty()) {
        std::cerr << problem << "\n";
        return 1;
    }
    const std::string bytes = json ? CharacterToJson(*character) : BuildHtmlSheet(*character);
    if (CVARN_FileFailure f = WriteFileBytes(out, bytes); f != CVARN_FileFailure::None)
        return Failed(f, out);
    return 0;
}

int CommandImport(const std::string& dataDirectory, const std::vector<std::string>& args) {
    const std::string& out = args.at(1);
    if (!IsCharacterFilePath(out)) {
        std::cerr << "varn-tool: import writes a character file OUT.vrn, not '" << out << "'\n";
        return 2;
    }
    ToolPrompt prompt;
    RulesDatabase rules;
    if (!LoadRulesDatabase(rules, dataDirectory, prompt))
        return 1;
    std::string text;
    if (const std::string problem = ReadJsonDocument(args[0], text); !problem.empty()) {
        std::cerr << problem << "\n";
        return 1;
    }
    auto character = std::make_unique<CVARN_Character>(rules);
    const CVARN_JsonImport result = CharacterFromJson(*character, text);
    // Texts of the document in messages come with their control characters made visible.
    for (const std::string& warning : result.warnings)
        std::cerr << "warning: " << warning << "\n";
    if (!result.ok) {
        std::cerr << result.error << "\n";
        return 1;
    }
    if (CVARN_FileFailure f = WriteFileBytes(out, WriteCharacter(*character));
        f != CVARN_FileFailure::None)
        return Failed(f, out);
    return 0;
}
