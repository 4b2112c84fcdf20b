// game_fixture.hpp: the game window loaded on the scripted runtime, as the program starts it.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "game/frmcode.hpp"
#include "runtime/conversions.hpp"
#include "tests/support/scripted_runtime.hpp"

namespace numerak::test {

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        rt.answer(Answer::Ok);  // the opening message
        form = rt.load(game);
        rt.shown.clear();
    }

    Control& c(std::string_view name) { return (*form)[name]; }
    const GameState& s() const { return game.state(); }

    void type(const std::array<std::string, 4>& boxes) {
        for (std::size_t i = 0; i < 4; ++i) c("Text" + std::to_string(i + 1)).setText(boxes[i]);
    }
    void typeSecrets() {
        type({IntegerText(s().Secret1), IntegerText(s().Secret2), IntegerText(s().Secret3), IntegerText(s().Secret4)});
    }
    // Four boxes of which exactly `right` hold their secret number.
    void typeWithRight(int right) {
        const std::array<std::int16_t, 4> secrets{s().Secret1, s().Secret2, s().Secret3, s().Secret4};
        std::array<std::string, 4> boxes;
        for (std::size_t i = 0; i < 4; ++i)
            boxes[i] = IntegerText(static_cast<int>(i) < right ? secrets[i] : secrets[i] + 100);
        type(boxes);
    }
    void play(std::string_view option) {
        c(option).setValue(true);
        game.Command5_Click();
        rt.shown.clear();
    }
    bool panelVisible() {
        for (auto n : {"lblNew", "Option1", "Option2", "Option3", "Option4", "Command5"})
            if (!c(n).visible()) return false;
        return true;
    }
    bool panelHidden() {
        for (auto n : {"lblNew", "Option1", "Option2", "Option3", "Option4", "Command5"})
            if (c(n).visible()) return false;
        return true;
    }
    bool boardEmpty() {
        for (auto n : {"Text1", "Text2", "Text3", "Text4", "lblturns"})
            if (!c(n).text().empty()) return false;
        return true;
    }

    ScriptedRuntime rt;
    Generator generator;
    frmCode game{rt, generator, nullptr};
    Form* form = nullptr;
};

inline const Shown quitQuestion = message("Are you sure you want to quit?", "Are you sure?", Buttons::YesNo);

}  // namespace numerak::test
