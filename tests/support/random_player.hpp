// random_player.hpp: a player who clicks, types and answers whatever a byte source says, and a
// referee who checks after every action that the game stayed within its rules.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "about/memory_registry.hpp"
#include "game/frmcode.hpp"
#include "runtime/services.hpp"

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

// Answers every box from the byte source and checks that each is one the game was designed to show.
class DrivenRuntime : public Runtime {
public:
    explicit DrivenRuntime(ByteSource& bytes) : bytes_(bytes) {}

    Answer ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) override;
    std::string AskText(std::string_view prompt, std::string_view title) override;
    void ShowModal(FormLogic& window) override;
    [[noreturn]] void EndProgram() override { throw ProgramEnd{}; }

    // Text a player might type, decoded from the bytes; `secret` lets some guesses be right.
    std::string typed(std::int16_t secret);
    int boxesShown = 0;

protected:
    void unload(FormLogic& window) override;

private:
    ByteSource& bytes_;
    std::vector<FormLogic*> modal_;
};

class RandomPlayer {
public:
    explicit RandomPlayer(ByteSource& bytes);

    // One action and the referee's check; false once the byte source is used up.
    bool step();
    long actions() const { return actions_; }
    long gamesEnded() const { return ended_; }

private:
    void startProgram();
    void check(const GameState& before, int action);

    ByteSource& bytes_;
    DrivenRuntime runtime_;
    Generator generator_;
    std::unique_ptr<Platform> platform_;
    std::unique_ptr<frmCode> game_;
    std::unique_ptr<Form> form_;
    bool dealt_ = false;
    long actions_ = 0;
    long ended_ = 0;
};

}  // namespace numerak::test
