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
    const bool read = ReadEntries(
        file, ' ', "Error : Missin spell name in .dat file", prompt,
        [&spells](std::string_view header) {
            auto entry = std::make_unique<CVARN_DBSpell>();
            entry->name = std::string(HeaderName(header));
            return spells.Add(std::move(entry));
        },
        [](CVARN_DBSpell& spell, std::string_view line) {
            std::string_view value;
            if (MatchKeyword(line, "Type:", value)) {
                size_t count = 0;
                ForEachInList(value, [&count](std::string_view) { ++count; });
                spell.types.reserve(spell.types.size() + count);
                ForEachInList(value,
                              [&spell](std::string_view type) { spell.types.emplace_back(type); });
                return true;
            }
            if (MatchKeyword(line, "Circle:", value)) {
                ReadInt16(value, spell.circle);
                return true;
            }
            for (const auto& [keyword, field] : textKeywords) {
                if (MatchKeyword(line, keyword, value)) {
                    spell.*field = std::string(value);
                    return true;
                }
            }
            return false;
        });
    return read ? ReadResult::Ok : ReadResult::Fatal;
}
