// text.cpp
#include "runtime/win32/text.hpp"

#include <limits>

namespace numerak::win32 {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int n = static_cast<int>(utf8.size());
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    if (wide > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, out.data(), wide);
    return out;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty() || utf16.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 4)) return {};
    const int n = static_cast<int>(utf16.size());
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    if (bytes > 0) ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), n, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::wstring windowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

std::vector<std::string> preferredUiLanguages() {
    std::vector<std::string> languages;
    ULONG count = 0;
    ULONG size = 0;
    if (!::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0) return languages;
    std::wstring list(size, L'\0');
    if (!::GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, list.data(), &size)) return languages;
    // Names one after another, each ended by a null, the list by another.
    for (std::size_t at = 0; at < list.size() && list[at] != L'\0';) {
        const std::size_t end = list.find(L'\0', at);
        languages.push_back(narrow(std::wstring_view(list).substr(at, end - at)));
        at = end + 1;
    }
    return languages;
}

}  // namespace numerak::win32
