// program.hpp: Numerak itself, whatever shows it.
#pragma once

#include <functional>

#include "runtime/window_runtime.hpp"

namespace numerak {

// Starts Numerak on the runtime: the game window, with the About window it opens, the generator
// and the system's platform. Then runs the toolkit's event loop until the program ends; the
// program's exit status.
int RunNumerak(WindowRuntime& runtime, const std::function<int()>& eventLoop);

}  // namespace numerak
