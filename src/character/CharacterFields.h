#pragma once

#include "character/Character.h"

// The character's plain fields: every member that holds one value (the record lists, the
// attributes, the links and the document are kept apart). One row a field, in this order:
//
//   member, JSON object ("" for the document itself), JSON key, JSON form, undo step name
//
// The rows make the undo history's copy of the character (a member missing here would be
// lost by undo), name an undo step after the first labelled field it changed, and write the
// plain values of the JSON document, each object's keys in row order. Derived values have
// neither a key nor a step name. A new stored field is a member of the character, a row here,
// its place in the character file and the control of a page.
#define VARN_CHARACTER_FIELDS(X)                                                                   \
    X(version, nullptr, nullptr, None, nullptr)                                                    \
    X(race, nullptr, nullptr, None, "Race")                                                        \
    X(name, "", "name", Text, "Name")                                                              \
    X(raceName, "", "race", Text, nullptr)                                                         \
    X(description, "", "description", Text, "Description")                                         \
    X(karmaBought, "karma", "bought", Number, "Karma")                                             \
    X(karmaSpent, "karma", "spent", Number, "Karma")                                               \
    X(legendEarned, "legend", "earned", Number, "Legend Points")                                   \
    X(creationLegend, "legend", "creation", Number, "Legend Points")                               \
    X(extraCosts, "legend", "extraCosts", Number, "Legend Points")                                 \
    X(attributesCost, "options", "attributesCost", Switch, "System Option")                        \
    X(attributeIncrease, "options", "attributeIncrease", Switch, "System Option")                  \
    X(attributesMinMax, "options", "attributesMinMax", Switch, "System Option")                    \
    X(circleAdvancement, "options", "circleAdvancement", Switch, "System Option")                  \
    X(armorsWornLimit, "options", "armorsWornLimit", Switch, "System Option")                      \
    X(raceDisciplineCompatibility, "options", "raceDisciplineCompatibility", Switch,               \
      "System Option")                                                                             \
    X(attributePoints, "options", "attributePoints", Number, "Attribute Points")                   \
    X(karmaMax, nullptr, nullptr, None, nullptr)                                                   \
    X(highestCircle, nullptr, nullptr, None, nullptr)                                              \
    X(disciplineBonuses, nullptr, nullptr, None, nullptr)                                          \
    X(talentLegend, nullptr, nullptr, None, nullptr)                                               \
    X(increaseLegend, nullptr, nullptr, None, nullptr)                                             \
    X(karmaLegend, nullptr, nullptr, None, nullptr)                                                \
    X(skillLegend, nullptr, nullptr, None, nullptr)                                                \
    X(karmaCurrent, nullptr, nullptr, None, nullptr)                                               \
    X(karmaCost, nullptr, nullptr, None, nullptr)                                                  \
    X(karmaStep, nullptr, nullptr, None, nullptr)                                                  \
    X(mysticArmor, nullptr, nullptr, None, nullptr)                                                \
    X(physicArmor, nullptr, nullptr, None, nullptr)                                                \
    X(physicalDefense, nullptr, nullptr, None, nullptr)                                            \
    X(socialDefense, nullptr, nullptr, None, nullptr)                                              \
    X(spellDefense, nullptr, nullptr, None, nullptr)                                               \
    X(unconsciousnessRating, nullptr, nullptr, None, nullptr)                                      \
    X(deathRating, nullptr, nullptr, None, nullptr)                                                \
    X(woundThreshold, nullptr, nullptr, None, nullptr)                                             \
    X(recoveryTests, nullptr, nullptr, None, nullptr)                                              \
    X(recoveryStep, nullptr, nullptr, None, nullptr)                                               \
    X(initiativeStep, nullptr, nullptr, None, nullptr)                                             \
    X(flyCombat, nullptr, nullptr, None, nullptr)                                                  \
    X(flyFull, nullptr, nullptr, None, nullptr)                                                    \
    X(landCombat, nullptr, nullptr, None, nullptr)                                                 \
    X(landFull, nullptr, nullptr, None, nullptr)                                                   \
    X(durabilityRank, nullptr, nullptr, None, nullptr)                                             \
    X(deathPerRank, nullptr, nullptr, None, nullptr)                                               \
    X(unconsciousnessPerRank, nullptr, nullptr, None, nullptr)                                     \
    X(liftingCapacity, nullptr, nullptr, None, nullptr)                                            \
    X(carryingCapacity, nullptr, nullptr, None, nullptr)

// How the JSON document shows a field: not at all, as UTF-8 text, as a number, or as true
// for any value but 0.
enum class CVARN_JsonForm { None, Text, Number, Switch };

struct CVARN_FieldRow {
    const char* jsonObject; // nullptr: not in the document
    const char* jsonKey;
    CVARN_JsonForm jsonForm;
    const char* undoName; // nullptr: changing it alone names no undo step
};

// Calls visit(row, &CVARN_Character::member) for every row, in order.
template <typename Visit> void VisitCharacterFields(Visit&& visit) {
#define VARN_VISIT_FIELD(member, object, key, form, undo)                                          \
    visit(CVARN_FieldRow{object, key, CVARN_JsonForm::form, undo}, &CVARN_Character::member);
    VARN_CHARACTER_FIELDS(VARN_VISIT_FIELD)
#undef VARN_VISIT_FIELD
}
