#pragma once
// The nozzle-check print jobs: raw printer data of an exact length that prints a staircase of short strokes,
// one per nozzle, so that a missing stroke shows a blocked nozzle. The same length always gives the same
// bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace printjob {

// The smallest job: the set-up commands, one bit-image line of one column, its feed and the form feed.
std::size_t MinimumSize();

// The job of exactly `size` bytes (at least MinimumSize()).
std::vector<std::uint8_t> NozzleCheckJob(std::size_t size);

}  // namespace printjob
