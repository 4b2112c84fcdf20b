// program.cpp: the start every front end shares.
#include "app/program.hpp"

#include <memory>

#include "about/frmabout.hpp"
#include "about/platform.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"

namespace numerak {

int RunNumerak(WindowRuntime& runtime, const std::function<int()>& eventLoop) {
    const AppIdentity& identity = numerakIdentity;
    Generator generator;
    const auto platform = makeSystemPlatform();
    frmCode game(runtime, generator, [&] { return std::make_unique<frmAbout>(runtime, *platform, identity); });
    runtime.start(game);
    return runtime.ended() ? 0 : eventLoop();
}

}  // namespace numerak
