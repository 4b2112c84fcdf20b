// fit.hpp: what every front end's fit test does in every language: both windows loaded with the
// texts the handlers write into them later at their longest, each laid out by the front end,
// which says what does not fit (cut off, or wrapping where the English does not).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/language.hpp"
#include "ui/designs.hpp"

namespace numerak::test {

// A window with no handlers: only its layout is wanted.
struct ShownDesign : FormLogic {
    explicit ShownDesign(const WindowDesign& d) : d_(d) {}
    const WindowDesign& design() const override { return d_; }
    void attach(Form*) override {}
    std::vector<Route> routes() override { return {}; }
    const WindowDesign& d_;
};

// The texts the handlers write into a window, in the language in use, at their longest.
inline void writeLongestTexts(Form& form) {
    if (form.design().name == "frmCode") {
        const std::string range = TranslateWith("Please enter 4 numbers below. (1-%d)", 10),
                          over = TranslateWith("Please enter 4 numbers below (0-%d)", 10);
        form["Label1"].setCaption(over.size() > range.size() ? over : range);
        std::string longest;
        for (long n = 1; n <= 5; ++n) {
            std::string turns = TranslateCount("You have %d turns remaining", "You have %d turns remaining", n);
            if (turns.size() > longest.size()) longest = turns;
        }
        form["lblturns"].setCaption(longest);
        for (auto name : {"lblNew", "Option1", "Option2", "Option3", "Option4", "Command5"})
            form[name].setVisible(true);
    } else {
        form["lblVersion"].setCaption(std::string(Translate("Version ")) + "1.2.1");
    }
}

// A front end's layout of a window in the language in use: the lines each control's caption
// takes (in creation order), and what does not fit compared with the English lines given.
struct Layout {
    std::vector<int> lines;
    std::vector<std::string> misfits;
};
using LayOut = std::function<Layout(const WindowDesign&, const std::vector<int>& englishLines)>;

// Both windows in `language` fit; the test language, a third longer, must not.
inline void expectEveryCaptionFits(const std::string& language, const LayOut& layOut) {
    for (const WindowDesign* design : {&ui::frmCodeDesign(), &ui::frmAboutDesign()}) {
        UseLanguage("en");
        const std::vector<int> english = layOut(*design, {}).lines;
        UseLanguage(language);
        const std::vector<std::string> found = layOut(*design, english).misfits;
        UseLanguage("en");
        if (language == PseudoLanguage) {
            EXPECT_FALSE(found.empty()) << "the test language, a third longer, fits everywhere: the check sees nothing";
        } else {
            for (const std::string& m : found) ADD_FAILURE() << language << ", " << design->name << ": " << m;
        }
    }
}

// English, every catalogue the program carries, and the test language.
inline std::vector<std::string> EveryLanguage() {
    std::vector<std::string> languages{"en"};
    for (const Catalogue& c : Catalogues()) languages.emplace_back(c.language);
    languages.emplace_back(PseudoLanguage);
    return languages;
}

}  // namespace numerak::test
