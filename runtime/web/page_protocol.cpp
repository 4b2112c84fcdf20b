// page_protocol.cpp: a window's description for the page, and the colours it paints.
#include "runtime/web/page_protocol.hpp"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "runtime/look.hpp"
#include "runtime/web/json.hpp"

namespace numerak::web {

namespace {

const char* kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return "label";
        case ControlKind::TextBox: return "text";
        case ControlKind::CommandButton: return "button";
        case ControlKind::OptionButton: return "option";
        case ControlKind::PictureBox: return "picture";
        case ControlKind::Line: return "line";
    }
    return "label";
}

void colour(Json& j, std::string_view name, const std::optional<Colour>& c, std::string (*css)(Colour)) {
    if (c)
        j.field(name, css(*c));
    else
        j.key(name).null();
}

void designed(Json& j, const Form& form, const Control& control, const ControlDesign& cd) {
    // The page's pixels are CSS pixels: the browser scales them for the screen.
    const ControlLook look = LookOf(cd, BaseDpi, false);
    const ControlLook contrast = LookOf(cd, BaseDpi, true);
    j.field("kind", kindName(cd.kind));
    j.field("left", look.rect.left).field("top", look.rect.top);
    j.field("width", look.rect.width).field("height", look.rect.height);
    colour(j, "back", look.back, cssColour);
    colour(j, "fore", look.fore, cssColour);
    if (contrast.fore != look.fore || contrast.back != look.back) {
        j.key("contrast").begin('{');
        colour(j, "back", contrast.back, cssSystemColour);
        colour(j, "fore", contrast.fore, cssSystemColour);
        j.end('}');
    }
    if (cd.font && look.fontPixels)
        j.key("font")
            .begin('{')
            .field("px", *look.fontPixels)
            .field("weight", cd.font->weight)
            .field("italic", cd.font->italic)
            .field("underline", cd.font->underline)
            .field("strikeout", cd.font->strikeout)
            .end('}');
    if (!cd.picture.empty())
        j.field("picture", cd.picture).field("picture2x", PicturesForScale(cd.picture, 2).front().file);
    j.field("accessibleName", cd.accessibleName).field("number", cd.number).field("lineWidth", look.lineWidth);
    if (cd.kind == ControlKind::Line) {
        const Stroke& s = look.stroke;
        j.key("stroke").begin('{').field("x1", s.x1).field("y1", s.y1).field("x2", s.x2).field("y2", s.y2).end('}');
    }
    j.field("onTop", look.onTop).field("takesFocus", TakesFocus(cd));
    j.key("describedBy").begin('[');
    for (const Control* label : form.describers(control)) j.value(indexOf(form, label));
    j.end(']');
}

}  // namespace

namespace {

// The system's colours in the page: as a light desktop theme has them, and by CSS's own name
// where CSS has one. The button face for the rest.
struct PageSystemColour {
    int index;
    int rgb;
    const char* css;
};
constexpr PageSystemColour pageSystemColours[]{
    {SystemColour::Window, 0xFFFFFF, "Canvas"},         {SystemColour::WindowText, 0x000000, "CanvasText"},
    {SystemColour::Highlight, 0x0078D7, "Highlight"},   {SystemColour::HighlightText, 0xFFFFFF, "HighlightText"},
    {SystemColour::ButtonShadow, 0xA0A0A0, nullptr},    {SystemColour::ButtonText, 0x000000, "ButtonText"},
    {SystemColour::Highlight3D, 0xFFFFFF, nullptr},     {SystemColour::Light3D, 0xE3E3E3, nullptr},
    {SystemColour::ButtonFace, 0xF0F0F0, "ButtonFace"}, {SystemColour::GrayText, 0xF0F0F0, "GrayText"}};

const PageSystemColour* pageSystemColour(Colour colour) {
    for (const auto& c : pageSystemColours)
        if (colour.isSystem() && c.index == colour.systemIndex()) return &c;
    return nullptr;
}

}  // namespace

std::string cssColour(Colour colour) {
    int rgb = colour.red() << 16 | colour.green() << 8 | colour.blue();
    if (colour.isSystem()) {
        const PageSystemColour* system = pageSystemColour(colour);
        rgb = system ? system->rgb : 0xF0F0F0;
    }
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb));
    return text;
}

std::string cssSystemColour(Colour colour) {
    const PageSystemColour* system = pageSystemColour(colour);
    return system && system->css ? system->css : cssColour(colour);
}

KeyPress pageKey(std::string_view name, bool alt, bool ctrl, bool shift, bool meta) {
    static constexpr std::pair<std::string_view, Key> named[]{
        {"Enter", Key::Enter},    {"Escape", Key::Escape},    {"ArrowUp", Key::Up}, {"ArrowDown", Key::Down},
        {"ArrowLeft", Key::Left}, {"ArrowRight", Key::Right}, {"F10", Key::F10}};
    KeyPress k{.alt = alt, .ctrl = ctrl, .shift = shift, .meta = meta};
    for (const auto& [page, key] : named)
        if (name == page) k.key = key;
    // A key no letter's place names (Turkish "ç" sits where "." does elsewhere): what it types.
    const auto characters = std::count_if(name.begin(), name.end(), [](char b) { return (b & 0xC0) != 0x80; });
    if (k.key == Key::Other && characters == 1) {
        std::string marked = "&";  // appended, not summed: GCC 12 warns falsely of a sum here
        marked.append(name);
        if (const char32_t typed = AccessKey(marked)) {
            k.key = Key::Letter;
            k.typed = typed;
        }
    }
    // "KeyD", or "KeyD:в" where the key types a letter that is not Latin.
    const auto colon = name.find(':');
    const std::string_view code = name.substr(0, colon);
    if (code.size() == 4 && code.substr(0, 3) == "Key" && code[3] >= 'A' && code[3] <= 'Z') {
        k.key = Key::Letter;
        k.letter = code[3];
        if (colon != std::string_view::npos) {
            std::string typed = "&";
            typed.append(name.substr(colon + 1));
            k.typed = AccessKey(typed);  // the letter, in capitals
        }
    }
    return k;
}

int WindowIds::take() {
    int id = 1;
    while (std::find(taken_.begin(), taken_.end(), id) != taken_.end()) ++id;
    taken_.push_back(id);
    return id;
}

void WindowIds::give(int id) { taken_.erase(std::remove(taken_.begin(), taken_.end(), id), taken_.end()); }

ShownCaption pageCaption(const Control& control) {
    const ControlDesign* d = control.design();
    if (d && (d->kind == ControlKind::Label || d->kind == ControlKind::TextBox)) return {control.caption(), -1};
    return ShowCaption(control.caption());
}

int indexOf(const Form& form, const Control* control) {
    const auto& controls = form.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == control) return static_cast<int>(i);
    return -1;
}

std::string describeWindow(const Form& form, int id) {
    const WindowDesign& d = form.design();
    Json j;
    j.begin('{').field("id", id).field("name", d.name).field("caption", form.caption());
    const WindowLook look = LookOf(d, BaseDpi);
    j.field("width", look.clientWidth).field("height", look.clientHeight).field("fontPixels", look.fontPixels);
    j.field("back", cssColour(d.back)).field("fixed", d.border == BorderStyle::FixedDialog);
    j.key("position");
    if (look.position)
        j.begin('{').field("left", look.position->x).field("top", look.position->y).end('}');
    else
        j.null();
    j.key("tabOrder").begin('[');
    for (const Control* c : form.tabOrder()) j.value(indexOf(form, c));
    j.end(']');
    j.field("cancelButton", indexOf(form, form.cancelButton()));
    j.key("controls").begin('[');
    const auto& controls = form.controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& c = *controls[i];
        const ShownCaption caption = pageCaption(c);
        j.begin('{').field("index", static_cast<int>(i)).field("name", c.name()).field("caption", caption.text);
        j.field("key", caption.key);
        j.field("visible", c.visible());
        if (const ControlDesign* cd = c.design())
            designed(j, form, c, *cd);
        else
            j.field("kind", c.role() == ControlRole::Menu ? "menu" : "menuitem");
        j.end('}');
    }
    j.end(']').end('}');
    return j.str();
}

}  // namespace numerak::web
