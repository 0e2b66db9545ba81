#include "character/CharRecords.h"

namespace {
constexpr int16_t kAttributeCostTable[19] = {0, 0, -3, -2, -1, 0,  1,  2,  3, 4,
                                             5, 6, 8,  10, 13, 16, 19, 21, 23};
}

int16_t AttributeCost(int base) {
    // Bases outside the purchase table cost what its nearest end costs.
    if (base < 0)
        base = 0;
    if (base > 18)
        base = 18;
    return kAttributeCostTable[base];
}
