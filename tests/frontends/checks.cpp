// checks.cpp: reading checks.txt, and playing a check on a front end's player.
#include "tests/frontends/checks.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "runtime/design.hpp"

namespace numerak::test {

extern const char* const FrontEndChecksText;  // checks.txt, built in

namespace {

std::string trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

std::vector<std::string> split(std::string_view s, char at) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in{std::string(s)};
    while (std::getline(in, part, at))
        if (at != ' ' || !part.empty()) parts.push_back(at == ' ' ? part : trimmed(part));
    return parts;
}

// A colour of checks.txt: #RRGGBB, or a system colour by name.
std::optional<Rgb> colourOf(std::string_view word, Player& player) {
    if (word.size() == 7 && word[0] == '#')
        return static_cast<Rgb>(std::strtoul(std::string(word.substr(1)).c_str(), nullptr, 16));
    const std::pair<std::string_view, int> system[]{{"Window", SystemColour::Window},
                                                    {"WindowText", SystemColour::WindowText},
                                                    {"HighlightText", SystemColour::HighlightText},
                                                    {"ButtonFace", SystemColour::ButtonFace},
                                                    {"Light3D", SystemColour::Light3D}};
    for (const auto& [name, index] : system)
        if (word == name) return player.systemColour(index);
    return std::nullopt;
}

bool near(Rgb a, Rgb b) {
    for (int shift : {0, 8, 16}) {
        const int x = static_cast<int>((a >> shift) & 0xFF), y = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(x - y) > 3) return false;
    }
    return true;
}

std::string hex(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour));
    return text;
}

std::string rect(PixelRect r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.width) + " " +
           std::to_string(r.height);
}

}  // namespace

std::vector<FrontEndCheck> FrontEndChecks(std::string_view version) {
    std::vector<FrontEndCheck> checks;
    std::istringstream in(FrontEndChecksText);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        for (auto at = line.find("$VERSION"); at != std::string::npos; at = line.find("$VERSION"))
            line.replace(at, 8, version);
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("check ", 0) == 0) {
            checks.push_back({trimmed(line.substr(6)), {}});
            continue;
        }
        std::string step = trimmed(line);
        if (step.rfind("desktop ", 0) == 0) step = step.substr(8);  // these front ends are the desktop's
        if (step.empty() || checks.empty()) continue;
        const auto blank = step.find(' ');
        CheckStep s{number, step.substr(0, blank), blank == std::string::npos ? "" : step.substr(blank + 1), {}};
        s.words = split(s.rest, ' ');
        checks.back().steps.push_back(std::move(s));
    }
    return checks;
}

void PrintTo(const FrontEndCheck& check, std::ostream* out) { *out << check.name; }

CheckRunner::CheckRunner(const FrontEndCheck& check, Player& player, std::chrono::milliseconds patience)
    : check_(check), player_(player), patience_(patience), since_(std::chrono::steady_clock::now()) {
    ++posted_;
    player_.post([this] {
        --posted_;
        player_.start();
    });
}

bool CheckRunner::expired() const { return std::chrono::steady_clock::now() - since_ > patience_; }

void CheckRunner::next() {
    ++at_;
    since_ = std::chrono::steady_clock::now();
}

void CheckRunner::fail(const std::string& what) {
    const int line = at_ < check_.steps.size() ? check_.steps[at_].line : 0;
    ADD_FAILURE() << "checks.txt:" << line << " (" << check_.name << "): " << what;
}

void CheckRunner::tick() {
    if (done_ || ticking_) return;
    ticking_ = true;
    struct Untick {
        bool& ticking;
        ~Untick() { ticking = false; }
    } untick{ticking_};

    if (at_ == check_.steps.size()) {
        if (posted_ > 0 && !expired()) return;
        if (const auto box = player_.box()) {
            fail("a box is left up: " + box->title + ": " + box->text);
            player_.answer("Enter");
        }
        done_ = true;
        return;
    }
    const CheckStep& step = check_.steps[at_];
    if (step.verb == "box") {
        const auto box = player_.box();
        if (!box) {
            if (expired()) {
                fail("no box came up");
                next();
            }
            return;
        }
        const std::vector<std::string> expected = split(step.rest, '|');
        if (expected.size() != 4) {
            fail("a box step has a title, a text, buttons and an answer");
            next();
            return;
        }
        EXPECT_EQ(box->title, expected[0]) << "checks.txt:" << step.line;
        EXPECT_EQ(box->text, expected[1]) << "checks.txt:" << step.line;
        std::vector<std::string> buttons = split(expected[2], ' ');
        EXPECT_EQ(box->defaultButton, buttons.front()) << "checks.txt:" << step.line;
        EXPECT_FALSE(box->icon) << "checks.txt:" << step.line;
        std::vector<std::string> seen = box->buttons;
        std::sort(buttons.begin(), buttons.end());
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, buttons) << "checks.txt:" << step.line;
        expectHeard(*box, expected, step.line);
        player_.answer(expected[3]);
        next();
        return;
    }
    if (posted_ > 0) {  // the last action has not started yet
        if (expired()) {
            fail("the action before did not start");
            done_ = true;
        }
        return;
    }
    if (const auto box = player_.box()) {
        fail("a box came up that the check does not name: " + box->title + ": " + box->text);
        player_.answer("Enter");
        return;
    }
    if (std::chrono::steady_clock::now() < settled_) return;
    if (act(step)) {
        next();
        return;
    }
    const std::optional<std::string> seen = expect(step);
    if (!seen) {
        next();
    } else if (expired()) {
        fail(step.verb + " " + step.rest + ": " + *seen);
        next();
    }
}

bool CheckRunner::act(const CheckStep& s) {
    if (s.verb == "in") {
        window_ = s.rest;
        return true;
    }
    const std::string w = window_;
    const std::string first = s.words.empty() ? "" : s.words.front();
    const std::string text = s.rest.size() > first.size() ? s.rest.substr(first.size() + 1) : "";
    std::function<void()> action;
    if (s.verb == "key") {
        const int times = s.words.size() > 1 ? std::atoi(s.words[1].c_str()) : 1;
        action = [this, w, first, times] {
            for (int i = 0; i < times; ++i) player_.key(w, first);
        };
    } else if (s.verb == "type") {
        action = [this, w, rest = s.rest] { player_.type(w, rest); };
    } else if (s.verb == "fill") {
        action = [this, w, first, text] { player_.fill(w, first, text); };
    } else if (s.verb == "click") {
        action = [this, w, first] { player_.click(w, first); };
    } else if (s.verb == "menu") {
        action = [this, w, first] { player_.menu(w, first); };
    } else if (s.verb == "close") {
        action = [this, w] { player_.close(w); };
    } else if (s.verb == "contrast") {
        action = [this, more = first == "more"] { player_.contrast(more); };
    } else if (s.verb == "blocked") {
        // Given a moment to come to something: a box then fails the check.
        action = [this, w, first] {
            settled_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
            player_.tryBeneath(w, first);
        };
    } else {
        return false;
    }
    ++posted_;
    player_.post([this, action] {
        --posted_;
        action();
    });
    return true;
}

std::optional<std::string> CheckRunner::expect(const CheckStep& s) {
    const std::string& w = window_;
    const auto each = [&](const std::function<bool(const std::string&)>& holds) -> std::optional<std::string> {
        for (const auto& control : s.words)
            if (!holds(control)) return "not so of " + control;
        return std::nullopt;
    };
    if (s.verb == "focus") {
        const std::string at = player_.focus(w);
        return at == s.rest ? std::nullopt
                            : std::optional<std::string>("the keyboard is on " + (at.empty() ? "nothing" : at));
    }
    // What is seen of a control, and what a screen reader hears of it, agree.
    const auto heardShowing = [&](const std::string& c) {
        const auto h = player_.heard(w, c);
        return h && h->showing;
    };
    const auto heardChecked = [&](const std::string& c) { return player_.heard(w, c).value_or(Heard{}).checked; };
    if (s.verb == "chosen")
        return each([&](const std::string& c) { return player_.chosen(w, c) && heardChecked(c) != false; });
    if (s.verb == "unchosen")
        return each([&](const std::string& c) { return !player_.chosen(w, c) && heardChecked(c) != true; });
    if (s.verb == "shown") return each([&](const std::string& c) { return player_.shown(w, c) && heardShowing(c); });
    if (s.verb == "hidden") return each([&](const std::string& c) { return !player_.shown(w, c) && !heardShowing(c); });
    if (s.verb == "announced") return each([&](const std::string& c) { return player_.announced(w, c); });
    if (s.verb == "unannounced") return each([&](const std::string& c) { return !player_.announced(w, c); });
    if (s.verb == "heard") return heardAs(s);
    if (s.verb == "caption") {
        const std::string& control = s.words.at(0);
        const std::string expected = s.rest.size() > control.size() ? s.rest.substr(control.size() + 1) : "";
        const std::string seen = player_.caption(w, control);
        return seen == expected ? std::nullopt : std::optional<std::string>("it says \"" + seen + "\"");
    }
    if (s.verb == "client" || s.verb == "place") {
        const bool client = s.verb == "client";
        PixelRect seen = client ? player_.client(w) : player_.place(w, s.words.at(0));
        std::string expected = client ? "0 0 " + s.rest : s.rest.substr(s.words.at(0).size() + 1);
        if (client) seen.left = seen.top = 0;
        return rect(seen) == expected ? std::nullopt : std::optional<std::string>("it is at " + rect(seen));
    }
    if (s.verb == "colours") {
        const auto [back, fore] = player_.colours(w, s.words.at(0));
        const auto wantBack = colourOf(s.words.at(1), player_), wantFore = colourOf(s.words.at(2), player_);
        if ((wantBack && !near(back, *wantBack)) || (wantFore && !near(fore, *wantFore)))
            return "it is painted " + hex(back) + " with text " + hex(fore);
        return std::nullopt;
    }
    if (s.verb == "gone") return player_.windowUp(w) ? std::optional<std::string>("it is still up") : std::nullopt;
    if (s.verb == "ended") return player_.ended() ? std::nullopt : std::optional<std::string>("it goes on");
    return "a step checks.txt does not describe";
}

// heard <control> <role> | <name> | <description>
std::optional<std::string> CheckRunner::heardAs(const CheckStep& s) {
    const std::string& control = s.words.at(0);
    std::vector<std::string> expected = split(s.rest.substr(control.size()), '|');
    expected.resize(3);
    const auto h = player_.heard(window_, control);
    if (!h) return "a screen reader does not find it";
    const std::string seen = (h->role.empty() ? expected[0] : h->role) + " | " + trimmed(h->name) + " | " +
                             trimmed(h->description) + (h->showing ? "" : " (hidden)");
    return seen == expected[0] + " | " + expected[1] + " | " + expected[2]
               ? std::nullopt
               : std::optional<std::string>("a screen reader hears " + seen);
}

// What a screen reader hears of a box is what is seen of it: a message box is an alert, an input
// box a dialog whose field is named by its prompt.
void CheckRunner::expectHeard(const BoxUp& box, const std::vector<std::string>& expected, int line) {
    const auto heard = player_.heardBox();
    if (!heard) {
        ADD_FAILURE() << "checks.txt:" << line << ": a screen reader finds no box";
        return;
    }
    if (!heard->role.empty()) {
        EXPECT_EQ(heard->role, box.field ? "dialog" : "alert") << "checks.txt:" << line;
    }
    EXPECT_EQ(trimmed(heard->name), expected[0]) << "checks.txt:" << line;
    EXPECT_EQ(trimmed(heard->text), expected[1]) << "checks.txt:" << line;
    EXPECT_EQ(heard->field, box.field ? expected[1] : "") << "checks.txt:" << line;
    std::vector<std::string> buttons = split(expected[2], ' '), names = heard->buttons;
    std::sort(buttons.begin(), buttons.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, buttons) << "checks.txt:" << line << ": the buttons a screen reader hears";
}

}  // namespace numerak::test
