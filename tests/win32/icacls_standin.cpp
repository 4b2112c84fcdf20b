// A stand-in for icacls.exe, for the installer tests: wine's own icacls only says "stub", and wine
// keeps no ACLs that a test could read back. Each run appends a line to icacls.log beside it: its
// arguments as they were passed, " | ", and what the folder named first held at that moment
// ("(empty)", or the names). It exits with the number in NUMERAK_ICACLS_EXIT, 0 when that is not
// set, so that a test can make it fail.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/win32/driver.hpp"

namespace {

// The command line without the program's own name.
std::wstring arguments(const wchar_t* line) {
    const wchar_t* p = line;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}

std::wstring contents(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    if (names.empty()) return L"(empty)";
    std::sort(names.begin(), names.end());
    std::wstring all;
    for (const auto& name : names) all += (all.empty() ? L"" : L" ") + name;
    return all;
}

}  // namespace

int main() {
    const wchar_t* line = ::GetCommandLineW();
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(line, &count);
    const std::wstring folder = argv && count > 1 ? argv[1] : L"";
    if (argv) ::LocalFree(argv);
    const std::string entry = numerak::test::utf8(arguments(line) + L" | " + contents(folder)) + "\n";

    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    std::wstring log = path;
    log.replace(log.find_last_of(L'\\') + 1, std::wstring::npos, L"icacls.log");
    HANDLE file = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    ::WriteFile(file, entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
    ::CloseHandle(file);

    wchar_t exitCode[16] = {};
    if (::GetEnvironmentVariableW(L"NUMERAK_ICACLS_EXIT", exitCode, 16) == 0) return 0;
    return std::wcstol(exitCode, nullptr, 10);
}
