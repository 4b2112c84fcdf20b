// The platform on systems without a registry: the host's tool in the registry's place, finding
// files, and starting programs without a shell.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "about/platform.hpp"

namespace numerak {
namespace {

namespace fs = std::filesystem;

class PosixPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("numerak-platform-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        const char* path = std::getenv("PATH");
        savedPath = path ? path : "";
    }
    void TearDown() override {
        ::setenv("PATH", savedPath.c_str(), 1);
        fs::remove_all(dir);
    }
    // A program that leaves a mark when it runs.
    fs::path program(const std::string& name) {
        fs::path p = dir / name;
        std::ofstream(p) << "#!/bin/sh\ntouch \"$0.ran\"\n";
        fs::permissions(p, fs::perms::owner_all);
        return p;
    }
    static bool appears(const fs::path& p) {
        for (int i = 0; i < 500 && !fs::exists(p); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return fs::exists(p);
    }
    static std::string readPath(Platform& platform) {
        RegistryKey key = 0;
        if (platform.RegOpenKeyExA(Registry::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", 0,
                                   Registry::Read, key) != 0)
            return "(no key)";
        std::uint8_t buffer[1024] = {};
        std::uint32_t size = sizeof buffer, type = 0;
        const long r = platform.RegQueryValueExA(key, "PATH", type, buffer, size);
        platform.RegCloseKey(key);
        if (r != 0) return "(no value)";
        return std::string(reinterpret_cast<char*>(buffer), size ? size - 1 : 0);
    }

    fs::path dir;
    std::string savedPath;
};

TEST_F(PosixPlatformTest, theHostsToolStandsWhereTheRegistryWouldNameIt) {
    const fs::path tool = program("hardinfo");
    ::setenv("PATH", ("/nonexistent:" + dir.string()).c_str(), 1);
    EXPECT_EQ(readPath(*makeSystemPlatform()), tool.string());

    ::setenv("PATH", "/nonexistent", 1);
    EXPECT_EQ(readPath(*makeSystemPlatform()), "(no key)");
}

TEST_F(PosixPlatformTest, findsOnlyPlainVisibleFiles) {
    auto platform = makeSystemPlatform();
    std::ofstream(dir / "MSINFO32.EXE") << "x";
    std::ofstream(dir / ".hidden") << "x";
    EXPECT_EQ(platform->FindFile((dir / "MSINFO32.EXE").string()), "MSINFO32.EXE");
    EXPECT_EQ(platform->FindFile((dir / ".hidden").string()), "");
    EXPECT_EQ(platform->FindFile(dir.string()), "");  // a folder
    EXPECT_EQ(platform->FindFile((dir / "missing").string()), "");
    EXPECT_THROW(platform->FindFile(""), PlatformFailure);
}

TEST_F(PosixPlatformTest, startsExactlyTheNamedProgramWithoutAShell) {
    auto platform = makeSystemPlatform();
    // Blanks and shell characters are part of the name, never a command.
    const fs::path odd = program("info tool; touch pwned $(touch pwned2)");
    EXPECT_GT(platform->StartProgram(odd.string(), 1), 0);
    EXPECT_TRUE(appears(odd.string() + ".ran"));
    EXPECT_FALSE(fs::exists(dir / "pwned"));
    EXPECT_FALSE(fs::exists("pwned2"));
}

TEST_F(PosixPlatformTest, whatCannotStartFails) {
    auto platform = makeSystemPlatform();
    std::ofstream(dir / "plain") << "not a program";
    EXPECT_THROW(platform->StartProgram((dir / "plain").string(), 1), PlatformFailure);
    EXPECT_THROW(platform->StartProgram((dir / "missing").string(), 1), PlatformFailure);
    EXPECT_THROW(platform->StartProgram(dir.string(), 1), PlatformFailure);
    EXPECT_THROW(platform->StartProgram("", 1), PlatformFailure);
    EXPECT_THROW(platform->StartProgram("&h1234", 1), PlatformFailure);
    // Executable, but the system cannot run it.
    std::ofstream(dir / "broken") << "#!/nonexistent/interpreter\n";
    fs::permissions(dir / "broken", fs::perms::owner_all);
    EXPECT_THROW(platform->StartProgram((dir / "broken").string(), 1), PlatformFailure);
}

}  // namespace
}  // namespace numerak
