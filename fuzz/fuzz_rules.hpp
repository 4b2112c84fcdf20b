// fuzz_rules.hpp: how a fuzz target says that a rule broke: on stderr, then abort, which
// libFuzzer keeps the input of.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace numerak::fuzz {

[[noreturn]] inline void broken(const char* rule) {
    std::fprintf(stderr, "rule broken: %s\n", rule);
    std::abort();
}

inline void require(bool kept, const char* rule) {
    if (!kept) broken(rule);
}

}  // namespace numerak::fuzz
