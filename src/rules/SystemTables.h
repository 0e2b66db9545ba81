#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CVARN_UserPrompt;

// One row of the attribute table: what an attribute value gives.
struct CVARN_AttributeRow {
    int16_t defense = 0;
    int16_t fullMovement = 0;
    int16_t combatMovement = 0;
    int16_t carrying = 0;
    int16_t lifting = 0;
    int16_t deathBase = 0;
    int16_t unconsciousnessBase = 0;
    int16_t woundThreshold = 0;
    int16_t recoveryTests = 0;
    int16_t mysticArmor = 0;
};

// Cumulative legend-point cost tables (built in, not read from a file).
inline constexpr int32_t TalentCostTable[19] = {
    0,     100,   300,   600,   1100,   1900,   3200,   5300,   8700,   14200,
    23100, 37500, 60800, 98500, 159500, 258200, 417900, 676300, 1094400};
inline constexpr int32_t SkillCostTable[11] = {0,    200,   500,   1000,  2300, 4400,
                                               7800, 16700, 31100, 54400, 92100};
inline constexpr int32_t IncreaseCostTable[6] = {0, 800, 2100, 4200, 7600, 13100};

// Cost of a talent of offer circle `circle` at rank `rank`.
int32_t TalentCost(int circle, int rank);
// Cost of a skill at rank `rank`.
int32_t SkillCost(int rank);
// Cost of `n` increases of one attribute.
int32_t IncreaseCost(int n);

// The content of VARN.dat: attribute rows and the step-to-dice texts.
class SystemTables {
public:
    // Highest attribute value of the table (its first data row); 0 while empty.
    int16_t HighestAttributeValue() const { return highestAttributeValue; }
    // Highest step of the dice table; 0 while empty.
    int16_t HighestStep() const { return highestStep; }
    bool HasAttributeRows() const { return !attributeRows.empty(); }
    bool HasDiceTexts() const { return !diceTexts.empty(); }

    // Row of an attribute value; values outside the table give the nearest row (the caller
    // normally never asks for one), and an empty table gives a row of zeros.
    const CVARN_AttributeRow& AttributeRow(int value) const;

    // Dice text of a step: above the highest step gives the highest step's text, below 0
    // gives step 0's text; an empty table gives "".
    std::string GetActionDice(int step) const;

    // Reader state, public for the reader and tests.
    int16_t highestStep = 0;
    std::vector<std::string> diceTexts;
    int16_t highestAttributeValue = 0;
    std::vector<CVARN_AttributeRow> attributeRows;
};

// Reads VARN.dat from `dataDirectory` (ending with "/"). Returns false when the file
// does not exist (after its "not found" message); other faults keep what was read.
bool ReadSystemTables(SystemTables& tables, const std::string& dataDirectory,
                      CVARN_UserPrompt& prompt);
