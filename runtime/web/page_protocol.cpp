// page_protocol.cpp: a window's description for the page, and the colours it paints.
#include "runtime/web/page_protocol.hpp"

#include <cstdio>

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
    colour(j, "back", look.back, CssColour);
    colour(j, "fore", look.fore, CssColour);
    if (contrast.fore != look.fore || contrast.back != look.back) {
        j.key("contrast").begin('{');
        colour(j, "back", contrast.back, CssSystemColour);
        colour(j, "fore", contrast.fore, CssSystemColour);
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
        j.field("picture", PictureForScale(cd.picture, 1).file).field("picture2x", PictureForScale(cd.picture, 2).file);
    j.field("accessibleName", cd.accessibleName).field("number", cd.number).field("lineWidth", look.lineWidth);
    j.field("onTop", look.onTop);
    j.key("describedBy").begin('[');
    for (const Control* label : form.describers(control)) j.value(IndexOf(form, label));
    j.end(']');
}

}  // namespace

std::string CssColour(Colour colour) {
    int rgb = colour.red() << 16 | colour.green() << 8 | colour.blue();
    if (colour.isSystem()) {
        switch (colour.systemIndex()) {
            case SystemColour::Window: rgb = 0xFFFFFF; break;
            case SystemColour::WindowText: rgb = 0x000000; break;
            case SystemColour::Highlight: rgb = 0x0078D7; break;
            case SystemColour::HighlightText: rgb = 0xFFFFFF; break;
            case SystemColour::ButtonShadow: rgb = 0xA0A0A0; break;
            case SystemColour::ButtonText: rgb = 0x000000; break;
            case SystemColour::Highlight3D: rgb = 0xFFFFFF; break;
            case SystemColour::Light3D: rgb = 0xE3E3E3; break;
            default: rgb = 0xF0F0F0; break;  // the button face, and the rest
        }
    }
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb));
    return text;
}

std::string CssSystemColour(Colour colour) {
    if (colour.isSystem()) {
        switch (colour.systemIndex()) {
            case SystemColour::Window: return "Canvas";
            case SystemColour::WindowText: return "CanvasText";
            case SystemColour::ButtonFace: return "ButtonFace";
            case SystemColour::ButtonText: return "ButtonText";
            case SystemColour::Highlight: return "Highlight";
            case SystemColour::HighlightText: return "HighlightText";
            case SystemColour::GrayText: return "GrayText";
            default: break;
        }
    }
    return CssColour(colour);
}

KeyPress PageKey(std::string_view name, bool alt, bool ctrl, bool shift, bool meta) {
    KeyPress k{.alt = alt, .ctrl = ctrl, .shift = shift, .meta = meta};
    if (name == "Enter")
        k.key = Key::Enter;
    else if (name == "Escape")
        k.key = Key::Escape;
    else if (name == "ArrowUp")
        k.key = Key::Up;
    else if (name == "ArrowDown")
        k.key = Key::Down;
    else if (name == "ArrowLeft")
        k.key = Key::Left;
    else if (name == "ArrowRight")
        k.key = Key::Right;
    else if (name == "F10")
        k.key = Key::F10;
    else if (name.size() == 4 && name.substr(0, 3) == "Key" && name[3] >= 'A' && name[3] <= 'Z') {
        k.key = Key::Letter;
        k.letter = name[3];
    }
    return k;
}

int IndexOf(const Form& form, const Control* control) {
    const auto& controls = form.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == control) return static_cast<int>(i);
    return -1;
}

std::string DescribeWindow(const Form& form, int id) {
    const WindowDesign& d = form.design();
    Json j;
    j.begin('{').field("id", id).field("name", d.name).field("caption", form.caption());
    j.field("width", TwipsToPixels(d.clientWidth)).field("height", TwipsToPixels(d.clientHeight));
    j.field("back", CssColour(d.back)).field("fixed", d.border == BorderStyle::FixedDialog);
    j.key("position");
    if (d.position)
        j.begin('{').field("left", TwipsToPixels(d.position->x)).field("top", TwipsToPixels(d.position->y)).end('}');
    else
        j.null();
    j.key("tabOrder").begin('[');
    for (const Control* c : form.tabOrder()) j.value(IndexOf(form, c));
    j.end(']');
    j.field("cancelButton", IndexOf(form, form.cancelButton()));
    j.key("controls").begin('[');
    const auto& controls = form.controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& c = *controls[i];
        j.begin('{').field("index", static_cast<int>(i)).field("name", c.name()).field("caption", c.caption());
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
