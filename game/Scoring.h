#pragma once

#include <cstddef>
#include <cstdint>

// Points for a word of the given length in letters; a "QU" die counts as two.
// 0-1: 0, 2-3: 1, 4: 2, 5: 3, 6: 6, 7: 8, 8 and more: 10.
std::int32_t PointsForLength(std::size_t letters);
