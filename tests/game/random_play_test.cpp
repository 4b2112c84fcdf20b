// Many thousands of random actions through the real handlers, the rules checked after each one.
// A failure prints its seed; NUMERAK_PLAY_SEED=<seed> plays that same game again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "tests/support/random_player.hpp"

namespace numerak::test {
namespace {

class SeededBytes : public ByteSource {
public:
    explicit SeededBytes(std::uint32_t seed) : engine_(seed) {}
    std::uint8_t next() override { return static_cast<std::uint8_t>(engine_() >> 24); }

private:
    std::mt19937 engine_;
};

std::uint32_t playSeed() {
    if (const char* given = std::getenv("NUMERAK_PLAY_SEED"); given && *given)
        return static_cast<std::uint32_t>(std::stoul(given));
    return std::random_device{}();
}

constexpr long playedActions = 100'000;

TEST(RandomPlay, aHundredThousandActionsKeepEveryRule) {
    const std::uint32_t seed = playSeed();
    SCOPED_TRACE("NUMERAK_PLAY_SEED=" + std::to_string(seed));
    SeededBytes bytes(seed);
    RandomPlayer player(bytes);
    try {
        while (player.actions() < playedActions) player.step();
    } catch (const std::exception& e) {
        FAIL() << e.what() << " (action " << player.actions() << ")";
    }
    RecordProperty("actions", static_cast<int>(player.actions()));
    RecordProperty("seed", std::to_string(seed));

    // So many actions reach every box the game has, or the player has stopped exploring.
    EXPECT_GT(player.gamesEnded(), 0);
    EXPECT_GT(player.guessesAtTheGuard(), 0);
    for (const char* box :
         {"Please choose your preferred difficulty setting on the right.", "Are you sure you want to quit?",
          "Sorry you are out of turns, would you like to go again?",
          "Sorry you are out of turns, would you like to play again?",
          "You got 0 out of four, do you want to continue?", "You got 1 out of four, do you want to continue?",
          "You got 2 out of four, do you want to continue?", "You got 3 out of four, do you want to continue?",
          "You done it! Would you like to play again?", "Please enter numbers in all 4 boxes",
          "Please enter 4 numbers in the boxes.", "System Information Is Unavailable At This Time",
          "How many turns would you like?", "What is the highest number you want to guess with (1-?)"}) {
        const auto& times = player.boxes().timesShown;
        const auto it = times.find(box);
        EXPECT_TRUE(it != times.end() && it->second > 0) << "never shown: " << box;
    }
}

// The same bytes play the same game: a failure's seed is enough to see it again.
TEST(RandomPlay, theSameSeedPlaysTheSameGame) {
    auto play = [](std::uint32_t seed) {
        SeededBytes bytes(seed);
        RandomPlayer player(bytes);
        while (player.actions() < 2'000) player.step();
        return std::make_pair(player.gamesEnded(), player.boxes().timesShown);
    };
    EXPECT_EQ(play(7), play(7));
}

}  // namespace
}  // namespace numerak::test
