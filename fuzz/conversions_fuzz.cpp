// Arbitrary bytes as a player's text, and as a double, through the number conversions.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "runtime/conversions.hpp"

using namespace numerak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double value = 0;
    try {
        value = ToNumber(text);
    } catch (const ConversionFailure&) {
        value = NAN;
    }
    // The same text reads the same way every time.
    try {
        const double again = ToNumber(text);
        if (!(again == value || (std::isnan(value) && std::isnan(again)))) std::abort();
    } catch (const ConversionFailure&) {
        if (!std::isnan(value)) std::abort();
    }
    if (!std::isnan(value) && !std::isfinite(value)) std::abort();  // never infinity

    double raw = value;
    if (size >= sizeof raw) std::memcpy(&raw, data, sizeof raw);
    for (double x : {value, raw}) {
        try {
            const std::int16_t n = FloorToInteger(x);
            if (!(n <= x && x < n + 1.0)) std::abort();
        } catch (const ConversionFailure&) {
            if (std::floor(x) >= -32768 && std::floor(x) <= 32767) std::abort();  // refused a fit
        }
    }
    return 0;
}
