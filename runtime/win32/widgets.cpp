// widgets.cpp: one generic builder from control designs to Windows controls.
#include "runtime/win32/widgets.hpp"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "runtime/win32/picture.hpp"
#include "runtime/win32/system_library.hpp"
#include "runtime/win32/text.hpp"

namespace numerak::win32 {

namespace {

constexpr wchar_t pictureClass[] = L"NumerakPicture";

// A picture box: its picture at the top left on its background, at the size the window's DPI
// gives it, and a focus mark when it has the keyboard, for it takes the focus in its turn.
// The picture is decoded when the box is first painted, not when its window is built: the game
// window is built behind the opening message, which the player should see at once. It is
// decoded again when the window moves to a screen of another DPI.
struct PictureState {
    std::string fileName;
    UINT dpi = 96;  // its window's, as the window last laid itself out
    HBITMAP bitmap = nullptr;
    UINT bitmapDpi = 0;  // what the bitmap was decoded for
    COLORREF back = 0;
};

void paintPicture(HWND window, PictureState* state, HDC dc) {
    RECT client;
    ::GetClientRect(window, &client);
    if (state && !state->fileName.empty() && state->bitmapDpi != state->dpi) {
        if (state->bitmap) ::DeleteObject(state->bitmap);
        state->bitmap = loadPictureForDpi(thisModule(), state->fileName, state->dpi);
        state->bitmapDpi = state->dpi;
    }
    if (state) {
        HBRUSH back = ::CreateSolidBrush(state->back);
        ::FillRect(dc, &client, back);
        ::DeleteObject(back);
        if (state->bitmap) {
            BITMAP bm{};
            ::GetObjectW(state->bitmap, sizeof bm, &bm);
            HDC memory = ::CreateCompatibleDC(dc);
            HGDIOBJ old = ::SelectObject(memory, state->bitmap);
            ::BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
            ::SelectObject(memory, old);
            ::DeleteDC(memory);
        }
    }
    if (::GetFocus() == window) ::DrawFocusRect(dc, &client);
}

LRESULT CALLBACK pictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<PictureState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE:
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(window, &ps);
            paintPicture(window, state, dc);
            ::EndPaint(window, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:  // what a magnifier or a screenshot asks for
            paintPicture(window, state, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: ::InvalidateRect(window, nullptr, FALSE); return 0;
        case WM_LBUTTONDOWN: ::SetFocus(window); return 0;
        case WM_NCDESTROY:
            if (state) {
                if (state->bitmap) ::DeleteObject(state->bitmap);
                delete state;
                ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            }
            break;
        default: break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void registerWindowClass(const wchar_t* name, WNDPROC procedure, UINT style) {
    static std::set<std::wstring> registered;
    if (!registered.insert(name).second) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = thisModule();
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = name;
    ::RegisterClassExW(&wc);
}

UINT windowDpi(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    using ForSystem = UINT(WINAPI*)();
    static const auto forWindow = systemFunction<ForWindow>(L"user32.dll", "GetDpiForWindow");
    static const auto forSystem = systemFunction<ForSystem>(L"user32.dll", "GetDpiForSystem");
    if (window && forWindow) return forWindow(window);
    if (forSystem) return forSystem();
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

RECT outerRect(RECT client, DWORD style, DWORD exStyle, bool hasMenu, UINT dpi) {
    using ForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = systemFunction<ForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (forDpi)
        forDpi(&client, style, hasMenu, exStyle, dpi);
    else
        ::AdjustWindowRectEx(&client, style, hasMenu, exStyle);
    return client;
}

COLORREF toColorRef(Colour colour) {
    if (colour.isSystem()) return ::GetSysColor(colour.systemIndex());
    return RGB(colour.red(), colour.green(), colour.blue());
}

namespace {
std::optional<bool> pretended;
}  // namespace

bool highContrast() {
    if (pretended) return *pretended;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void pretendHighContrast(std::optional<bool> on) { pretended = on; }

HFONT createFont(const FontDesign& font, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -PointsAtDpi(font.points, static_cast<int>(dpi));
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeout;
    lf.lfCharSet = static_cast<BYTE>(font.charset);
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = widen(font.face);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&lf);
}

HFONT createInterfaceFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW lf{};
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        lf = metrics.lfMessageFont;
    else
        ::lstrcpynW(lf.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    // The face is the system's; the size is the one every caption was measured at.
    lf.lfHeight = -InterfaceFontPixels(static_cast<int>(dpi));
    lf.lfWidth = 0;
    return ::CreateFontIndirectW(&lf);
}

HWND createControl(const ControlDesign& d, HWND parent, int id, Form::TabPlace place) {
    const wchar_t* cls = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    void* param = nullptr;
    switch (d.kind) {
        case ControlKind::Label:
            cls = L"Static";
            style |= SS_LEFT | SS_NOPREFIX;  // a caption is plain text, never an access key
            break;
        case ControlKind::TextBox:
            cls = L"Edit";
            style |= ES_LEFT | ES_AUTOHSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::CommandButton:
            cls = L"Button";
            style |= d.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        case ControlKind::OptionButton:
            cls = L"Button";
            style |= BS_AUTORADIOBUTTON;
            break;
        case ControlKind::PictureBox: {
            // A new size, as at a new DPI, paints it anew.
            registerWindowClass(pictureClass, pictureProc, CS_HREDRAW | CS_VREDRAW);
            cls = pictureClass;
            const ControlLook look = LookOf(d, BaseDpi, false);
            auto* state =
                new PictureState{std::string(d.picture), 96, nullptr, 0, toColorRef(look.back.value_or(Colour{}))};
            param = state;
            break;
        }
        case ControlKind::Line: return nullptr;
    }
    if (place.startsGroup) style |= WS_GROUP;
    if (place.tabStop) style |= WS_TABSTOP;
    // A picture box's text is what a screen reader calls it; it is never drawn.
    const std::wstring text = widen(d.kind == ControlKind::PictureBox ? d.accessibleName : d.caption);
    HWND control = ::CreateWindowExW(exStyle, cls, text.c_str(), style, 0, 0, 0, 0, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), thisModule(), param);
    if (!control && d.kind == ControlKind::PictureBox) {
        auto* state = static_cast<PictureState*>(param);
        if (state->bitmap) ::DeleteObject(state->bitmap);
        delete state;
    }
    if (control && d.kind == ControlKind::TextBox) ::SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // any length
    return control;
}

HWND createNameLabel(const ControlDesign& d, HWND parent) {
    if (d.kind != ControlKind::TextBox || d.accessibleName.empty()) return nullptr;
    // No WS_VISIBLE, no tab stop, no access key: nothing a player sees or reaches.
    return ::CreateWindowExW(0, L"Static", widen(d.accessibleName).c_str(),
                             WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), thisModule(), nullptr);
}

void placeControl(HWND control, const ControlDesign& d, UINT dpi) {
    if (d.kind == ControlKind::PictureBox)
        if (auto* state = reinterpret_cast<PictureState*>(::GetWindowLongPtrW(control, GWLP_USERDATA)))
            state->dpi = dpi;
    const PixelRect r = LookOf(d, static_cast<int>(dpi), false).rect;
    ::SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void paintLine(HDC dc, const ControlLook& line) {
    const Stroke& s = line.stroke;
    const double half = line.lineWidth / 2.0;
    const COLORREF colour = toColorRef(line.fore.value_or(Colour{}));
    const auto whole = [](double v) { return static_cast<int>(std::lround(v)); };
    if (s.y1 == s.y2 || s.x1 == s.x2) {
        // Level and upright lines as the exact rectangle of pixels their stroke covers.
        const bool level = s.y1 == s.y2;
        const RECT r{whole(std::min(s.x1, s.x2) - (level ? 0 : half)), whole(std::min(s.y1, s.y2) - (level ? half : 0)),
                     whole(std::max(s.x1, s.x2) + (level ? 0 : half)),
                     whole(std::max(s.y1, s.y2) + (level ? half : 0))};
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &r, brush);
        ::DeleteObject(brush);
        return;
    }
    HPEN pen = ::CreatePen(PS_SOLID, line.lineWidth, colour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, whole(s.x1), static_cast<int>(s.y1), nullptr);
    ::LineTo(dc, whole(s.x2), static_cast<int>(s.y2));
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

}  // namespace numerak::win32
