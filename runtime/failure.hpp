// failure.hpp: the failure a handler may trap, of which every designed failure is a kind.
#pragma once

#include <stdexcept>

namespace numerak {

// A failure a handler may trap: the only kinds the player's input can cause (ConversionFailure,
// OverflowFailure, PlatformFailure).
class RuntimeFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace numerak
