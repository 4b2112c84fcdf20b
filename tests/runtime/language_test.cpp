// The player's language: which one is chosen, the counted texts in each language's plural forms,
// the windows in every language with their access keys apart, and English as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/controls.hpp"
#include "runtime/keys.hpp"
#include "runtime/language.hpp"
#include "runtime/web/page_protocol.hpp"
#include "ui/designs.hpp"

namespace numerak {
namespace {

class Language : public ::testing::Test {
protected:
    void TearDown() override { UseLanguage("en"); }
};

std::string chosen(const std::vector<std::string>& preferred) { return ChooseLanguage(preferred); }

TEST_F(Language, theFirstWithACatalogueIsChosenARegionFallingBackToItsLanguage) {
    EXPECT_EQ(chosen({"pt_BR.UTF-8"}), "pt_BR");
    EXPECT_EQ(chosen({"de-AT"}), "de");
    EXPECT_EQ(chosen({"de_CH.UTF-8@euro"}), "de");
    EXPECT_EQ(chosen({"xx", "eo", "fr_CA"}), "fr");
    EXPECT_EQ(chosen({"pt_PT", "nl"}), "nl");  // no Portuguese of Portugal: the next
    EXPECT_EQ(chosen({"en_GB", "de"}), "en");  // English first is English
    EXPECT_EQ(chosen({}), "en");
    EXPECT_EQ(chosen({"tlh"}), "en");
    // Chinese by its script, else by its region; nothing without a catalogue of it.
    if (std::any_of(Catalogues().begin(), Catalogues().end(),
                    [](const Catalogue& c) { return c.language == "zh_TW"; })) {
        EXPECT_EQ(chosen({"zh-Hant-CN"}), "zh_TW");
        EXPECT_EQ(chosen({"zh-hans-HK"}), "zh_CN");
        EXPECT_EQ(chosen({"zh_HK.UTF-8"}), "zh_TW");
        EXPECT_EQ(chosen({"zh-SG"}), "zh_CN");
        EXPECT_EQ(chosen({"zh"}), "zh_CN");
    }
}

TEST_F(Language, theEnvironmentIsReadAsGettextReadsIt) {
    std::map<std::string, std::string> env;
    const auto read = [&] {
        return LanguagesFromEnvironment([&](const char* name) -> const char* {
            const auto at = env.find(name);
            return at == env.end() ? nullptr : at->second.c_str();
        });
    };
    EXPECT_TRUE(read().empty());
    env = {{"LANGUAGE", "fr:de"}, {"LANG", "pl_PL.UTF-8"}};
    EXPECT_EQ(read(), (std::vector<std::string>{"fr", "de", "pl_PL.UTF-8"}));
    env = {{"LC_ALL", "ru_RU.UTF-8"}, {"LC_MESSAGES", "it_IT"}, {"LANG", "es_ES.UTF-8"}};
    EXPECT_EQ(read(), (std::vector<std::string>{"ru_RU.UTF-8"}));  // the first set wins
    env = {{"LANG", "C.UTF-8"}};
    EXPECT_TRUE(read().empty());
    env = {{"LANGUAGE", ""}, {"LC_ALL", "POSIX"}};
    EXPECT_TRUE(read().empty());
}

TEST_F(Language, countedTextsTakeEachLanguagesPluralForms) {
    const auto turns = [](long n) {
        return TranslateCount("You have %d turns remaining", "You have %d turns remaining", n);
    };
    EXPECT_EQ(turns(1), "You have 1 turns remaining");  // English as designed
    UseLanguage("pl");
    EXPECT_EQ(turns(1), "Został 1 ruch");
    EXPECT_EQ(turns(3), "Zostały 3 ruchy");
    EXPECT_EQ(turns(5), "Zostało 5 ruchów");
    EXPECT_EQ(turns(12), "Zostało 12 ruchów");
    EXPECT_EQ(turns(22), "Zostały 22 ruchy");
    UseLanguage("ru");
    EXPECT_EQ(turns(21), "Остался 21 ход");
    EXPECT_EQ(turns(4), "Осталось 4 хода");
    EXPECT_EQ(turns(-21), "Остался -21 ход");  // a negative count by its size, the least one too
    EXPECT_NE(turns(std::numeric_limits<long>::min()), "");
    UseLanguage("fr");
    EXPECT_EQ(turns(0), "Il vous reste 0 tour");  // French counts nought as one
    EXPECT_EQ(turns(2), "Il vous reste 2 tours");
    UseLanguage("de");
    EXPECT_EQ(TranslateWith("Please enter 4 numbers below. (1-%d)", 10), "Bitte unten 4 Zahlen eingeben. (1-10)");
    EXPECT_EQ(Translate("no such text"), "no such text");  // English where a catalogue has none
}

// The letter after a caption's "&", whole in UTF-8 (a Cyrillic one too), Latin ones in capitals.
std::string accessLetter(std::string_view caption) {
    const auto at = caption.find('&');
    if (at == std::string_view::npos || at + 1 >= caption.size()) return {};
    const auto lead = static_cast<unsigned char>(caption[at + 1]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::string letter(caption.substr(at + 1, length));
    if (length == 1 && letter[0] >= 'a' && letter[0] <= 'z') letter[0] = static_cast<char>(letter[0] - 'a' + 'A');
    return letter;
}

TEST_F(Language, everyWindowLoadsInEveryLanguageWithItsAccessKeysApart) {
    std::vector<std::string> languages{"en", std::string(PseudoLanguage)};
    for (const Catalogue& c : Catalogues()) languages.emplace_back(c.language);
    ASSERT_EQ(Catalogues().size(), 16u);
    for (const std::string& language : languages) {
        UseLanguage(language);
        EXPECT_EQ(LanguageInUse(), language);
        for (const WindowDesign* design : {&ui::frmCodeDesign(), &ui::frmAboutDesign()}) {
            Form form(*design);
            std::set<std::string> keys;
            for (const auto& c : form.controls()) {
                const std::string key = accessLetter(c->caption());
                if (!key.empty()) {
                    EXPECT_TRUE(keys.insert(key).second) << language << ": " << c->caption() << " in " << design->name;
                }
            }
            EXPECT_EQ(keys.size(), design == &ui::frmCodeDesign() ? 3u : 1u) << language;  // none lost
        }
        const BoxWords words = TranslatedBoxWords();
        EXPECT_NE(accessLetter(words.yes), accessLetter(words.no)) << language;
    }
}

TEST_F(Language, aCyrillicAccessKeyIsPressedByTheKeyThatTypesIt) {
    UseLanguage("ru");
    Form game(ui::frmCodeDesign());
    EXPECT_EQ(AccessKey(game["Command3"].caption()), U'В');  // "&Выход"
    const KeyPress altD{.key = Key::Letter, .letter = 'D', .typed = U'в', .alt = true};
    EXPECT_EQ(KeyActionFor(game, altD, nullptr).target, &game["Command3"]);
    const KeyPress latinD{.key = Key::Letter, .letter = 'D', .alt = true};  // no Latin D to press
    EXPECT_EQ(KeyActionFor(game, latinD, nullptr).does, KeyDoes::Pass);
}

TEST_F(Language, turkishCapitalsAndKeysThatNoLettersPlaceNames) {
    EXPECT_EQ(AccessKey("&ilk"), U'I');
    EXPECT_EQ(AccessKey("&\u00e7\u0131k"), U'\u00c7');  // ç
    UseLanguage("tr");
    EXPECT_EQ(AccessKey("&ilk"), U'\u0130');      // the dotted capital
    EXPECT_EQ(AccessKey("&\u0131l"), U'I');       // the dotless small letter's capital
    EXPECT_EQ(AccessKey("&\u011fa"), U'\u011e');  // ğ
    // Alt with ç, which the Turkish keyboard has where others have ".", quits.
    Form game(ui::frmCodeDesign());
    const KeyPress altC = web::pageKey("\u00e7", true, false, false, false);
    EXPECT_EQ(KeyActionFor(game, altC, nullptr).target, &game["Command3"]) << game["Command3"].caption();
    EXPECT_EQ(web::pageKey("F10", false, false, false, false).key, Key::F10);
}

TEST_F(Language, englishIsTheDesignsOwnByteForByte) {
    UseLanguage("de");
    UseLanguage("en");
    Form game(ui::frmCodeDesign());
    EXPECT_EQ(game["Command2"].caption(), "&New Game");
    EXPECT_EQ(game.design().controls[0].caption.data(), ui::frmCodeDesign().controls[0].caption.data());
    EXPECT_EQ(LanguageTag(), "en");
    UseLanguage("pt_BR");
    EXPECT_EQ(LanguageTag(), "pt-BR");
    EXPECT_EQ(Form(ui::frmCodeDesign())["Command2"].caption(), "&Novo jogo");
}

TEST_F(Language, thePseudoLanguageIsAThirdLongerAndKeepsKeysAndNumbers) {
    UseLanguage(PseudoLanguage);
    EXPECT_EQ(Translate("&New Game"), "&Ñéŵ Ĝàɱé ~~~");
    EXPECT_EQ(TranslateWith("(1-%d)", 10), "(1-10) ~~");
    EXPECT_EQ(Translate(""), "");
}

}  // namespace
}  // namespace numerak
