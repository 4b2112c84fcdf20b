// main_web.cpp: Numerak in a browser starts by loading and showing the game window, then runs
// the page's events until the player quits.
#include "about/frmabout.hpp"
#include "about/platform.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"
#include "runtime/web/web_runtime.hpp"

int main() {
    const numerak::AppIdentity& identity = numerak::numerakIdentity;
    numerak::web::WebRuntime runtime{std::string(identity.AppTitle)};
    numerak::Generator generator;
    const auto platform = numerak::makeSystemPlatform();  // nothing to start in a browser
    numerak::frmCode game(runtime, generator,
                          [&] { return std::make_unique<numerak::frmAbout>(runtime, *platform, identity); });
    runtime.start(game);
    runtime.run();
    return 0;
}
