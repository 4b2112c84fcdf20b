// Arbitrary bytes as the environment's language variables and as a browser's language list: the
// language chosen is always English, the test language or one the program has a catalogue of, and
// every text then comes out in it, counted texts at any count.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "fuzz/fuzz_rules.hpp"
#include "runtime/language.hpp"

using namespace numerak;
using numerak::fuzz::require;

namespace {

bool carried(std::string_view language) {
    if (language == "en" || language == PseudoLanguage) return true;
    for (const Catalogue& c : Catalogues())
        if (c.language == language) return true;
    return false;
}

void use(const std::vector<std::string>& preferred, long count) {
    const std::string chosen = ChooseLanguage(preferred);
    require(carried(chosen), "the language chosen is one the program has");
    UseLanguage(chosen);
    require(LanguageInUse() == chosen, "the language chosen is the one in use");
    for (long n : {count, 0L, 1L, -1L, std::numeric_limits<long>::min(), std::numeric_limits<long>::max()})
        require(!TranslateCount("You have %d turns remaining", "You have %d turns remaining", n).empty(),
                "a counted text has a form at any count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // LANGUAGE, LC_ALL, LC_MESSAGES and LANG, apart at NUL bytes; any one may be missing.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string values[4];
    bool set[4] = {};
    std::size_t at = 0;
    for (int i = 0; i < 4 && at <= bytes.size(); ++i) {
        const std::size_t end = std::min(bytes.find('\0', at), bytes.size());
        values[i] = std::string(bytes.substr(at, end - at));
        set[i] = !values[i].empty() || (size % 2 == 0);
        at = end + 1;
    }
    const auto read = [&](const char* name) -> const char* {
        const std::string_view names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
        for (int i = 0; i < 4; ++i)
            if (names[i] == name) return set[i] ? values[i].c_str() : nullptr;
        return nullptr;
    };
    long count = 0;
    for (std::size_t i = 0; i < size && i < sizeof count; ++i)
        count = static_cast<long>(static_cast<unsigned long>(count) << 8 | data[i]);
    use(LanguagesFromEnvironment(read), count);
    use(SplitLanguages(bytes, ','), count);  // as a browser lists them
    UseLanguage("en");
    return 0;
}
