// Every caption fits its designed box in every language, on Windows: both windows realised as
// Windows controls, with the texts the handlers write later at their longest, each caption
// measured in its control's own font; a caption cut off, or wrapping where the English does not,
// fails. The test language, a third longer, must be caught.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/win32/form_window.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/win32_runtime.hpp"
#include "tests/frontends/fit.hpp"

namespace numerak::test {
namespace {

// The room a caption needs in a control: its lines at the control's width, as the control draws
// them (labels wrap at words; buttons and options keep one line).
struct Need {
    int width = 0, height = 0, lines = 0;
};
Need measure(HWND control, const std::wstring& text, bool wraps) {
    RECT box{};
    ::GetClientRect(control, &box);
    HDC dc = ::GetDC(control);
    auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    RECT r{0, 0, box.right, 0};
    ::DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    const int lineHeight = metrics.tmHeight > 0 ? metrics.tmHeight : 1;
    return {r.right - r.left, r.bottom - r.top, (r.bottom - r.top + lineHeight - 1) / lineHeight};
}

Layout layOut(const WindowDesign& design, const std::vector<int>& english) {
    win32::Win32Runtime rt{"Numerak"};
    ShownDesign logic(design);
    Form form(design);
    writeLongestTexts(form);
    win32::FormWindow window(rt, form, logic, nullptr);
    Layout layout;
    std::size_t at = 0;
    for (const auto& c : form.controls()) {
        const ControlDesign* d = c->design();
        HWND h = d ? window.control(c->name(), c->index()) : nullptr;
        const bool counted = h &&
                             (d->kind == ControlKind::Label || d->kind == ControlKind::CommandButton ||
                              d->kind == ControlKind::OptionButton) &&
                             !c->caption().empty();
        if (!counted) {
            layout.lines.push_back(1);
            ++at;
            continue;
        }
        const std::wstring text = win32::widen(c->caption());
        RECT box{};
        ::GetClientRect(h, &box);
        const bool label = d->kind == ControlKind::Label;
        const Need need = measure(h, text, label);
        layout.lines.push_back(need.lines);
        // A button's frame and an option's circle take their room beside the text.
        const int beside = d->kind == ControlKind::OptionButton ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4
                           : label                              ? 0
                                                                : 6;
        const bool cut = need.width + beside > box.right || (label && need.height > box.bottom + 1);
        const bool newWrap = label && at < english.size() && english[at] == 1 && need.lines > 1;
        if (cut || newWrap) layout.misfits.push_back(std::string(c->name()) + ": " + c->caption());
        ++at;
    }
    return layout;
}

class Fit : public ::testing::TestWithParam<std::string> {};

TEST_P(Fit, everyCaptionFitsItsDesignedBox) { expectEveryCaptionFits(GetParam(), layOut); }

INSTANTIATE_TEST_SUITE_P(Languages, Fit, ::testing::ValuesIn(EveryLanguage()));

}  // namespace
}  // namespace numerak::test

namespace numerak::test {
namespace {

// Run with LANG set to a German or a Japanese locale: wine gives the Windows user that language,
// and the game takes it.
TEST(WindowsLanguage, theUsersLanguageForProgramsIsTheGames) {
    const char* lang = std::getenv("LANG");
    const std::string_view locale = lang ? lang : "";
    const std::string_view tag = locale.substr(0, 5);  // "de_DE"
    if (tag != "de_DE" && tag != "ja_JP") GTEST_SKIP() << "run with LANG=de_DE.UTF-8 or ja_JP.UTF-8";
    const std::vector<std::string> languages = win32::preferredUiLanguages();
    ASSERT_FALSE(languages.empty());
    EXPECT_EQ(languages.front(), std::string(tag.substr(0, 2)) + "-" + std::string(tag.substr(3)));
    EXPECT_EQ(ChooseLanguage(languages), tag.substr(0, 2));
}

}  // namespace
}  // namespace numerak::test
