// ids.hpp: the command identifiers a realised window gives its controls and menu entries.
// Free of <windows.h>, so that a program driving the window from outside can name them too.
#pragma once

#include <string_view>

#include "runtime/design.hpp"

namespace numerak::win32 {

// Above IDOK..IDHELP, which the dialog manager sends on its own.
constexpr int firstControlId = 100;
constexpr int firstMenuId = 1000;

// By the entry's place in its design; -1 when the design has no such entry.
constexpr int commandId(const WindowDesign& design, std::string_view name, int index = -1) {
    for (std::size_t i = 0; i < design.controls.size(); ++i)
        if (design.controls[i].name == name && design.controls[i].index == index)
            return firstControlId + static_cast<int>(i);
    for (std::size_t i = 0; i < design.menus.size(); ++i)
        if (design.menus[i].name == name && index == -1) return firstMenuId + static_cast<int>(i);
    return -1;
}

}  // namespace numerak::win32
