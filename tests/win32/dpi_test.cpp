// The Win32 front end at the screen's scale: the windows, their fonts and the banner grow with
// the DPI, and a window moved to a screen of another DPI lays itself out again. CTest runs it at
// 144 dpi (tests/win32/at_dpi.sh sets LogPixels in the wine prefix); it holds at any DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "game/frmcode.hpp"
#include "runtime/win32/form_window.hpp"
#include "runtime/win32/widgets.hpp"
#include "runtime/win32/win32_runtime.hpp"
#include "tests/win32/win32_keys.hpp"

namespace numerak::test {
namespace {

// What the picture box draws over its own background: the size of the banner as shown.
SIZE bannerDrawn(HWND picture) {
    RECT r;
    ::GetClientRect(picture, &r);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, dib);
    ::SendMessageW(picture, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const COLORREF back = ::GetSysColor(COLOR_BTNFACE);
    SIZE drawn{0, 0};
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (LONG y = 0; y < r.bottom; ++y)
        for (LONG x = 0; x < r.right; ++x) {
            const DWORD p = pixels[y * r.right + x];  // 0x00RRGGBB
            // The banner's white ground is near the button face of some themes: any difference.
            const int dr = std::abs(static_cast<int>((p >> 16) & 0xFF) - GetRValue(back));
            const int dg = std::abs(static_cast<int>((p >> 8) & 0xFF) - GetGValue(back));
            const int db = std::abs(static_cast<int>(p & 0xFF) - GetBValue(back));
            if (std::max({dr, dg, db}) > 3) {
                drawn.cx = std::max(drawn.cx, x + 1);
                drawn.cy = std::max(drawn.cy, y + 1);
            }
        }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(dib);
    return drawn;
}

class DpiTest : public ::testing::Test {
protected:
    void SetUp() override {
        KeyAnswerer::answers.push_back({VK_RETURN});  // the opening message
        rt.start(game);
        window = rt.window(game);
        ASSERT_TRUE(window);
        pump();
    }
    void pump() { test::pump(rt); }
    RECT rectOf(std::string_view name) {
        RECT r;
        ::GetWindowRect(window->control(name), &r);
        ::MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    LONG fontHeight(std::string_view name) {
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window->control(name), WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf.lfHeight;
    }

    KeyAnswerer boxes;
    win32::Win32Runtime rt{"Numerak"};
    Generator generator;
    frmCode game{rt, generator, nullptr};
    win32::FormWindow* window = nullptr;
};

TEST_F(DpiTest, theWindowAndItsBannerGrowWithTheScreensScale) {
    const UINT dpi = win32::windowDpi(window->hwnd());
    if (const char* expected = std::getenv("NUMERAK_EXPECT_DPI")) {
        ASSERT_EQ(dpi, std::strtoul(expected, nullptr, 10));
    }
    RECT client;
    ::GetClientRect(window->hwnd(), &client);
    EXPECT_EQ(client.right, win32::scaled(6555, dpi));
    EXPECT_EQ(client.bottom, win32::scaled(3030, dpi));
    const SIZE drawn = bannerDrawn(window->control("Picture1"));
    // The same share of its grown box as at 96 dpi, where the banner is 407 x 68.
    EXPECT_NEAR(drawn.cx, 407.0 * dpi / 96, 1.0);
    EXPECT_NEAR(drawn.cy, 68.0 * dpi / 96, 1.0);
}

TEST_F(DpiTest, aMoveToAScreenOfTwiceTheScaleLaysTheWindowOutAgain) {
    RECT r;
    ::GetWindowRect(window->hwnd(), &r);
    RECT suggested{r.left, r.top, r.left + 2 * (r.right - r.left), r.top + 2 * (r.bottom - r.top)};
    ::SendMessageW(window->hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    pump();
    const RECT banner = rectOf("Picture1");
    EXPECT_EQ(banner.left, 32);
    EXPECT_EQ(banner.top, 16);
    EXPECT_EQ(banner.right - banner.left, 818);  // 6135 twips at 192 dpi
    EXPECT_EQ(banner.bottom - banner.top, 146);
    EXPECT_EQ(fontHeight("Command1"), -22);  // 8.25 points at 192 dpi
    const SIZE drawn = bannerDrawn(window->control("Picture1"));
    EXPECT_EQ(drawn.cx, 814);  // the banner drawn at twice its size, as it is
    EXPECT_EQ(drawn.cy, 136);
}

}  // namespace
}  // namespace numerak::test
