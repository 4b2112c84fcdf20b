// frmcode.hpp: the game window: its state and its event handlers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "runtime/random.hpp"
#include "runtime/services.hpp"

namespace numerak {

// The whole state of a game. All seven are 0 when the window is loaded.
struct GameState {
    std::int16_t Secret1 = 0;
    std::int16_t Secret2 = 0;
    std::int16_t Secret3 = 0;
    std::int16_t Secret4 = 0;
    std::int16_t Correct = 0;  // boxes right in the guess being evaluated, 0 to 4
    std::int16_t TurnsLeft = 0;
    std::int16_t HighestNumber = 0;  // secrets are dealt from 1 to this

    friend bool operator==(const GameState&, const GameState&) = default;
};

class frmCode : public FormLogic {
public:
    // Makes the About window the first time Help > About asks for it.
    using WindowFactory = std::function<std::unique_ptr<FormLogic>()>;

    frmCode(Runtime& runtime, Generator& generator, WindowFactory makeAbout);

    const WindowDesign& design() const override;
    void attach(Form* form) override;
    std::vector<Route> routes() override;

    const GameState& state() const { return state_; }

    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    void Command1_Click();
    void mnuGameGuess_Click();
    void Command2_Click();
    void mnuGameNew_Click();
    void Command5_Click();
    void Command3_Click();
    void mnuFileClose_Click();
    void mnuHelpAbout_Click();

private:
    // Where the two ways of guessing differ.
    struct GuessWording {
        std::string_view outOfTurns;
        std::string_view entryFailure;
        bool resetAfterAnyWinAnswer;  // the menu resets the board after a win whatever the answer
    };

    void guess(const GuessWording& wording);
    void showDifficultyPanel(bool visible);
    void resetBoard();
    Control& c(std::string_view name);

    Runtime& runtime_;
    Generator& generator_;
    WindowFactory makeAbout_;
    std::unique_ptr<FormLogic> about_;
    Form* form_ = nullptr;
    GameState state_;
};

}  // namespace numerak
