// Starts numerak.exe and plays it from another program through window messages, as a player at
// the mouse would: it starts with its opening message, a screen reader in another process hears
// what the program describes a control by, its About window shows the version it was built as,
// and it ends with status 0 when the player quits. What every front end shows is in
// tests/frontends/checks.txt. numerak_smoke_driver numerak.exe [--shots]: with --shots it prints
// "SHOT <name>" at each window worth a picture and holds there a moment.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/win32/ids.hpp"
#include "tests/win32/driver.hpp"
#include "ui/designs.hpp"

namespace {

using numerak::win32::commandId;
const numerak::WindowDesign& game = numerak::ui::frmCodeDesign();
const numerak::WindowDesign& about = numerak::ui::frmAboutDesign();

using numerak::test::check;
using numerak::test::failures;
using numerak::test::utf8;
using numerak::test::waitUntil;

bool shots = false;
DWORD pid = 0;

std::wstring text(HWND w) {
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(w, buffer, 1024);
    return buffer;
}

// The shown top-level window of numerak.exe with this class and title.
HWND find(const wchar_t* cls, const std::wstring& title) {
    struct Search {
        const wchar_t* cls;
        const std::wstring& title;
        HWND found;
    } s{cls, title, nullptr};
    ::EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(w, &owner);
            wchar_t cls[64] = {};
            ::GetClassNameW(w, cls, 64);
            if (owner == pid && ::IsWindowVisible(w) && std::wcscmp(cls, s.cls) == 0 && text(w) == s.title) {
                s.found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND waitFor(const wchar_t* cls, const std::wstring& title) {
    HWND w = nullptr;
    waitUntil([&] { return (w = find(cls, title)) != nullptr; });
    check(w != nullptr, std::string("a window appears: ").append(utf8(title)));
    return w;
}

void shot(const char* name) {
    if (!shots) return;
    std::printf("SHOT %s\n", name);
    std::fflush(stdout);
    ::Sleep(1500);
}

HWND childOfClass(HWND parent, const wchar_t* wanted) {
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        ::GetClassNameW(c, cls, 64);
        if (_wcsicmp(cls, wanted) == 0) return c;
    }
    return nullptr;
}

// Answers the box with this title once it is up, and waits until it has gone.
void answerBox(const std::wstring& title, int answer, const char* picture = nullptr) {
    HWND box = waitFor(L"#32770", title);
    if (!box) return;
    if (picture) shot(picture);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
    check(waitUntil([&] { return !::IsWindow(box); }), "  it closes when answered");
}

void press(HWND form, const numerak::WindowDesign& design, const char* name) {
    const int id = commandId(design, name);
    ::PostMessageW(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(form, id)));
}

bool shows(HWND form, const numerak::WindowDesign& design, const char* name, const std::wstring& caption) {
    return waitUntil([&] { return text(::GetDlgItem(form, commandId(design, name))) == caption; }, 5000);
}

bool visible(HWND form, const char* name) {
    return ::IsWindowVisible(::GetDlgItem(form, commandId(game, name))) != FALSE;
}

// What a screen reader in another process reads after a control's name: the object the program
// makes for it, handed across.
std::wstring description(HWND control) {
    IAccessible* acc = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&acc))) ||
        !acc)
        return L"<no accessible object>";
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR got = nullptr;
    std::wstring said;
    if (acc->get_accDescription(self, &got) == S_OK && got) said.assign(got, ::SysStringLen(got));
    ::SysFreeString(got);
    acc->Release();
    return said;
}

}  // namespace

int main(int argc, char** argv) {
    const char* exe = argc > 1 ? argv[1] : "numerak.exe";
    shots = argc > 2 && std::strcmp(argv[2], "--shots") == 0;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = std::string("\"") + exe + "\"";
    if (!::CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("FAIL cannot start %s (error %lu)\n", exe, ::GetLastError());
        return 1;
    }
    pid = process.dwProcessId;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    answerBox(L"Select New game", IDOK, "message-box");
    HWND w = waitFor(L"NumerakForm", L"Numerak");
    if (w) {
        // A game dealt, for its picture: numbers typed that are never the secret.
        press(w, game, "Option1");
        press(w, game, "Command5");
        check(shows(w, game, "Label1", L"Please enter 4 numbers below. (1-5)"), "Easy deals a game");
        check(description(::GetDlgItem(w, commandId(game, "Text1"))) == L"Please enter 4 numbers below. (1-5)",
              "a screen reader hears the range after the first box's name");
        for (const char* box : {"Text1", "Text2", "Text3", "Text4"}) {
            DWORD_PTR result = 0;
            ::SendMessageTimeoutW(::GetDlgItem(w, commandId(game, box)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"),
                                  SMTO_ABORTIFHUNG, 5000, &result);
        }
        shot("game-window");

        // A new game, Custom, and its first input box, for its picture.
        press(w, game, "Command2");
        check(waitUntil([&] { return visible(w, "Option4"); }), "New Game shows the difficulties again");
        press(w, game, "Option4");
        press(w, game, "Command5");
        if (HWND input = waitFor(L"#32770", L"Turns")) {
            shot("input-box");
            ::SendMessageW(childOfClass(input, L"Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"3"));
            ::PostMessageW(input, WM_COMMAND, IDOK, 0);
        }
        answerBox(L"Number", IDCANCEL);

        ::PostMessageW(w, WM_COMMAND, MAKEWPARAM(commandId(game, "mnuHelpAbout"), 0), 0);
        if (HWND a = waitFor(L"NumerakForm", L"About Numerak")) {
            check(shows(a, about, "lblVersion", L"Version " NUMERAK_VERSION), "About shows the version built");
            shot("about-window");
            press(a, about, "cmdOK");
            check(waitUntil([&] { return !::IsWindow(a); }), "OK closes the About window");
        }

        press(w, game, "Command3");
        answerBox(L"Are you sure?", IDYES, "quit-question");
    }
    const bool exited = ::WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0;
    DWORD status = 1;
    if (!exited) ::TerminateProcess(process.hProcess, 2);
    ::GetExitCodeProcess(process.hProcess, &status);
    check(exited && status == 0, "numerak.exe ends with status 0 (status " + std::to_string(status) + ")");
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    std::printf("%d failures\n", failures);
    return failures == 0 ? 0 : 1;
}
