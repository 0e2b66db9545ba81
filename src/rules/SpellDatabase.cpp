#include "rules/SpellDatabase.h"

#include "rules/BucketChain.h"
#include "rules/DataFile.h"
#include "rules/UserPrompt.h"

using namespace DataFile;

CVARN_DBSpell::~CVARN_DBSpell() {
    UnlinkChain(next);
}

template class BucketTable<CVARN_DBSpell>;

ReadResult ReadSpells(SpellTable& spells, const std::string& dataDirectory,
                      CVARN_UserPrompt& prompt) {
    Reader file;
    if (!OpenDataFile(file, dataDirectory, "Spells.dat", "File 'Spells.dat' not found", prompt))
        return ReadResult::Fatal;

    CVARN_DBSpell* current = nullptr;
    Description description(' ');
    std::string_view raw;
    while (file.NextLine(raw)) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            if (current != nullptr)
                description.MoveTo(current->description);
            auto entry = std::make_unique<CVARN_DBSpell>();
            entry->name = std::string(HeaderName(line));
            current = spells.Add(std::move(entry));
            continue;
        }
        if (current == nullptr) {
            prompt.ShowMessage("Error : Missin spell name in .dat file");
            continue;
        }
        struct TextKeyword {
            std::string_view keyword;
            std::string CVARN_DBSpell::*field;
        };
        static constexpr TextKeyword textKeywords[] = {
            {"Threads:", &CVARN_DBSpell::threads},       {"Weaving:", &CVARN_DBSpell::weaving},
            {"Reattuning:", &CVARN_DBSpell::reattuning}, {"Range:", &CVARN_DBSpell::range},
            {"Duration:", &CVARN_DBSpell::duration},     {"Effect:", &CVARN_DBSpell::effect},
            {"Difficulty:", &CVARN_DBSpell::difficulty},
        };
        std::string_view value;
        if (MatchKeyword(line, "Type:", value)) {
            size_t count = 0;
            ForEachInList(value, [&count](std::string_view) { ++count; });
            current->types.reserve(current->types.size() + count);
            ForEachInList(value,
                          [current](std::string_view type) { current->types.emplace_back(type); });
            continue;
        }
        if (MatchKeyword(line, "Circle:", value)) {
            ReadInt16(value, current->circle);
            continue;
        }
        bool matched = false;
        for (const auto& [keyword, field] : textKeywords) {
            if (MatchKeyword(line, keyword, value)) {
                current->*field = std::string(value);
                matched = true;
                break;
            }
        }
        if (!matched)
            description.Append(line);
    }
    if (file.ReadFailed())
        return ReadResult::Fatal;
    if (current != nullptr)
        description.MoveTo(current->description);
    return ReadResult::Ok;
}
