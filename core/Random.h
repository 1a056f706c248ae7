// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quiz's pseudo-random generator: the 32-bit linear congruential sequence
// seed * 134775813 + 1 (modulo 2^32). A draw below n takes the upper half of
// the 64-bit product of n by the next seed, so it lies in 0 .. n - 1 (0 when
// n is 0). The quiz reseeds it from the clock before every question.
#include <chrono>
#include <cstdint>
#include <functional>
#include <random>

namespace tenaxo {

using Random = std::linear_congruential_engine<uint32_t, 134775813u, 1u, 0u>;

inline uint32_t Below(Random& random, uint32_t n) { return static_cast<uint32_t>((uint64_t{n} * random()) >> 32); }

// The clock the generator is reseeded from; only its low 32 bits count.
using SeedClock = std::function<uint64_t()>;

// A monotonic high-resolution count: nanoseconds of the steady clock.
inline uint64_t MonotonicCount() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

}  // namespace tenaxo
