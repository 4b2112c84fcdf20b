// Arbitrary bytes as the name of a key the browser sends and as a caption: a key is only ever one
// of the window's keys, and an access key only a character written in UTF-8 as it must be.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_rules.hpp"
#include "runtime/keys.hpp"
#include "runtime/web/page_protocol.hpp"

using namespace numerak;
using numerak::fuzz::require;

namespace {

// The length of the well-formed UTF-8 character at the start of `text`, 0 where there is none:
// a second reading, by the table of well-formed byte sequences.
std::size_t wellFormed(std::string_view text) {
    if (text.empty()) return 0;
    const auto b = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0x100u; };
    const auto in = [](unsigned v, unsigned lo, unsigned hi) { return v >= lo && v <= hi; };
    const unsigned lead = b(0);
    if (lead < 0x80) return 1;
    if (in(lead, 0xC2, 0xDF)) return in(b(1), 0x80, 0xBF) ? 2 : 0;
    if (lead == 0xE0) return in(b(1), 0xA0, 0xBF) && in(b(2), 0x80, 0xBF) ? 3 : 0;
    if (in(lead, 0xE1, 0xEC) || in(lead, 0xEE, 0xEF)) return in(b(1), 0x80, 0xBF) && in(b(2), 0x80, 0xBF) ? 3 : 0;
    if (lead == 0xED) return in(b(1), 0x80, 0x9F) && in(b(2), 0x80, 0xBF) ? 3 : 0;
    if (lead == 0xF0) return in(b(1), 0x90, 0xBF) && in(b(2), 0x80, 0xBF) && in(b(3), 0x80, 0xBF) ? 4 : 0;
    if (in(lead, 0xF1, 0xF3)) return in(b(1), 0x80, 0xBF) && in(b(2), 0x80, 0xBF) && in(b(3), 0x80, 0xBF) ? 4 : 0;
    if (lead == 0xF4) return in(b(1), 0x80, 0x8F) && in(b(2), 0x80, 0xBF) && in(b(3), 0x80, 0xBF) ? 4 : 0;
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool mod = size > 0 && (data[0] & 1);
    const KeyPress k = web::pageKey(bytes, mod, size > 1 && (data[1] & 1), false, false);
    // A letter key sits at a Latin letter's place, or at none and types a character (Turkish "ç").
    require(k.key != Key::Letter || (k.letter >= 'A' && k.letter <= 'Z') || (k.letter == 0 && k.typed != 0),
            "a letter key is a Latin capital's place, or types a character");
    require(k.typed <= 0x10FFFF && (k.typed < 0xD800 || k.typed > 0xDFFF), "what a key types is a character");

    const std::string caption = "&" + std::string(bytes);
    const char32_t access = AccessKey(caption);
    if (access != 0 && bytes.substr(0, 1) != "&")
        require(wellFormed(bytes) > 0, "an access key is only read from well-formed UTF-8");
    if (!bytes.empty() && bytes[0] != '&' && wellFormed(bytes) == 0)
        require(access == 0, "malformed UTF-8 is no access key");
    return 0;
}
