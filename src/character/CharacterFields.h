#pragma once

#include "character/Character.h"
#include "character/SheetContent.h"

#include <cstdint>

// The character's plain fields: every member that holds one value (the record lists, the
// attributes, the links and the document are kept apart). One row a field, in this order:
//
//   member, JSON object ("" for the document itself), JSON key, JSON form, undo step name,
//   how JSON import sets it
//
// The rows make the undo history's copy of the character (a member missing here would be
// lost by undo), name an undo step after the first labelled field it changed, and write and
// read the plain values of the JSON document, each object's keys in row order. Derived values
// have neither a key nor a step name. A new stored field is a member of the character, a row
// here, its place in the character file and the control of a page.
//
// How import sets a field: Out, not at all (derived, or read apart as the race is);
// Text(limit), a text of at most `limit` characters, assigned; Set(low, high), a number or
// switch assigned as the System page assigns it, marking the character modified;
// Call(Setter, low, high), a number handed to the character's operation.
#define VARN_CHARACTER_FIELDS(X)                                                                   \
    X(race, nullptr, nullptr, None, "Race", Out)                                                   \
    X(name, "", "name", Text, "Name", Text(varn_sheet::kNameLimit))                                \
    X(raceName, "", "race", Text, nullptr, Out)                                                    \
    X(description, "", "description", Text, "Description", Text(varn_sheet::kDescriptionLimit))    \
    X(karmaBought, "karma", "bought", Number, "Karma", Call(SetKarmaBought, 0, 32767))             \
    X(karmaSpent, "karma", "spent", Number, "Karma", Call(SetKarmaSpent, 0, 32767))                \
    X(legendEarned, "legend", "earned", Number, "Legend Points",                                   \
      Call(SetLegendEarned, 0, INT32_MAX))                                                         \
    X(creationLegend, "legend", "creation", Number, "Legend Points",                               \
      Call(SetCreationLegend, 0, INT32_MAX))                                                       \
    X(extraCosts, "legend", "extraCosts", Number, "Legend Points",                                 \
      Call(SetExtraCosts, 0, INT32_MAX))                                                           \
    X(attributesCost, "options", "attributesCost", Switch, "System Option", Set(0, 1))             \
    X(attributeIncrease, "options", "attributeIncrease", Switch, "System Option", Set(0, 1))       \
    X(attributesMinMax, "options", "attributesMinMax", Switch, "System Option", Set(0, 1))         \
    X(circleAdvancement, "options", "circleAdvancement", Switch, "System Option", Set(0, 1))       \
    X(armorsWornLimit, "options", "armorsWornLimit", Switch, "System Option", Set(0, 1))           \
    X(raceDisciplineCompatibility, "options", "raceDisciplineCompatibility", Switch,               \
      "System Option", Set(0, 1))                                                                  \
    X(attributePoints, "options", "attributePoints", Number, "Attribute Points", Set(1, 999))      \
    X(karmaMax, nullptr, nullptr, None, nullptr, Out)                                              \
    X(highestCircle, nullptr, nullptr, None, nullptr, Out)                                         \
    X(disciplineBonuses, nullptr, nullptr, None, nullptr, Out)                                     \
    X(talentLegend, nullptr, nullptr, None, nullptr, Out)                                          \
    X(increaseLegend, nullptr, nullptr, None, nullptr, Out)                                        \
    X(karmaLegend, nullptr, nullptr, None, nullptr, Out)                                           \
    X(skillLegend, nullptr, nullptr, None, nullptr, Out)                                           \
    X(karmaCurrent, nullptr, nullptr, None, nullptr, Out)                                          \
    X(karmaCost, nullptr, nullptr, None, nullptr, Out)                                             \
    X(karmaStep, nullptr, nullptr, None, nullptr, Out)                                             \
    X(mysticArmor, nullptr, nullptr, None, nullptr, Out)                                           \
    X(physicArmor, nullptr, nullptr, None, nullptr, Out)                                           \
    X(physicalDefense, nullptr, nullptr, None, nullptr, Out)                                       \
    X(socialDefense, nullptr, nullptr, None, nullptr, Out)                                         \
    X(spellDefense, nullptr, nullptr, None, nullptr, Out)                                          \
    X(unconsciousnessRating, nullptr, nullptr, None, nullptr, Out)                                 \
    X(deathRating, nullptr, nullptr, None, nullptr, Out)                                           \
    X(woundThreshold, nullptr, nullptr, None, nullptr, Out)                                        \
    X(recoveryTests, nullptr, nullptr, None, nullptr, Out)                                         \
    X(recoveryStep, nullptr, nullptr, None, nullptr, Out)                                          \
    X(initiativeStep, nullptr, nullptr, None, nullptr, Out)                                        \
    X(flyCombat, nullptr, nullptr, None, nullptr, Out)                                             \
    X(flyFull, nullptr, nullptr, None, nullptr, Out)                                               \
    X(landCombat, nullptr, nullptr, None, nullptr, Out)                                            \
    X(landFull, nullptr, nullptr, None, nullptr, Out)                                              \
    X(durabilityRank, nullptr, nullptr, None, nullptr, Out)                                        \
    X(deathPerRank, nullptr, nullptr, None, nullptr, Out)                                          \
    X(unconsciousnessPerRank, nullptr, nullptr, None, nullptr, Out)                                \
    X(liftingCapacity, nullptr, nullptr, None, nullptr, Out)                                       \
    X(carryingCapacity, nullptr, nullptr, None, nullptr, Out)

// How the JSON document shows a field: not at all, as UTF-8 text, as a number, or as true
// for any value but 0.
enum class CVARN_JsonForm { None, Text, Number, Switch };

// How JSON import reads a field (see the rows' last column).
struct CVARN_FieldInput {
    bool read = false;
    int64_t low = 0;
    int64_t high = 0; // for a text, its most characters
};

struct CVARN_FieldRow {
    const char* jsonObject; // nullptr: not in the document
    const char* jsonKey;
    CVARN_JsonForm jsonForm;
    const char* undoName; // nullptr: changing it alone names no undo step
    CVARN_FieldInput input;
};

constexpr CVARN_FieldInput CVARN_FieldRead(int64_t low, int64_t high) {
    return CVARN_FieldInput{true, low, high};
}

#define VARN_FIELD_INPUT_Out CVARN_FieldInput(), nullptr
#define VARN_FIELD_INPUT_Text(limit) CVARN_FieldRead(0, limit), nullptr
#define VARN_FIELD_INPUT_Set(low, high) CVARN_FieldRead(low, high), nullptr
#define VARN_FIELD_INPUT_Call(setter, low, high)                                                   \
    CVARN_FieldRead(low, high), &CVARN_Character::setter

// Calls visit(row, &CVARN_Character::member, setter) for every row, in order; `setter` is
// the operation import calls, or nullptr where it assigns the member.
template <typename Visit> void VisitCharacterFields(Visit&& visit) {
#define VARN_VISIT_FIELD(member, object, key, form, undo, input)                                   \
    VARN_VISIT_FIELD_WITH(member, object, key, form, undo, VARN_FIELD_INPUT_##input)
#define VARN_VISIT_FIELD_WITH(...) VARN_VISIT_FIELD_ROW(__VA_ARGS__)
#define VARN_VISIT_FIELD_ROW(member, object, key, form, undo, input, setter)                       \
    visit(CVARN_FieldRow{object, key, CVARN_JsonForm::form, undo, input},                          \
          &CVARN_Character::member, setter);
    VARN_CHARACTER_FIELDS(VARN_VISIT_FIELD)
#undef VARN_VISIT_FIELD_ROW
#undef VARN_VISIT_FIELD_WITH
#undef VARN_VISIT_FIELD
}
