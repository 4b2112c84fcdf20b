// Starts numerak.exe and plays it through window messages, as a player at the mouse would,
// checking every box and window it shows: numerak_smoke_driver numerak.exe [--shots]. With
// --shots it prints "SHOT <name>" at each window worth a picture and holds there a moment.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <functional>
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

// A message box's or input box's text: its longest static text.
std::wstring boxText(HWND box) {
    std::wstring longest;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        ::GetClassNameW(c, cls, 64);
        if (_wcsicmp(cls, L"Static") == 0 && text(c).size() > longest.size()) longest = text(c);
    }
    return longest;
}

HWND childOfClass(HWND parent, const wchar_t* wanted) {
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        ::GetClassNameW(c, cls, 64);
        if (_wcsicmp(cls, wanted) == 0) return c;
    }
    return nullptr;
}

void shot(const char* name) {
    if (!shots) return;
    std::printf("SHOT %s\n", name);
    std::fflush(stdout);
    ::Sleep(1500);
}

// Checks the box's text and buttons, then answers it and waits until it is gone.
void answerBox(const std::wstring& title, const std::wstring& expected, bool yesNo, int answer,
               const char* picture = nullptr) {
    HWND box = waitFor(L"#32770", title);
    if (!box) return;
    std::string what = utf8(title);
    what.append(" says: ").append(utf8(expected)).append(" (it says: ").append(utf8(boxText(box))).append(")");
    check(boxText(box) == expected, what);
    const bool hasYesNo = ::GetDlgItem(box, IDYES) && ::GetDlgItem(box, IDNO);
    check(yesNo ? hasYesNo && !::GetDlgItem(box, IDOK) : ::GetDlgItem(box, IDOK) && !hasYesNo,
          yesNo ? "  with Yes and No" : "  with OK alone");
    if (yesNo) {
        // The default button is drawn as such and has the keyboard, so Enter answers Yes.
        HWND yes = ::GetDlgItem(box, IDYES);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(box, nullptr), &gui);
        check((::GetWindowLongPtrW(yes, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON && gui.hwndFocus == yes,
              "  Yes is the default button");
    }
    if (picture) shot(picture);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
    check(waitUntil([&] { return !::IsWindow(box); }), "  it closes when answered");
}

void press(HWND form, const numerak::WindowDesign& design, const char* name) {
    const int id = commandId(design, name);
    ::PostMessageW(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(form, id)));
}

void chooseMenu(HWND form, const numerak::WindowDesign& design, const char* name) {
    ::PostMessageW(form, WM_COMMAND, MAKEWPARAM(commandId(design, name), 0), 0);
}

void type(HWND form, const char* name, const wchar_t* value) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(::GetDlgItem(form, commandId(game, name)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value),
                          SMTO_ABORTIFHUNG, 5000, &result);
}

bool shows(HWND form, const numerak::WindowDesign& design, const char* name, const std::wstring& caption) {
    return waitUntil([&] { return text(::GetDlgItem(form, commandId(design, name))) == caption; }, 5000);
}

bool visible(HWND form, const char* name) {
    return ::IsWindowVisible(::GetDlgItem(form, commandId(game, name))) != FALSE;
}

// What a screen reader in another process reads after a control's name.
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

    answerBox(L"Select New game", L"Please choose your preferred difficulty setting on the right.", false, IDOK,
              "message-box");
    HWND w = waitFor(L"NumerakForm", L"Numerak");
    if (w) {
        check(visible(w, "Option1") && visible(w, "Command5"), "the difficulty panel is shown");
        press(w, game, "Option1");
        press(w, game, "Command5");
        check(shows(w, game, "Label1", L"Please enter 4 numbers below. (1-5)"), "Easy deals numbers from 1 to 5");
        check(waitUntil([&] { return !visible(w, "Option1"); }), "the panel goes once dealt");
        check(description(::GetDlgItem(w, commandId(game, "Text1"))) == L"Please enter 4 numbers below. (1-5)",
              "a screen reader hears the range after the first box's name");
        for (const char* box : {"Text1", "Text2", "Text3", "Text4"}) type(w, box, L"0");  // never a secret
        shot("game-window");
        for (int turn = 1; turn <= 9; ++turn) {
            press(w, game, "Command1");
            answerBox(L"sorry", L"You got 0 out of four, do you want to continue?", true, IDYES);
            if (turn == 5)
                check(shows(w, game, "lblturns", L"You have 5 turns remaining"), "the turns are counted from five");
        }
        press(w, game, "Command1");
        answerBox(L"out of turns", L"Sorry you are out of turns, would you like to go again?", true, IDYES);
        check(waitUntil([&] { return visible(w, "Option1"); }), "the panel is back for a new game");

        // Custom asks twice; a cancelled answer keeps the number it had.
        press(w, game, "Option4");
        press(w, game, "Command5");
        HWND input = waitFor(L"#32770", L"Turns");
        if (input) {
            check(boxText(input) == L"How many turns would you like?", "the input box asks for the turns");
            check(::GetDlgItem(input, IDOK) && ::GetDlgItem(input, IDCANCEL), "  with OK and Cancel");
            shot("input-box");
            ::SendMessageW(childOfClass(input, L"Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"3"));
            ::PostMessageW(input, WM_COMMAND, IDOK, 0);
        }
        input = waitFor(L"#32770", L"Number");
        if (input) ::PostMessageW(input, WM_COMMAND, IDCANCEL, 0);
        check(shows(w, game, "Label1", L"Please enter 4 numbers below. (1-5)"), "Cancel keeps the highest number");

        chooseMenu(w, game, "mnuHelpAbout");
        HWND a = waitFor(L"NumerakForm", L"About Numerak");
        if (a) {
            check(!::IsWindowEnabled(w), "the game waits behind the About window");
            check(shows(a, about, "lblVersion", L"Version " NUMERAK_VERSION) && shows(a, about, "lblTitle", L"Numerak"),
                  "About shows the title and version");
            shot("about-window");
            press(a, about, "cmdOK");
            check(waitUntil([&] { return !::IsWindow(a); }), "OK closes the About window");
            check(waitUntil([&] { return ::IsWindowEnabled(w) != FALSE; }), "the game takes the player back");
        }

        ::PostMessageW(w, WM_CLOSE, 0, 0);
        answerBox(L"Are you sure?", L"Are you sure you want to quit?", true, IDNO);
        check(::IsWindow(w) && ::WaitForSingleObject(process.hProcess, 500) == WAIT_TIMEOUT,
              "No to the close box keeps playing");
        press(w, game, "Command3");
        answerBox(L"Are you sure?", L"Are you sure you want to quit?", true, IDYES, "quit-question");
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
