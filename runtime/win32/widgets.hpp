// widgets.hpp: realising one control design as a Windows control, and what goes with it:
// pixels at a DPI, colours, fonts and lines.
#pragma once

#include <optional>

#include <windows.h>

#include "runtime/controls.hpp"
#include "runtime/design.hpp"
#include "runtime/look.hpp"

namespace numerak::win32 {

// The module the program's windows, dialogs and resources belong to.
inline HINSTANCE thisModule() { return ::GetModuleHandleW(nullptr); }
// Registers a window class of the program's, with the arrow cursor, once; later calls do nothing.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, UINT style = 0);

UINT windowDpi(HWND window);  // the system's DPI when the window is null
// The outer rectangle of a window whose client area is the given one, at the DPI.
RECT outerRect(RECT client, DWORD style, DWORD exStyle, bool hasMenu, UINT dpi);

// Plain references as they are; system colours from the system (COLOR_3DLIGHT, ...).
COLORREF toColorRef(Colour colour);

// Whether the system asks for high contrast: then the controls the design colours take the
// system's window colours, so that their text reads as the player's theme means it to. wine has
// no high-contrast mode to switch; a test can stand in for the system, or hand it back (nullopt).
bool highContrast();
void pretendHighContrast(std::optional<bool> on);

// The design's font at the DPI; the window's own font is the system's message face at the
// 8.25 points the windows were laid out for. The caller deletes it.
HFONT createFont(const FontDesign& font, UINT dpi);
HFONT createInterfaceFont(UINT dpi);

// The Windows control for a control design, hidden until placed; null for a line, which its
// window paints itself.
HWND createControl(const ControlDesign& design, HWND parent, int id, Form::TabPlace place);
// Places and sizes a control for the window's DPI; a picture box then draws its picture for it.
void placeControl(HWND control, const ControlDesign& design, UINT dpi);

// A screen reader names an edit box after the static text just before it in tab order. For a
// box whose design gives it a name but no label, a label that is never shown says the name; the
// caller puts it just before the box. Null for every other control.
HWND createNameLabel(const ControlDesign& design, HWND parent);

// Paints a line of the design where its look places the stroke.
void paintLine(HDC dc, const ControlLook& line);

}  // namespace numerak::win32
