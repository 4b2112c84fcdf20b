// A program for the platform tests to start: it leaves "<its own path>.ran" behind, holding its
// command line, so a test sees that it ran and how it was started.
#include <windows.h>

int main() {
    wchar_t path[MAX_PATH + 8] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    ::lstrcatW(path, L".ran");
    HANDLE mark = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark == INVALID_HANDLE_VALUE) return 1;
    const wchar_t* line = ::GetCommandLineW();
    DWORD written = 0;
    ::WriteFile(mark, line, static_cast<DWORD>(::lstrlenW(line) * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(mark);
    return 0;
}
