#pragma once

// Characters as JSON documents ("format": "varn-character", "version": 1) for other tools.
// The stored values come first, as the character keeps them; a separate "derived" object
// holds what the sheet shows, for readers, and is ignored on import. docs/character-json.md
// describes the format and docs/character.schema.json checks it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CVARN_Character;
class CVARN_UserPrompt;

inline constexpr const char* kCharacterJsonFormat = "varn-character";
inline constexpr int kCharacterJsonVersion = 1;
// A character document is some tens of kilobytes; import refuses one larger than this, and
// a list (talents, equipment...) of more entries than this.
inline constexpr size_t kCharacterJsonSizeLimit = size_t{8} << 20;
inline constexpr size_t kCharacterJsonListLimit = 10000;

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
// skills, spells, equipment, karma, legend and options. The document is read in time and
// memory in proportion to its size; "derived" and unknown keys are checked as JSON but not
// kept. Rules the pages only mark (attribute budget, increases, a discipline closed to the
// race) come back as warnings. On failure the character is half-built and must be discarded.
CVARN_JsonImport CharacterFromJson(CVARN_Character& character, std::string_view text);

// True when `path` ends in ".json", in any case.
bool IsJsonPath(const std::string& path);

// Reads the document at `path`, stopping past the size limit. "" when read; otherwise the
// message to print, as import writes it ("document: larger than ...") or naming the file.
std::string ReadJsonDocument(const std::string& path, std::string& text);

// Reads the character file at `path` for a command that shows or exports it. "" when it was
// read; otherwise the message to print: the file's failure, or what the file is instead (a
// JSON document, to import first; a file too large for a character).
std::string ReadCharacterFileExplained(CVARN_Character& character, const std::string& path,
                                       CVARN_UserPrompt& prompt);
