// Many thousands of random actions through the real handlers, the rules checked after each one.
#include <gtest/gtest.h>

#include <random>

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

TEST(RandomPlay, aHundredThousandActionsKeepEveryRule) {
    const std::uint32_t seed = std::random_device{}();
    SeededBytes bytes(seed);
    RandomPlayer player(bytes);
    try {
        while (player.actions() < 100'000) player.step();
    } catch (const std::exception& e) {
        FAIL() << e.what() << " (seed " << seed << ", action " << player.actions() << ")";
    }
    EXPECT_GT(player.gamesEnded(), 0) << "seed " << seed;
    RecordProperty("actions", static_cast<int>(player.actions()));
}

}  // namespace
}  // namespace numerak::test
