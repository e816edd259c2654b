#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// The sample at a fraction of the way through the sorted samples (0.5: the
// median), the nearest one taken.
inline double Percentile(std::vector<double> samples, double fraction) {
    std::sort(samples.begin(), samples.end());
    return samples[static_cast<std::size_t>(fraction * double(samples.size() - 1) + 0.5)];
}
