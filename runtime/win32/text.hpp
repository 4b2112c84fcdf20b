// text.hpp: the core's UTF-8 text and the UTF-16 text of the Windows W functions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace numerak::win32 {

// Malformed UTF-8 becomes U+FFFD rather than failing: the player still sees the rest.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// A window's whole text, of any length.
std::wstring windowText(HWND window);

// The player's languages for programs, best first ("de-DE"), as the system's settings give them.
std::vector<std::string> preferredUiLanguages();

}  // namespace numerak::win32
