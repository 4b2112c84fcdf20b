// Arbitrary bytes as a player's text, and as a double, through the number conversions. The C
// library's strtod (in the "C" locale) is the second opinion on every text.
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "runtime/conversions.hpp"

using namespace numerak;

namespace {

[[noreturn]] void broken(const char* rule, std::string_view text) {
    std::fprintf(stderr, "rule broken: %s for %zu bytes\n", rule, text.size());
    std::abort();
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Only these characters can make up a number a player types.
bool onlyNumberCharacters(std::string_view s) {
    for (char c : s)
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-' || isBlank(c)))
            return false;
    return true;
}

struct Reading {
    bool read = false;      // strtod took the whole text
    bool overflow = false;  // beyond a double
    bool underflow = false;
    double value = 0;
};

Reading strtodReading(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    Reading r;
    // strtod skips blanks after the sign where a player's number may not have them.
    if (text.empty() || isBlank(text.front()) ||
        (text.size() > 1 && (text[0] == '+' || text[0] == '-') && isBlank(text[1])))
        return r;
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    r.value = std::strtod(copy.c_str(), &end);
    r.read = end == copy.c_str() + copy.size();
    r.overflow = errno == ERANGE && std::isinf(r.value);
    r.underflow = errno == ERANGE && !std::isinf(r.value);
    return r;
}

void checkFloor(double x) {
    try {
        const std::int16_t n = FloorToInteger(x);
        if (!(n <= x && x < n + 1.0)) broken("FloorToInteger is not the floor", {});
    } catch (const ConversionFailure&) {
        if (std::floor(x) >= -32768 && std::floor(x) <= 32767) broken("FloorToInteger refused a fit", {});
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    bool accepted = true;
    double value = 0;
    try {
        value = ToNumber(text);
    } catch (const ConversionFailure&) {
        accepted = false;
    }

    // The same text reads the same way every time.
    try {
        const double again = ToNumber(text);
        if (!accepted || again != value || std::signbit(again) != std::signbit(value))
            broken("a second reading differs", text);
    } catch (const ConversionFailure&) {
        if (accepted) broken("a second reading refuses", text);
    }

    // A number is read where strtod reads the whole text as a finite decimal, and only there.
    const bool plain = onlyNumberCharacters(text);
    const Reading c = plain ? strtodReading(text) : Reading{};
    const bool shouldRead = plain && c.read && !c.overflow;
    if (accepted != shouldRead) broken(accepted ? "read what is not a plain number" : "refused a plain number", text);
    if (accepted) {
        if (!std::isfinite(value)) broken("read as infinity or NaN", text);
        // Underflow may read as zero; anything else is the correctly rounded value.
        if (!(value == c.value || (c.underflow && value == 0.0))) broken("read a different value than strtod", text);
        if (std::signbit(value) != std::signbit(c.value) && value != 0.0) broken("read with the wrong sign", text);
        checkFloor(value);
    }

    // And the bytes themselves as a double, NaN and infinities included.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        checkFloor(raw);
    }
    return 0;
}
