// Checks what Numerak's installer leaves on a system, as Windows and a player see it:
// numerak_installed_check installed   the program, its shortcut and its entry under Apps, and
//                                     numerak.exe starting at its place with its opening message
// numerak_installed_check removed     none of them left
// Prints a line for each check and what it read; exits 1 if any failed.
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/win32/driver.hpp"

namespace {

using numerak::test::check;
using numerak::test::failures;
using numerak::test::utf8;
using numerak::test::waitUntil;

const wchar_t* const uninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Numerak";

bool keyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstallKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

std::wstring text(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, uninstallKey, name, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, value,
                       &size) != ERROR_SUCCESS)
        return L"(none)";
    return value;
}

DWORD number(const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    ::RegGetValueW(HKEY_LOCAL_MACHINE, uninstallKey, name, RRF_RT_REG_DWORD | RRF_SUBKEY_WOW6464KEY, nullptr, &value,
                   &size);
    return value;
}

std::wstring folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The program a shortcut starts; empty when it cannot be read.
std::wstring shortcutTarget(const std::wstring& link) {
    std::wstring target;
    IShellLinkW* shell = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&shell))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) && SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shell->Release();
    return target;
}

// The visible top-level window of the process with this class and title.
HWND findWindow(DWORD pid, const wchar_t* cls, const wchar_t* title) {
    struct Search {
        DWORD pid;
        const wchar_t* cls;
        const wchar_t* title;
        HWND found;
    } s{pid, cls, title, nullptr};
    ::EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(w, &owner);
            wchar_t cls[64] = {}, title[256] = {};
            ::GetClassNameW(w, cls, 64);
            ::GetWindowTextW(w, title, 256);
            if (owner == s->pid && ::IsWindowVisible(w) && std::wstring(cls) == s->cls &&
                std::wstring(title) == s->title) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring boxText(HWND box) {
    std::wstring found;
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM p) -> BOOL {
            wchar_t cls[16] = {}, text[512] = {};
            ::GetClassNameW(child, cls, 16);
            ::GetWindowTextW(child, text, 512);
            auto& found = *reinterpret_cast<std::wstring*>(p);
            if (found.empty() && std::wstring(cls) == L"Static" && text[0]) found = text;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void startsWithItsOpeningMessage(const std::wstring& exe, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe + L"\"";
    const bool started = ::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          folder.c_str(), &startup, &process) != FALSE;
    check(started, "numerak.exe starts from its place");
    if (!started) return;
    HWND box = nullptr;
    waitUntil([&] { return (box = findWindow(process.dwProcessId, L"#32770", L"Select New game")) != nullptr; }, 20000);
    const std::wstring said = box ? boxText(box) : L"";
    check(said == L"Please choose your preferred difficulty setting on the right.",
          "it shows its opening message: \"" + utf8(said) + "\"");
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 5000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "installed" && mode != "removed") {
        std::fprintf(stderr, "usage: numerak_installed_check installed|removed\n");
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring place = folder(CSIDL_PROGRAM_FILES) + L"\\Numerak";
    const std::wstring exe = place + L"\\numerak.exe";
    // For all users; wine puts the shortcuts of an all-users install in the user's Start menu.
    const std::vector<std::wstring> links{folder(CSIDL_COMMON_PROGRAMS) + L"\\Numerak.lnk",
                                          folder(CSIDL_PROGRAMS) + L"\\Numerak.lnk"};

    if (mode == "installed") {
        check(exists(exe), "the program: " + utf8(exe));
        std::wstring link;
        for (const auto& l : links)
            if (link.empty() && exists(l)) link = l;
        check(!link.empty(), "the Start menu shortcut: " + utf8(link));
        const std::wstring target = link.empty() ? L"" : shortcutTarget(link);
        check(_wcsicmp(target.c_str(), exe.c_str()) == 0, "  its target: " + utf8(target));

        check(keyExists(), "the entry under Apps: HKLM\\" + utf8(uninstallKey));
        check(text(L"DisplayName") == L"Numerak", "  DisplayName: " + utf8(text(L"DisplayName")));
        check(text(L"DisplayVersion") == L"" NUMERAK_VERSION, "  DisplayVersion: " + utf8(text(L"DisplayVersion")));
        check(text(L"Publisher") == L"" NUMERAK_COMPANY, "  Publisher: " + utf8(text(L"Publisher")));
        check(text(L"DisplayIcon") == exe + L",0", "  DisplayIcon: " + utf8(text(L"DisplayIcon")));
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &data);
        const DWORD kilobytes = number(L"EstimatedSize");
        check(kilobytes >= data.nFileSizeLow / 1024 && kilobytes < data.nFileSizeLow / 1024 + 256,
              "  EstimatedSize: " + std::to_string(kilobytes) + " KB");
        check(exists(place + L"\\Uninstall.exe") && text(L"UninstallString") == L"\"" + place + L"\\Uninstall.exe\"",
              "  UninstallString: " + utf8(text(L"UninstallString")));
        startsWithItsOpeningMessage(exe, place);
    } else {
        check(!exists(exe), "the program is gone");
        check(!exists(place), "and its folder");
        for (const auto& l : links) check(!exists(l), "no shortcut " + utf8(l));
        check(!keyExists(), "no entry under Apps");
    }
    ::CoUninitialize();
    return failures == 0 ? 0 : 1;
}
