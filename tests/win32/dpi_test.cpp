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
#include "runtime/win32/picture.hpp"
#include "runtime/win32/widgets.hpp"
#include "runtime/win32/win32_runtime.hpp"
#include "tests/win32/win32_keys.hpp"

namespace numerak::test {
namespace {

// What a window paints of its client area, top-down, 0x00RRGGBB.
struct Painted {
    LONG width = 0, height = 0;
    std::vector<DWORD> pixels;
};

Painted painted(HWND picture) {
    RECT r;
    ::GetClientRect(picture, &r);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, dib);
    ::SendMessageW(picture, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const auto* pixels = static_cast<const DWORD*>(bits);
    Painted p{r.right, r.bottom, std::vector<DWORD>(pixels, pixels + r.right * r.bottom)};
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(dib);
    return p;
}

// What the picture box draws over its own background: the size of the banner as shown.
SIZE bannerDrawn(HWND picture) {
    const Painted p = painted(picture);
    const LONG width = p.width;
    const COLORREF back = ::GetSysColor(COLOR_BTNFACE);
    SIZE drawn{0, 0};
    const DWORD* pixels = p.pixels.data();
    for (LONG y = 0; y < p.height; ++y)
        for (LONG x = 0; x < width; ++x) {
            const DWORD px = pixels[y * width + x];
            // The banner's white ground is near the button face of some themes: any difference.
            const int dr = std::abs(static_cast<int>((px >> 16) & 0xFF) - GetRValue(back));
            const int dg = std::abs(static_cast<int>((px >> 8) & 0xFF) - GetGValue(back));
            const int db = std::abs(static_cast<int>(px & 0xFF) - GetBValue(back));
            if (std::max({dr, dg, db}) > 3) {
                drawn.cx = std::max(drawn.cx, x + 1);
                drawn.cy = std::max(drawn.cy, y + 1);
            }
        }
    return drawn;
}

// The largest difference of a colour channel between what the box painted at its top-left corner
// and a picture decoded from the program's resources at its own size; -1 when there is no such
// picture.
int differenceFrom(const Painted& shown, const char* fileName) {
    HBITMAP file = win32::loadPicture(::GetModuleHandleW(nullptr), fileName, 96, 96);
    if (!file) return -1;
    DIBSECTION dib{};
    ::GetObjectW(file, sizeof dib, &dib);
    const LONG width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight;
    const auto* bits = static_cast<const DWORD*>(dib.dsBm.bmBits);
    int worst = width <= shown.width && height <= shown.height ? 0 : 255;
    for (LONG y = 0; y < std::min(height, shown.height); ++y)
        for (LONG x = 0; x < std::min(width, shown.width); ++x)
            for (int shift : {0, 8, 16}) {
                const int a = static_cast<int>((bits[y * width + x] >> shift) & 0xFF);
                const int b = static_cast<int>((shown.pixels[y * shown.width + x] >> shift) & 0xFF);
                worst = std::max(worst, std::abs(a - b));
            }
    ::DeleteObject(file);
    return worst;
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
    EXPECT_EQ(client.right, TwipsAtDpi(6555, static_cast<int>(dpi)));
    EXPECT_EQ(client.bottom, TwipsAtDpi(3030, static_cast<int>(dpi)));
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
    EXPECT_EQ(drawn.cx, 814);
    EXPECT_EQ(drawn.cy, 136);
    // The banner drawn at twice its size, shown as it is: not the small one blown up.
    const int difference = differenceFrom(painted(window->control("Picture1")), "banner@2x.jpg");
    EXPECT_NE(difference, -1) << "banner@2x.jpg is not among the program's pictures";
    EXPECT_LE(difference, 2);
}

}  // namespace
}  // namespace numerak::test
