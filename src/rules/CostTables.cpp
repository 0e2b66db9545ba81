#include "rules/SystemTables.h"

#include <algorithm>

int32_t TalentCost(int circle, int rank) {
    if (rank < 1)
        return 0;
    const int tier = circle <= 4 ? 0 : circle <= 8 ? 1 : circle <= 12 ? 2 : 3;
    const int r = std::min(rank, 15);
    return TalentCostTable[r + tier] - TalentCostTable[tier];
}

int32_t SkillCost(int rank) {
    return rank < 1 ? 0 : SkillCostTable[std::min(rank, 10)];
}

int32_t IncreaseCost(int n) {
    return n < 1 ? 0 : IncreaseCostTable[std::min(n, 5)];
}
