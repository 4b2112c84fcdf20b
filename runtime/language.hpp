// language.hpp: the player's language. The game's texts are written in English in the designs and
// the handlers; a catalogue for each other language (po/, compiled into the program) gives their
// translations, and English stays wherever a catalogue has none. The language is chosen once, at
// the start, from the player's system, and every window and box then shows it.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/design.hpp"

namespace numerak {

// One text of a catalogue: the English (and its plural, for a text that counts) and the
// translation's forms, as many as the language has plurals.
struct CatalogueEntry {
    std::string_view english;
    std::string_view englishPlural;
    std::span<const std::string_view> forms;
};

struct Catalogue {
    std::string_view language;                // as gettext names it: "de", "pt_BR"
    std::string_view pluralRule;              // its Plural-Forms expression, which picks a form for a count
    std::span<const CatalogueEntry> entries;  // by English, in byte order
};

// Every catalogue the program carries (written by the build from po/*.po).
std::span<const Catalogue> Catalogues();

// The first of the player's languages, best first ("de_DE.UTF-8", "pt-BR", "fr"), that has a
// catalogue, a language with a region falling back to the bare language; "en" when none has.
std::string ChooseLanguage(std::span<const std::string> preferred);

// A list of languages as a system writes it ("fr:de", "de-DE,en"), by its separator; empty
// entries left out.
std::vector<std::string> SplitLanguages(std::string_view list, char separator);

// What gettext reads: LANGUAGE (a list, colon-separated), then the first of LC_ALL, LC_MESSAGES
// and LANG that is set; "C" and "POSIX" name no language. `get` reads the environment.
std::vector<std::string> LanguagesFromEnvironment(const std::function<const char*(const char*)>& get);

// The language every text is shown in from now on: a catalogue's name, or "en".
void UseLanguage(std::string_view language);
std::string_view LanguageInUse();
// The same as a web page names it: "pt-BR".
std::string LanguageTag();

// A text in the language in use; English where the catalogue has none.
std::string_view Translate(std::string_view english);
// A text that holds a number (%d), in the form the language has for it.
std::string TranslateCount(std::string_view english, std::string_view englishPlural, long n);
// A text that holds a number that does not change its wording, such as a range.
std::string TranslateWith(std::string_view english, long n);
// A text that holds a name (%s), where each language places it: "About %s".
std::string TranslateWith(std::string_view english, std::string_view name);

// The words of the boxes' buttons and of a window's close box, which the toolkits would otherwise
// write in their own language: "&Yes" and "&No" with their access keys.
struct BoxWords {
    std::string_view ok, cancel, yes, no, close;
};
BoxWords TranslatedBoxWords();

// A window's design with its captions, menus and accessible names in the language in use; the
// copy's controls and menus are kept in the two vectors given.
WindowDesign TranslatedDesign(const WindowDesign& design, std::vector<ControlDesign>& controls,
                              std::vector<MenuDesign>& menus);

// The test language: each text a third longer, in accented letters, its access key and number
// kept ("&New Game" becomes "&Ñéŵ Ĝàɱé ~~~"), for seeing what does not fit.
inline constexpr std::string_view PseudoLanguage = "qps";

}  // namespace numerak
