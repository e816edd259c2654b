#include "Scoring.h"

std::int32_t PointsForLength(std::size_t letters) {
    if (letters <= 1) {
        return 0;
    }
    if (letters <= 3) {
        return 1;
    }
    switch (letters) {
    case 4:
        return 2;
    case 5:
        return 3;
    case 6:
        return 6;
    case 7:
        return 8;
    default:
        return 10;
    }
}
