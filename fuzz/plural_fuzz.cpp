// Arbitrary bytes as a catalogue's plural rule, read and worked out at counts the bytes give; and
// every catalogue the program carries, whose rule must pick one of its forms at any count.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "fuzz/fuzz_rules.hpp"
#include "runtime/language.hpp"
#include "runtime/plural.hpp"

using namespace numerak;
using numerak::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    unsigned long n = 0;
    std::memcpy(&n, data, std::min(size, sizeof n));
    const std::string_view rule(reinterpret_cast<const char*>(data), size);
    if (const auto parsed = PluralRule::parse(rule))
        for (unsigned long count : {n, 0ul, 1ul, std::numeric_limits<unsigned long>::max()}) (void)(*parsed)(count);

    for (const Catalogue& c : Catalogues()) {
        const auto parsed = PluralRule::parse(c.pluralRule);
        require(parsed.has_value(), "every catalogue's plural rule reads");
        const unsigned long form = (*parsed)(n);
        for (const CatalogueEntry& e : c.entries)
            if (!e.englishPlural.empty()) require(form < e.forms.size(), "the rule picks a form the catalogue has");
    }
    return 0;
}
