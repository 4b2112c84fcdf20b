// A game played by the fuzzer's bytes through the real handlers, the rules checked after every action.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/support/random_player.hpp"

namespace {

class FuzzBytes : public numerak::test::ByteSource {
public:
    FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t next() override { return at_ < size_ ? data_[at_++] : (spent_ = true, 0); }
    bool exhausted() const override { return spent_ || at_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool spent_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzBytes bytes(data, size);
    try {
        numerak::test::RandomPlayer player(bytes);
        while (player.step()) {}
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rule broken: %s\n", e.what());
        std::abort();
    }
    return 0;
}
