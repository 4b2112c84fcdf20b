// accessible.hpp: what a screen reader hears of a control beyond what Windows tells it itself.
#pragma once

#include <string>

#include <windows.h>

namespace numerak::win32 {

// Gives a control the description a screen reader reads after its name and role (its
// accessible object's description), and tells screen readers when it changes. An empty text
// takes the description away again.
void describeControl(HWND control, const std::wstring& description);

}  // namespace numerak::win32
