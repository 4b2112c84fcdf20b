// game_under_test.hpp: the game as a front-end driver plays it, on a runtime of a front end: the
// game window's logic, and the About window's once the game has opened it, with nothing to start
// for System Info. Windows are named as their designs name them.
#pragma once

#include <memory>
#include <string_view>

#include "about/frmabout.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"
#include "tests/about/fake_platform.hpp"

namespace numerak::test {

template <class FrontEndRuntime>
struct GameUnderTest {
    const FormLogic* logic(std::string_view window) const {
        if (window == "frmCode") return &game;
        return window == "frmAbout" ? about : nullptr;
    }
    const Form* form(std::string_view window) const {
        const FormLogic* l = logic(window);
        return l ? rt.form(*l) : nullptr;
    }
    auto* window(std::string_view window) const {
        const FormLogic* l = logic(window);
        return l ? rt.window(*l) : nullptr;
    }

    FakePlatform platform;
    Generator generator;
    FrontEndRuntime rt{"Numerak"};
    frmAbout* about = nullptr;
    frmCode game{rt, generator, [this] {
                     auto a = std::make_unique<frmAbout>(rt, platform, numerakIdentity);
                     about = a.get();
                     return a;
                 }};
};

}  // namespace numerak::test
