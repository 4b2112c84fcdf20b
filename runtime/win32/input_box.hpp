// input_box.hpp: the small modal box that asks the player for a line of text.
#pragma once

#include <optional>
#include <string>

#include <windows.h>

namespace numerak::win32 {

// The prompt, an empty edit box, OK (the default) and Cancel, modal to the owner. The text
// typed when OK is pressed; nothing when Cancel, Esc or the close box is. Throws
// std::runtime_error when the box cannot be shown at all.
std::optional<std::wstring> askText(HWND owner, const std::wstring& prompt, const std::wstring& title);

}  // namespace numerak::win32
