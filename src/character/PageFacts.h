#pragma once

// What the character pages show beyond the character's stored values: the conditions and
// texts of their warnings, the contents of their lists and the texts of figures that are not
// plain numbers. Every front end shows these from here, so none of them holds a rule.

#include <array>
#include <string>
#include <vector>

class CVARN_Character;
class CVARN_CharEquip;
class CVARN_DBDiscipline;
class CVARN_Item;

// --- Character page
// Available legend points below zero.
bool LegendOverspent(const CVARN_Character& character);

// --- Attributes page
// "spent / budget", or "spent / --" while attribute costs are not checked.
std::string AttributePointsText(const CVARN_Character& character);
bool AttributePointsOver(const CVARN_Character& character);
// "used / allowed", or "used / --" while not checked.
std::string IncreasesText(const CVARN_Character& character);
bool IncreasesOver(const CVARN_Character& character);
// Increases the circle allows: one per circle above the first.
int AllowedIncreases(const CVARN_Character& character);
// Karma available above the maximum or below zero.
bool KarmaOutOfRange(const CVARN_Character& character);
// "combat/full"; flying is "N/A" for a race that cannot fly.
std::string LandMovementText(const CVARN_Character& character);
std::string FlyMovementText(const CVARN_Character& character);
// The count, "1/2" (one every other day) or "None".
std::string RecoveryTestsText(const CVARN_Character& character);
// The dice of a step, then the step: "D8 (5)".
std::string StepDiceText(const CVARN_Character& character, int step);

// --- Discipline page
// Whether the Available Disciplines list holds the discipline: with the race/discipline
// compatibility option on, only the disciplines the character's race may follow.
bool DisciplineOffered(const CVARN_Character& character, const CVARN_DBDiscipline& discipline);
// The list's entries, in data-set order (the page sorts them by name).
std::vector<const CVARN_DBDiscipline*> OfferedDisciplines(const CVARN_Character& character);

// --- Spells page
// The warning shown while a spell of `spellType` is selected and the character lacks its
// thread weaving talent; "" when it has it.
std::string ThreadWeavingWarning(const CVARN_Character& character, const std::string& spellType);

// --- Equipment page
// More than one armour or more than one shield worn: one line for each, "\r\n" between.
std::string WornArmorsWarning(const CVARN_Character& character);
// Puts an armour or shield on or takes it off; false (nothing changes) for other pieces.
bool SetPieceWorn(CVARN_Character& character, CVARN_CharEquip& piece, bool worn);
// The woven thread rank of a thread armour; false (nothing changes) for other pieces.
bool SetPieceThreadRank(CVARN_Character& character, CVARN_CharEquip& piece, int rank);
// The six label/value rows the page shows for an entry, or for an owned piece (a thread
// armour then adds the power of its woven rank); "-" / "-" for rows the kind does not use.
struct CVARN_ItemDetail {
    std::string label;
    std::string value;
};
using CVARN_ItemDetails = std::array<CVARN_ItemDetail, 6>;
CVARN_ItemDetails ItemDetails(const CVARN_Character& character, const CVARN_Item* entry,
                              const CVARN_CharEquip* piece = nullptr);
