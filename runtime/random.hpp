// random.hpp: the pseudo-random generator behind NextRandom.
#pragma once

#include <cstdint>

namespace numerak {

// SplitMix64 from a fixed start state: the program never seeds it, so every run deals the same
// sequence. Values are multiples of 2^-32, so x * 32767 + 1 always floors below 32768.
class Generator {
public:
    static constexpr std::uint64_t startState = 0x4E756D6572616B21ULL;

    explicit Generator(std::uint64_t state = startState) : state_(state) {}

    // The next value in [0, 1).
    double NextRandom();

private:
    std::uint64_t state_;
};

}  // namespace numerak
