// frmcode.cpp: the game window's handlers: start, dealing, guessing and quitting.
#include "game/frmcode.hpp"

#include <array>
#include <cassert>
#include <string>

#include "runtime/conversions.hpp"
#include "runtime/language.hpp"
#include "ui/designs.hpp"

namespace numerak {

namespace {

constexpr std::array<std::string_view, 6> difficultyPanel{"lblNew",  "Option1", "Option2",
                                                          "Option3", "Option4", "Command5"};
constexpr std::array<std::string_view, 4> guessBoxes{"Text1", "Text2", "Text3", "Text4"};

struct Preset {
    std::string_view option;
    std::int16_t turns;
    std::int16_t highest;
};
constexpr std::array<Preset, 3> presets{{{"Option1", 10, 5}, {"Option2", 8, 7}, {"Option3", 6, 10}}};

}  // namespace

frmCode::frmCode(Runtime& runtime, Generator& generator, WindowFactory makeAbout)
    : runtime_(runtime), generator_(generator), makeAbout_(std::move(makeAbout)) {}

const WindowDesign& frmCode::design() const { return ui::frmCodeDesign(); }

void frmCode::attach(Form* form) { form_ = form; }

Control& frmCode::c(std::string_view name) {
    assert(form_ && "the game window is not loaded");
    return (*form_)[name];
}

std::vector<Route> frmCode::routes() {
    return {
        {"Command1", [this] { Command1_Click(); }},         {"mnuGameGuess", [this] { mnuGameGuess_Click(); }},
        {"Command2", [this] { Command2_Click(); }},         {"mnuGameNew", [this] { mnuGameNew_Click(); }},
        {"Command5", [this] { Command5_Click(); }},         {"Command3", [this] { Command3_Click(); }},
        {"mnuFileClose", [this] { mnuFileClose_Click(); }}, {"mnuHelpAbout", [this] { mnuHelpAbout_Click(); }},
    };
}

void frmCode::showDifficultyPanel(bool visible) {
    for (auto name : difficultyPanel) c(name).setVisible(visible);
}

void frmCode::Form_Load() {
    showDifficultyPanel(true);
    runtime_.ShowMessage(Translate("Please choose your preferred difficulty setting on the right."),
                         Translate("Select New game"), Buttons::Ok);
}

void frmCode::Form_Unload(bool& cancel) {
    if (runtime_.ShowMessage(Translate("Are you sure you want to quit?"), Translate("Are you sure?"), Buttons::YesNo) ==
        Answer::Yes)
        runtime_.EndProgram();
    cancel = true;
}

void frmCode::Command2_Click() { showDifficultyPanel(true); }
void frmCode::mnuGameNew_Click() { Command2_Click(); }

void frmCode::Command3_Click() { runtime_.UnloadWindow(*this); }
void frmCode::mnuFileClose_Click() { Command3_Click(); }

void frmCode::Command5_Click() {
    for (const auto& p : presets) {
        if (c(p.option).value()) {
            state_.TurnsLeft = p.turns;
            state_.HighestNumber = p.highest;
        }
    }
    if (c("Option4").value()) {
        // Each answer is its own step: a refused one keeps the field's previous value.
        SkipOnFailure([&] {
            state_.TurnsLeft = FloorToInteger(
                ToNumber(runtime_.AskText(Translate("How many turns would you like?"), Translate("Turns"))));
        });
        SkipOnFailure([&] {
            state_.HighestNumber = FloorToInteger(ToNumber(runtime_.AskText(
                Translate("What is the highest number you want to guess with (1-?)"), Translate("Number"))));
        });
    }
    for (auto* secret : {&state_.Secret1, &state_.Secret2, &state_.Secret3, &state_.Secret4})
        SkipOnFailure([&] { *secret = FloorToInteger(generator_.NextRandom() * state_.HighestNumber + 1); });
    for (auto name : guessBoxes) c(name).setText("");
    c("lblturns").setCaption("");
    c("Label1").setCaption(TranslateWith("Please enter 4 numbers below. (1-%d)", state_.HighestNumber));
    showDifficultyPanel(false);
}

void frmCode::resetBoard() {
    showDifficultyPanel(true);
    for (auto name : guessBoxes) c(name).setText("");
    c("lblturns").setCaption("");
    c("Label1").setCaption(TranslateWith("Please enter 4 numbers below (0-%d)", state_.HighestNumber));
}

void frmCode::Command1_Click() {
    guess({Translate("Sorry you are out of turns, would you like to go again?"),
           Translate("Please enter numbers in all 4 boxes"), false});
}

void frmCode::mnuGameGuess_Click() {
    guess({Translate("Sorry you are out of turns, would you like to play again?"),
           Translate("Please enter 4 numbers in the boxes."), true});
}

void frmCode::guess(const GuessWording& wording) {
    try {
        state_.Correct = 0;
        Decrement(state_.TurnsLeft);
        if (state_.TurnsLeft >= 1 && state_.TurnsLeft <= 5)
            c("lblturns")
                .setCaption(
                    TranslateCount("You have %d turns remaining", "You have %d turns remaining", state_.TurnsLeft));

        if (state_.TurnsLeft == 0) {
            if (runtime_.ShowMessage(wording.outOfTurns, Translate("out of turns"), Buttons::YesNo) == Answer::No)
                runtime_.UnloadWindow(*this);
            resetBoard();
            return;  // the guess that spent the last turn is not compared
        }

        const std::array<std::int16_t, 4> secrets{state_.Secret1, state_.Secret2, state_.Secret3, state_.Secret4};
        for (std::size_t i = 0; i < guessBoxes.size(); ++i)
            if (ToNumber(c(guessBoxes[i]).text()) == static_cast<double>(secrets[i])) ++state_.Correct;

        if (state_.Correct <= 3) {
            const auto text = TranslateCount("You got %d out of four, do you want to continue?",
                                             "You got %d out of four, do you want to continue?", state_.Correct);
            if (runtime_.ShowMessage(text, Translate("sorry"), Buttons::YesNo) == Answer::No)
                runtime_.UnloadWindow(*this);
            return;
        }

        const Answer answer = runtime_.ShowMessage(Translate("You done it! Would you like to play again?"),
                                                   Translate("well done"), Buttons::YesNo);
        if (answer == Answer::No) runtime_.UnloadWindow(*this);
        if (answer == Answer::Yes || wording.resetAfterAnyWinAnswer) resetBoard();
    } catch (const RuntimeFailure&) {
        // Nothing done before the failure is undone: the turn stays spent.
        runtime_.ShowMessage(wording.entryFailure, Translate("enter number"), Buttons::Ok);
    }
}

void frmCode::mnuHelpAbout_Click() {
    if (!about_ && makeAbout_) about_ = makeAbout_();
    if (about_) runtime_.ShowModal(*about_);
}

}  // namespace numerak
