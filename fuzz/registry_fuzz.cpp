// Registry values of any type, size and content through GetKeyValue and StartSysInfo.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "about/frmabout.hpp"
#include "about/memory_registry.hpp"
#include "tests/support/random_player.hpp"

using namespace numerak;

namespace {

class Bytes : public test::ByteSource {
public:
    std::uint8_t next() override { return 1; }  // every Yes/No answered Yes
};

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint32_t types[] = {Registry::String, Registry::Number, 0, 3, 7, 0xFFFFFFFF};
    const std::uint32_t type = types[data[0] % 6];
    const std::size_t length = (static_cast<std::size_t>(data[1]) << 8 | data[2]) % 1100;  // 0 to past the buffer
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = size > 3 ? data[3 + i % (size - 3)] : 0;

    Bytes answers;
    test::DrivenRuntime runtime(answers);
    Fake platform;
    const bool second = data[0] & 0x80;
    platform.registry.set(
        Registry::LocalMachine,
        second ? "SOFTWARE\\Microsoft\\Shared Tools Location" : "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
        second ? "MSINFO" : "PATH", {type, bytes});
    frmAbout about(runtime, platform);

    std::string value = "before";
    try {
        const std::int16_t read = about.GetKeyValue(
            Registry::LocalMachine,
            second ? "SOFTWARE\\Microsoft\\Shared Tools Location" : "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
            second ? "MSINFO" : "PATH", value);
        if (read != -1 && read != 0) std::abort();
        if (read == 0 && (!value.empty() || length <= 1024)) std::abort();  // only an over-long value is unreadable
        if (read == -1 && type == Registry::String && value.size() > length) std::abort();
        if (read == -1 && type == Registry::Number && value.rfind("&h", 0) != 0) std::abort();
    } catch (const RuntimeFailure&) {
        if (length != 0) std::abort();  // only a value with no bytes fails
    }
    if (platform.registry.openKeys() != 0) std::abort();  // every key closed

    const int shownBefore = runtime.boxesShown;
    about.StartSysInfo();  // a start, or the designed message: never both, never neither
    if ((platform.started == 1) == (runtime.boxesShown == shownBefore + 1)) std::abort();
    if (platform.registry.openKeys() != 0) std::abort();
    return 0;
}
