// services.cpp: the skip-on-failure mode of handlers.
#include "runtime/services.hpp"

#include "runtime/failure.hpp"

namespace numerak {

void SkipOnFailure(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const RuntimeFailure&) {
        // The step is abandoned where it stands; the handler goes on.
    }
}

}  // namespace numerak
