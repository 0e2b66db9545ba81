#include "character/CharRecords.h"
#include "rules/SystemTables.h"

#include <algorithm>

void CVARN_CharAtt::SetRaceRow(const CVARN_RaceAtt& row, int16_t highestAttributeValue) {
    minimum = row.minimum;
    maximum = row.maximum;
    raceModifier = row.modifier;
    // The value must stay at least 1, and room must be left for five increases below the
    // top of the attribute table.
    if (minimum + raceModifier < 1)
        minimum = static_cast<int16_t>(1 - raceModifier);
    if (maximum + raceModifier + 5 > highestAttributeValue)
        maximum = static_cast<int16_t>(highestAttributeValue - raceModifier - 5);
    SetBase(base);
}

void CVARN_CharAtt::SetBase(int v) {
    // The maximum wins when a race's limits cross.
    if (v < minimum)
        v = minimum;
    if (v > maximum)
        v = maximum;
    base = static_cast<int16_t>(v);
    cost = AttributeCost(base);
    Recompute();
}

void CVARN_CharAtt::SetIncreases(int n) {
    increases = static_cast<int16_t>(std::clamp(n, 0, 5));
    Recompute();
    increaseLegend = IncreaseCost(increases);
}

void CVARN_CharAtt::Recompute() {
    value = static_cast<int16_t>(base + raceModifier + increases);
    step = static_cast<int16_t>((value - 1) / 3 + 2);
}
