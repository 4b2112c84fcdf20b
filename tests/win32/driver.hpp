// driver.hpp: what the programs that check numerak.exe from outside share: a line for each check,
// UTF-8 for the console, and waiting for another program to get somewhere.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

namespace numerak::test {

inline int failures = 0;

inline void check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok) ++failures;
}

inline std::string utf8(const std::wstring& w) {
    std::string s(w.size() * 3 + 1, '\0');
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), static_cast<int>(s.size()), nullptr, nullptr);
    s.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
    return s;
}

inline bool waitUntil(const std::function<bool()>& done, DWORD ms = 15000) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (done()) return true;
        ::Sleep(50);
    }
    return done();
}

}  // namespace numerak::test
