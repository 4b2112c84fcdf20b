// Every caption fits its designed box in every language, on Windows: both windows realised as
// Windows controls, with the texts the handlers write later at their longest, each caption
// measured in its control's own font; a caption cut off, or wrapping where the English does not,
// fails. The test language, a third longer, must be caught.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/language.hpp"
#include "runtime/win32/form_window.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/win32_runtime.hpp"
#include "ui/designs.hpp"

namespace numerak::test {
namespace {

struct Shown : FormLogic {
    explicit Shown(const WindowDesign& d) : d_(d) {}
    const WindowDesign& design() const override { return d_; }
    void attach(Form*) override {}
    std::vector<Route> routes() override { return {}; }
    const WindowDesign& d_;
};

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

struct Layout {
    std::vector<int> lines;  // each control's, in creation order
    std::vector<std::string> misfits;
};

Layout layOut(const WindowDesign& design, const std::vector<int>& english) {
    win32::Win32Runtime rt{"Numerak"};
    Shown logic(design);
    Form form(design);
    if (design.name == "frmCode") {
        form["Label1"].setCaption(TranslateWith("Please enter 4 numbers below. (1-%d)", 10));
        std::string longest;
        for (long n = 1; n <= 5; ++n) {
            std::string turns = TranslateCount("You have %d turns remaining", "You have %d turns remaining", n);
            if (turns.size() > longest.size()) longest = turns;
        }
        form["lblturns"].setCaption(longest);
    } else {
        form["lblVersion"].setCaption(std::string(Translate("Version ")) + "1.2.1");
    }
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

class Fit : public ::testing::TestWithParam<std::string> {
protected:
    void TearDown() override { UseLanguage("en"); }
};

TEST_P(Fit, everyCaptionFitsItsDesignedBox) {
    for (const WindowDesign* design : {&ui::frmCodeDesign(), &ui::frmAboutDesign()}) {
        UseLanguage("en");
        const std::vector<int> english = layOut(*design, {}).lines;
        UseLanguage(GetParam());
        const std::vector<std::string> found = layOut(*design, english).misfits;
        if (GetParam() == PseudoLanguage) {
            EXPECT_FALSE(found.empty()) << "the test language, a third longer, fits everywhere: the check sees nothing";
        } else {
            for (const std::string& m : found) ADD_FAILURE() << GetParam() << ", " << design->name << ": " << m;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, Fit,
                         ::testing::Values("en", "de", "fr", "es", "it", "pt_BR", "nl", "pl", "ru",
                                           std::string(PseudoLanguage)));

}  // namespace
}  // namespace numerak::test
