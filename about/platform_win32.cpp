// platform_win32.cpp: the platform on Windows: the real registry, file search and process start.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "about/platform.hpp"

namespace numerak {

namespace {

// A predefined root such as HKEY_LOCAL_MACHINE is a sign-extended 32-bit value.
HKEY rootHandle(std::uint32_t root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
}

bool isBatchFile(const std::string& path) {
    std::string end = path.substr(path.size() >= 4 ? path.size() - 4 : 0);
    for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return end == ".bat" || end == ".cmd";
}

class Win32Platform : public Platform {
public:
    long RegOpenKeyExA(std::uint32_t root, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                       RegistryKey& key) override {
        HKEY opened = nullptr;
        const LONG result = ::RegOpenKeyExA(rootHandle(root), subKey.c_str(), options, access, &opened);
        key = result == ERROR_SUCCESS ? reinterpret_cast<RegistryKey>(opened) : 0;
        return result;
    }

    long RegQueryValueExA(RegistryKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                          std::uint32_t& size) override {
        DWORD t = 0;
        DWORD n = size;
        const LONG result = ::RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(), nullptr, &t, data, &n);
        type = t;
        size = n;
        return result;
    }

    long RegCloseKey(RegistryKey key) override {
        return key ? ::RegCloseKey(reinterpret_cast<HKEY>(key)) : ERROR_INVALID_HANDLE;
    }

    std::string FindFile(const std::string& path) override {
        if (path.empty() || path.find('\0') != std::string::npos) throw PlatformFailure("Bad file name or number");
        WIN32_FIND_DATAA found{};
        const HANDLE search = ::FindFirstFileA(path.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES)
                return {};
            throw PlatformFailure("Bad file name or number");
        }
        std::string name;
        do {
            constexpr DWORD excluded = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
            if ((found.dwFileAttributes & excluded) == 0) {
                name = found.cFileName;
                break;
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
        return name;
    }

    std::int64_t StartProgram(const std::string& path, int windowStyle) override {
        if (path.empty() || path.find('\0') != std::string::npos) throw PlatformFailure("File not found");
        // Windows hands a batch file named as the application to the command interpreter on
        // its own; only real programs are started.
        if (isBatchFile(path)) throw PlatformFailure("Not a program: " + path);
        // The program is named as the application itself, never handed to a command interpreter;
        // its command line is just its own quoted path.
        std::string commandLine = '"' + path + '"';
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(windowStyle == 1 ? SW_SHOWNORMAL : windowStyle);
        PROCESS_INFORMATION process{};
        if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process))
            throw PlatformFailure("File not found: " + path);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return static_cast<std::int64_t>(process.dwProcessId);
    }
};

}  // namespace

std::unique_ptr<Platform> makeSystemPlatform() { return std::make_unique<Win32Platform>(); }

}  // namespace numerak
