#pragma once

// Characters as JSON documents ("format": "varn-character", "version": 1) for other tools.
// The stored values come first, as the character keeps them; a separate "derived" object
// holds what the sheet shows, for readers, and is ignored on import. docs/character-json.md
// describes the format and docs/character.schema.json checks it.

#include <string>
#include <string_view>
#include <vector>

class CVARN_Character;

inline constexpr const char* kCharacterJsonFormat = "varn-character";
inline constexpr int kCharacterJsonVersion = 1;

// The document, indented by two blanks, ending with a line feed.
std::string CharacterToJson(const CVARN_Character& character);

struct CVARN_JsonImport {
    bool ok = false;
    // When not ok: "talents[3].name: no talent \"Fire Ward\" in the data set".
    std::string error;
    // Keys this version does not know: "talents[0].note: unknown key, ignored".
    std::vector<std::string> warnings;
};

// Builds a newly constructed character from a document through the character's own
// operations, in the order a user fills the pages: race, attributes, disciplines, talents,
// skills, spells, equipment, karma, legend and options. On failure the character is
// half-built and must be discarded.
CVARN_JsonImport CharacterFromJson(CVARN_Character& character, std::string_view text);

// True when `path` ends in ".json", in any case.
bool IsJsonPath(const std::string& path);
