// random_player.hpp: a player who clicks, types and answers whatever a byte source says, and a
// referee who checks after every action that the game stayed within its rules.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "about/memory_registry.hpp"
#include "game/frmcode.hpp"
#include "runtime/window_runtime.hpp"

namespace numerak::test {

// Where the player's choices come from: the fuzzer's bytes, or a seeded generator.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint8_t next() = 0;
    virtual bool exhausted() const { return false; }
};

// A rule the game broke, with what was happening.
struct RuleBroken : std::logic_error {
    using std::logic_error::logic_error;
};

// Clicks the control as a front end does: through the window's routes; a control with no route
// does nothing.
void click(FormLogic& window, Control& control);

// What the player has been shown, over every program it started.
struct BoxTally {
    int boxesShown = 0;
    std::map<std::string, long> timesShown;  // by text, boxes and questions alike
    std::vector<std::string> shownNow;       // in the action being played
};

// The window life of one run of the program: answers every box from the byte source and
// checks that each is one the game was designed to show.
class DrivenRuntime : public WindowRuntime {
public:
    DrivenRuntime(ByteSource& bytes, BoxTally& tally) : WindowRuntime(""), bytes_(bytes), tally_(tally) {}

    // Text a player might type, decoded from the bytes; `secret` lets some guesses be right.
    std::string typed(std::int16_t secret);

    // Between a Yes to the quit question and the end of the program.
    bool quitConfirmed() const { return quitConfirmed_; }

protected:
    Answer messageBox(std::string_view text, std::string_view title, Buttons buttons) override;
    std::string inputBox(std::string_view prompt, std::string_view title) override;
    void runModal(FormLogic& window) override;
    void leaveEventLoop() override;

private:
    void shownOne(std::string_view text);

    ByteSource& bytes_;
    BoxTally& tally_;
    bool quitConfirmed_ = false;
};

class RandomPlayer {
public:
    explicit RandomPlayer(ByteSource& bytes);

    // One action and the referee's check; false once the byte source is used up. RuleBroken
    // when the game broke a rule; any other exception a handler let out goes on up.
    bool step();
    long actions() const { return actions_; }
    long gamesEnded() const { return ended_; }
    long guessesAtTheGuard() const { return guessesAtGuard_; }  // with the turn counter at -32768
    const BoxTally& boxes() const { return tally_; }

private:
    void startProgram();
    void check(const GameState& before, std::string_view clicked);

    ByteSource& bytes_;
    BoxTally tally_;
    std::unique_ptr<DrivenRuntime> runtime_;  // a new one for each run of the program
    Generator generator_;
    std::unique_ptr<Platform> platform_;
    std::unique_ptr<frmCode> game_;
    Form* form_ = nullptr;
    bool dealt_ = false;
    long actions_ = 0;
    long ended_ = 0;
    long guessesAtGuard_ = 0;
};

}  // namespace numerak::test
