// services.cpp: the parts of the runtime that every front end shares.
#include "runtime/services.hpp"

#include "runtime/conversions.hpp"

namespace numerak {

void Runtime::UnloadWindow(FormLogic& window) {
    bool cancel = false;
    window.Form_Unload(cancel);
    if (!cancel) unload(window);
}

void SkipOnFailure(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const RuntimeFailure&) {
        // The step is abandoned where it stands; the handler goes on.
    }
}

}  // namespace numerak
