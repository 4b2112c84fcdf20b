// Registry values of any type, size and content through GetKeyValue and StartSysInfo.
// Input: one byte choosing the type and which of the two keys holds the value, two bytes of
// length (0 to past the 1024-byte buffer), then the bytes the value repeats.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "about/frmabout.hpp"
#include "about/memory_registry.hpp"
#include "app/identity.hpp"
#include "tests/support/random_player.hpp"

using namespace numerak;

namespace {

constexpr const char* toolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class Yes : public test::ByteSource {
public:
    std::uint8_t next() override { return 1; }
};

// Finds the tool in every folder whose name has an odd length, and starts whatever it is given.
class Fake : public MemoryRegistryPlatform {
public:
    std::string FindFile(const std::string& path) override { return path.size() % 2 ? "MSINFO32.EXE" : ""; }
    std::int64_t StartProgram(const std::string& path, int) override {
        if (path.empty()) throw PlatformFailure("nothing to start");
        ++started;
        return 1;
    }
    int started = 0;
};

[[noreturn]] void broken(const char* rule) {
    std::fprintf(stderr, "rule broken: %s\n", rule);
    std::abort();
}

// What a number value reads as, worked out apart from the code under test.
std::string numberText(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) n |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[n % 16]);
        n /= 16;
    } while (n != 0);
    return "&h" + text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint32_t types[] = {Registry::String, Registry::Number, 0, 2, 3, 7, 11, 0xFFFFFFFF};
    const std::uint32_t type = types[data[0] % 8];
    const bool inFolderKey = (data[0] & 0x80) != 0;
    const bool bothKeys = (data[0] & 0x40) != 0;
    const std::size_t length = (static_cast<std::size_t>(data[1]) << 8 | data[2]) % 1100;
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = size > 3 ? data[3 + i % (size - 3)] : 0;

    Yes answers;
    test::BoxTally tally;
    test::DrivenRuntime runtime(answers, tally);
    Fake platform;
    const char* key = inFolderKey ? folderKey : toolKey;
    const char* name = inFolderKey ? "MSINFO" : "PATH";
    platform.registry.set(Registry::LocalMachine, key, name, {type, bytes});
    if (bothKeys && !inFolderKey)
        platform.registry.set(Registry::LocalMachine, folderKey, "msinfo", MemoryRegistry::text("C:\\x"));
    frmAbout about(runtime, platform, numerakIdentity);

    std::string value = "before";
    try {
        const std::int16_t read = about.GetKeyValue(Registry::LocalMachine, key, name, value);
        if (read != -1 && read != 0) broken("GetKeyValue answered neither -1 nor 0");
        if (read == 0 && (!value.empty() || length <= 1024)) broken("a value that fits was not read");
        if (read == -1) {
            if (length > 1024) broken("a value beyond the buffer was read");
            if (type == Registry::String) {
                std::string expected(bytes.begin(), bytes.end());
                if (!expected.empty() && expected.back() == '\0') expected.pop_back();
                if (value != expected) broken("text read differs from the value");
            } else if (type == Registry::Number) {
                if (value != numberText(bytes)) broken("a number read differs from the value");
            } else if (value != "before") {
                broken("a value of another type changed the text");
            }
        }
    } catch (const RuntimeFailure&) {
        if (length != 0) broken("a value with bytes failed to read");
    }
    if (platform.registry.openKeys() != 0) broken("a key left open by GetKeyValue");

    // A start, or the designed message: never both, never neither.
    const int shownBefore = tally.boxesShown;
    try {
        about.StartSysInfo();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rule broken: StartSysInfo let out %s\n", e.what());
        std::abort();
    }
    if ((platform.started == 1) == (tally.boxesShown == shownBefore + 1)) broken("not exactly one of start or message");
    if (platform.registry.openKeys() != 0) broken("a key left open by StartSysInfo");
    return 0;
}
