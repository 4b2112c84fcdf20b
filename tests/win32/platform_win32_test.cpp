// The platform on Windows against the system itself: the real registry, real files and real
// programs started, and the About window's launcher on top of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "about/frmabout.hpp"
#include "about/platform.hpp"
#include "app/identity.hpp"
#include "tests/support/scripted_runtime.hpp"

namespace numerak::test {
namespace {

constexpr const char* testKey = "SOFTWARE\\Numerak Tests";
constexpr const char* toolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

void setValue(const char* key, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY k = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(k, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    ::RegCloseKey(k);
}

// A value of the system's registry set for one test and put back as it was afterwards.
class SavedValue {
public:
    SavedValue(const char* key, const char* name) : key_(key), name_(name) {
        HKEY k = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return;
        DWORD size = 0;
        if (::RegQueryValueExA(k, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            std::vector<BYTE> data(size);
            if (::RegQueryValueExA(k, name, nullptr, &type_, data.data(), &size) == ERROR_SUCCESS) saved_ = data;
        }
        ::RegCloseKey(k);
    }
    ~SavedValue() {
        if (saved_) {
            setValue(key_, name_, type_, saved_->data(), static_cast<DWORD>(saved_->size()));
        } else {
            HKEY k = nullptr;
            if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_, 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
                ::RegDeleteValueA(k, name_);
                ::RegCloseKey(k);
            }
        }
    }
    void setText(const std::string& text) {
        setValue(key_, name_, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    void remove() {
        HKEY k = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_, 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
            ::RegDeleteValueA(k, name_);
            ::RegCloseKey(k);
        }
    }

private:
    const char* key_;
    const char* name_;
    DWORD type_ = REG_SZ;
    std::optional<std::vector<BYTE>> saved_;
};

std::string folderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string thisProgram() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

class Win32PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "numerak platform " + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(dir.c_str(), nullptr);
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, testKey);
        for (const auto& f : made) {
            ::SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!::DeleteFileA(f.c_str())) ::RemoveDirectoryA(f.c_str());
        }
        ::RemoveDirectoryA(dir.c_str());
    }
    std::string file(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        const std::string path = dir + "\\" + name;
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
        made.insert(made.begin(), path);
        return path;
    }
    // The helper program copied in under the name, and the mark it leaves when it runs.
    std::string program(const std::string& name) {
        const std::string path = dir + "\\" + name;
        EXPECT_TRUE(::CopyFileA((folderOf(thisProgram()) + "\\numerak_ran_helper.exe").c_str(), path.c_str(), FALSE));
        made.insert(made.begin(), path);
        made.insert(made.begin(), path + ".ran");
        return path;
    }
    static bool ran(const std::string& program) {
        for (int i = 0; i < 1000; ++i) {
            if (::GetFileAttributesA((program + ".ran").c_str()) != INVALID_FILE_ATTRIBUTES) return true;
            ::Sleep(10);
        }
        return false;
    }
    std::int16_t read(DWORD type, const void* data, DWORD size, std::string& out) {
        setValue(testKey, "Value", type, data, size);
        return about.GetKeyValue(Registry::LocalMachine, testKey, "Value", out);
    }

    std::string dir;
    std::vector<std::string> made;  // newest first, so that folders go after their files
    std::unique_ptr<Platform> platform = makeSystemPlatform();
    ScriptedRuntime rt;
    frmAbout about{rt, *platform, numerakIdentity};
};

TEST_F(Win32PlatformTest, getKeyValueReadsTheRealRegistry) {
    std::string v;
    EXPECT_EQ(read(REG_SZ, "C:\\Tools\\msinfo32.exe", 22, v), -1);  // with its terminating zero
    EXPECT_EQ(v, "C:\\Tools\\msinfo32.exe");
    // Stored without it. The system adds a zero the caller seems to have forgotten to count
    // when one follows the data, so a byte that is not zero follows here.
    EXPECT_EQ(read(REG_SZ, "C:\\Tools!", 8, v), -1);
    EXPECT_EQ(v, "C:\\Tools");
    const DWORD number = 0x1234;
    EXPECT_EQ(read(REG_DWORD, &number, sizeof number, v), -1);
    EXPECT_EQ(v, "&h1234");
    EXPECT_EQ(read(REG_SZ, "", 1, v), -1);
    EXPECT_EQ(v, "");
    const std::string full(1025, 'x');  // 1024 of them exactly fill the buffer, without a zero
    EXPECT_EQ(read(REG_SZ, full.c_str(), 1024, v), -1);
    EXPECT_EQ(v, full.substr(0, 1024));
}

TEST_F(Win32PlatformTest, getKeyValueRefusesWhatItCannotRead) {
    std::string v = "old";
    const std::string longer(2000, 'x');
    EXPECT_EQ(read(REG_SZ, longer.c_str(), 2001, v), 0);
    EXPECT_EQ(v, "");
    EXPECT_THROW(read(REG_SZ, "", 0, v), RuntimeFailure);  // a value of no bytes at all
    v = "old";
    EXPECT_EQ(about.GetKeyValue(Registry::LocalMachine, testKey, "Missing", v), 0);
    EXPECT_EQ(v, "");
    EXPECT_EQ(about.GetKeyValue(Registry::LocalMachine, "SOFTWARE\\Numerak Tests\\Missing", "Value", v), 0);
    RegistryKey key = 0;
    EXPECT_NE(
        platform->RegOpenKeyExA(Registry::LocalMachine, "SOFTWARE\\Numerak Tests\\Missing", 0, Registry::Read, key), 0);
    EXPECT_EQ(key, 0u);
    EXPECT_NE(platform->RegCloseKey(0), 0);
}

TEST_F(Win32PlatformTest, findsOnlyPlainVisibleFiles) {
    file("MSINFO32.EXE");
    file("hidden.exe", FILE_ATTRIBUTE_HIDDEN);
    file("system.exe", FILE_ATTRIBUTE_SYSTEM);
    ::CreateDirectoryA((dir + "\\folder.exe").c_str(), nullptr);
    made.insert(made.begin(), dir + "\\folder.exe");
    EXPECT_EQ(platform->FindFile(dir + "\\MSINFO32.EXE"), "MSINFO32.EXE");
    EXPECT_EQ(platform->FindFile(dir + "\\hidden.exe"), "");
    EXPECT_EQ(platform->FindFile(dir + "\\system.exe"), "");
    EXPECT_EQ(platform->FindFile(dir + "\\folder.exe"), "");
    EXPECT_EQ(platform->FindFile(dir + "\\missing.exe"), "");
    EXPECT_EQ(platform->FindFile(dir + "\\no such folder\\x.exe"), "");
    EXPECT_THROW(platform->FindFile(""), PlatformFailure);
}

TEST_F(Win32PlatformTest, startsExactlyTheNamedProgramWithoutAShell) {
    // Blanks and command characters are part of the name, never a command.
    const std::string odd = program("info tool & echo x.exe");
    EXPECT_GT(platform->StartProgram(odd, 1), 0);
    EXPECT_TRUE(ran(odd));
}

TEST_F(Win32PlatformTest, whatCannotStartFails) {
    const std::string plain = file("plain.exe");  // not a program
    EXPECT_THROW(platform->StartProgram(plain, 1), PlatformFailure);
    EXPECT_THROW(platform->StartProgram(dir + "\\missing.exe", 1), PlatformFailure);
    EXPECT_THROW(platform->StartProgram(dir, 1), PlatformFailure);
    EXPECT_THROW(platform->StartProgram("", 1), PlatformFailure);
    EXPECT_THROW(platform->StartProgram("&h1234", 1), PlatformFailure);
}

TEST_F(Win32PlatformTest, batchFilesAreNotStartedForTheyWouldRunInTheCommandInterpreter) {
    for (const char* name : {"tool.bat", "TOOL.CMD"}) {
        const std::string batch = file(name);
        HANDLE h =
            ::CreateFileA(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(h, "echo x > ran.txt\r\n", 18, &written, nullptr);
        ::CloseHandle(h);
        EXPECT_THROW(platform->StartProgram(batch, 1), PlatformFailure) << name;
    }
}

TEST_F(Win32PlatformTest, startSysInfoStartsTheToolTheRegistryNames) {
    SavedValue path(toolKey, "PATH");
    SavedValue folder(folderKey, "MSINFO");

    const std::string tool = program("my msinfo.exe");
    path.setText(tool);
    folder.remove();
    about.StartSysInfo();
    EXPECT_TRUE(ran(tool)) << "through the tool's own path";

    const std::string inFolder = program("MSINFO32.EXE");
    path.remove();
    folder.setText(dir);
    about.StartSysInfo();
    EXPECT_TRUE(ran(inFolder)) << "through the folder";
    EXPECT_TRUE(rt.shown.empty());

    folder.remove();
    rt.answer(Answer::Ok);
    about.StartSysInfo();
    EXPECT_EQ(rt.shown, std::vector<Shown>{message("System Information Is Unavailable At This Time",
                                                   ScriptedRuntime::defaultTitle, Buttons::Ok)});
}

}  // namespace
}  // namespace numerak::test
