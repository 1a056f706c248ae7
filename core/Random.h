#pragma once
// The quiz's pseudo-random generator: a 32-bit linear congruential sequence.
// A draw below n steps the seed (seed * 134775813 + 1, modulo 2^32) and takes
// the upper half of the 64-bit product n * seed, so it lies in 0 .. n - 1
// (0 when n is 0). The quiz reseeds it from the clock before every question.
#include <chrono>
#include <cstdint>
#include <functional>

namespace tenaxo {

class Random {
 public:
  static constexpr uint32_t Multiplier = 134775813u;

  explicit Random(uint32_t seed = 0) : seed_(seed) {}

  void Seed(uint32_t seed) { seed_ = seed; }
  uint32_t SeedValue() const { return seed_; }

  uint32_t Below(uint32_t n) {
    seed_ = seed_ * Multiplier + 1u;  // unsigned: wraps modulo 2^32
    return static_cast<uint32_t>((static_cast<uint64_t>(n) * seed_) >> 32);
  }

 private:
  uint32_t seed_;
};

// The clock the generator is reseeded from; only its low 32 bits count.
using SeedClock = std::function<uint64_t()>;

// A monotonic high-resolution count: nanoseconds of the steady clock.
inline uint64_t MonotonicCount() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

}  // namespace tenaxo
