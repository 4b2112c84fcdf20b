// language.cpp: choosing the player's language, and the texts in it.
#include "runtime/language.hpp"

#include <algorithm>
#include <map>
#include <optional>

#include "runtime/plural.hpp"

namespace numerak {

namespace {

const Catalogue* inUse = nullptr;
std::optional<PluralRule> pluralInUse;  // none where the catalogue's rule does not read
bool pseudo = false;

const Catalogue* catalogueNamed(std::string_view language) {
    for (const Catalogue& c : Catalogues())
        if (c.language == language) return &c;
    return nullptr;
}

// "de_DE.UTF-8@euro" and "de-DE" both as "de_DE".
std::string plainName(std::string_view tag) {
    tag = tag.substr(0, tag.find_first_of(".@"));
    std::string name(tag);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

const CatalogueEntry* entryFor(std::string_view english) {
    if (!inUse) return nullptr;
    const auto entries = inUse->entries;
    const auto at = std::lower_bound(entries.begin(), entries.end(), english,
                                     [](const CatalogueEntry& e, std::string_view text) { return e.english < text; });
    return at != entries.end() && at->english == english ? &*at : nullptr;
}

// Accented forms of the letters, for the test language.
constexpr std::string_view accented[26] = {"à", "ƀ", "ç", "ð", "é", "ƒ", "ĝ", "ĥ", "î", "ĵ", "ķ", "ĺ", "ɱ",
                                           "ñ", "ö", "þ", "ǫ", "ŕ", "š", "ţ", "û", "ṽ", "ŵ", "ẋ", "ý", "ž"};
constexpr std::string_view accentedCapital[26] = {"À", "Ɓ", "Ç", "Ð", "É", "Ƒ", "Ĝ", "Ĥ", "Î", "Ĵ", "Ķ", "Ĺ", "Ṁ",
                                                  "Ñ", "Ö", "Þ", "Ǫ", "Ŕ", "Š", "Ţ", "Û", "Ṽ", "Ŵ", "Ẋ", "Ý", "Ž"};

std::string pseudoText(std::string_view english) {
    if (english.empty()) return {};
    std::string out;
    for (char ch : english) {
        if (ch >= 'a' && ch <= 'z')
            out += accented[ch - 'a'];
        else if (ch >= 'A' && ch <= 'Z')
            out += accentedCapital[ch - 'A'];
        else
            out += ch;
    }
    if (english.find("%d") != std::string_view::npos) {
        // The number stays a number: undo the accent on its d.
        const auto at = out.find("%ð");
        if (at != std::string::npos) out.replace(at, std::string_view("%ð").size(), "%d");
    }
    return out + " " + std::string((english.size() + 2) / 3, '~');
}

std::string_view pseudoKept(std::string_view english) {
    static std::map<std::string, std::string, std::less<>> kept;
    auto at = kept.find(english);
    if (at == kept.end()) at = kept.emplace(std::string(english), pseudoText(english)).first;
    return at->second;
}

std::string withNumber(std::string_view text, long n) {
    std::string out(text);
    const auto at = out.find("%d");
    if (at != std::string::npos) out.replace(at, 2, std::to_string(n));
    return out;
}

}  // namespace

// Chinese is written in traditional characters in Taiwan, Hong Kong and Macao and in simplified
// ones elsewhere; a tag says which by its script (zh-Hant) or else by its region (zh-HK).
std::string chineseCatalogue(const std::string& name) {
    std::vector<std::string> parts = SplitLanguages(name, '_');
    for (std::string& part : parts)
        if (part.size() == 4) part[0] = static_cast<char>(part[0] & ~0x20);  // a script, as "Hant"
    const auto has = [&](std::string_view part) { return std::find(parts.begin(), parts.end(), part) != parts.end(); };
    if (has("Hant")) return "zh_TW";
    if (has("Hans")) return "zh_CN";
    return has("TW") || has("HK") || has("MO") ? "zh_TW" : "zh_CN";
}

std::string ChooseLanguage(std::span<const std::string> preferred) {
    for (const std::string& tag : preferred) {
        std::string name = plainName(tag);
        if (name == "zh" || name.rfind("zh_", 0) == 0) name = chineseCatalogue(name);
        if (name == PseudoLanguage) return name;
        if (name == "en" || name.rfind("en_", 0) == 0) return "en";
        if (catalogueNamed(name)) return name;
        std::string bare = name.substr(0, name.find('_'));
        if (catalogueNamed(bare)) return bare;
    }
    return "en";
}

std::vector<std::string> SplitLanguages(std::string_view list, char separator) {
    std::vector<std::string> languages;
    while (!list.empty()) {
        const auto end = list.find(separator);
        if (end != 0) languages.emplace_back(list.substr(0, end));
        list = end == std::string_view::npos ? std::string_view{} : list.substr(end + 1);
    }
    return languages;
}

std::vector<std::string> LanguagesFromEnvironment(const std::function<const char*(const char*)>& get) {
    std::vector<std::string> languages;
    if (const char* list = get("LANGUAGE")) languages = SplitLanguages(list, ':');
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = get(name);
        if (!value || !*value) continue;
        const std::string_view locale(value);
        if (locale != "C" && locale != "POSIX" && locale.rfind("C.", 0) != 0) languages.emplace_back(locale);
        break;
    }
    return languages;
}

void UseLanguage(std::string_view language) {
    pseudo = language == PseudoLanguage;
    inUse = catalogueNamed(language);
    pluralInUse = inUse ? PluralRule::parse(inUse->pluralRule) : std::nullopt;
}

std::string_view LanguageInUse() {
    if (pseudo) return PseudoLanguage;
    return inUse ? inUse->language : "en";
}

std::string LanguageTag() {
    std::string tag(LanguageInUse());
    std::replace(tag.begin(), tag.end(), '_', '-');
    return tag;
}

std::string_view Translate(std::string_view english) {
    if (pseudo) return pseudoKept(english);
    const CatalogueEntry* e = entryFor(english);
    return e && !e->forms.empty() && !e->forms[0].empty() ? e->forms[0] : english;
}

std::string TranslateCount(std::string_view english, std::string_view englishPlural, long n) {
    if (pseudo) return withNumber(pseudoKept(n == 1 ? english : englishPlural), n);
    const CatalogueEntry* e = entryFor(english);
    if (e && !e->forms.empty() && pluralInUse) {
        // The count's size picks the form: a negative one as its positive, the least long too.
        const unsigned long size = n < 0 ? 0ul - static_cast<unsigned long>(n) : static_cast<unsigned long>(n);
        const unsigned long form = (*pluralInUse)(size);
        if (form < e->forms.size() && !e->forms[form].empty()) return withNumber(e->forms[form], n);
    }
    return withNumber(n == 1 ? english : englishPlural, n);
}

std::string TranslateWith(std::string_view english, long n) { return withNumber(Translate(english), n); }

std::string TranslateWith(std::string_view english, std::string_view name) {
    std::string out(Translate(english));
    const auto at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, name);
    return out;
}

BoxWords TranslatedBoxWords() {
    return {Translate("OK"), Translate("Cancel"), Translate("&Yes"), Translate("&No"), Translate("Close")};
}

WindowDesign TranslatedDesign(const WindowDesign& design, std::vector<ControlDesign>& controls,
                              std::vector<MenuDesign>& menus) {
    controls.assign(design.controls.begin(), design.controls.end());
    menus.assign(design.menus.begin(), design.menus.end());
    for (ControlDesign& c : controls) {
        c.caption = Translate(c.caption);
        c.accessibleName = Translate(c.accessibleName);
    }
    for (MenuDesign& m : menus) m.caption = Translate(m.caption);
    WindowDesign translated = design;
    translated.caption = Translate(design.caption);
    translated.controls = controls;
    translated.menus = menus;
    return translated;
}

}  // namespace numerak
