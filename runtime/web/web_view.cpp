// web_view.cpp: a window's design handed to the page, and the page and the model kept in step.
#include "runtime/web/web_view.hpp"

#include <cmath>

#include "runtime/web/json.hpp"
#include "runtime/web/page_calls.hpp"

namespace numerak::web {

namespace {

// The system colours the designs use, as a browser shows them: those of a light desktop theme.
std::string css(Colour colour) {
    int rgb = colour.red() << 16 | colour.green() << 8 | colour.blue();
    if (colour.isSystem()) {
        switch (colour.systemIndex()) {
            case 5: rgb = 0xFFFFFF; break;   // window
            case 8: rgb = 0x000000; break;   // window text
            case 13: rgb = 0x0078D7; break;  // highlight
            case 14: rgb = 0xFFFFFF; break;  // highlighted text
            case 16: rgb = 0xA0A0A0; break;  // button shadow
            case 18: rgb = 0x000000; break;  // button text
            case 20: rgb = 0xFFFFFF; break;  // 3-D highlight
            case 22: rgb = 0xE3E3E3; break;  // 3-D light
            default: rgb = 0xF0F0F0; break;  // button face and the rest
        }
    }
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb);
    return text;
}

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

void colour(Json& j, std::string_view name, const std::optional<Colour>& c) {
    if (c)
        j.field(name, css(*c));
    else
        j.key(name).null();
}

}  // namespace

// The page builds the window when it is first shown, from the form as it is then: the game
// window's load handler puts up the opening message before that, which the player should see at
// once.
WebView::WebView(Form& form, FormLogic& logic, int id) : form_(form), logic_(logic), id_(id) {
    form_.setCaptionListener([this] {
        if (built_) numerak_set_window_caption(id_, std::string(form_.caption()).c_str());
    });
    form_.setListener([this](Control& c, Property p) {
        if (built_) reflect(c, p);
    });
}

WebView::~WebView() {
    if (!unloaded_) {
        form_.setListener({});
        form_.setCaptionListener({});
    }
    if (built_) numerak_remove_window(id_);
}

std::string WebView::describe() const {
    const WindowDesign& d = form_.design();
    Json j;
    j.begin('{').field("id", id_).field("name", d.name).field("caption", form_.caption());
    j.field("width", TwipsToPixels(d.clientWidth)).field("height", TwipsToPixels(d.clientHeight));
    j.field("back", css(d.back)).field("fixed", d.border == BorderStyle::FixedDialog).field("icon", d.icon);
    j.key("position");
    if (d.position)
        j.begin('{').field("left", TwipsToPixels(d.position->x)).field("top", TwipsToPixels(d.position->y)).end('}');
    else
        j.null();
    j.key("controls").begin('[');
    const auto& controls = form_.controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& c = *controls[i];
        j.begin('{').field("index", static_cast<int>(i)).field("name", c.name()).field("caption", c.caption());
        j.field("visible", c.visible());
        if (const ControlDesign* cd = c.design()) {
            j.field("kind", kindName(cd->kind)).field("tabIndex", cd->tabIndex);
            j.field("left", TwipsToPixels(cd->left)).field("top", TwipsToPixels(cd->top));
            j.field("width", TwipsToPixels(cd->width)).field("height", TwipsToPixels(cd->height));
            colour(j, "back", cd->back);
            colour(j, "fore", cd->fore);
            if (cd->font)
                j.key("font")
                    .begin('{')
                    .field("face", cd->font->face)
                    .field("px", static_cast<int>(std::lround(cd->font->points * 96.0 / 72.0)))
                    .field("weight", cd->font->weight)
                    .field("italic", cd->font->italic)
                    .field("underline", cd->font->underline)
                    .field("strikeout", cd->font->strikeout)
                    .end('}');
            if (!cd->picture.empty())
                j.field("picture", cd->picture).field("picture2x", DoubleSizePicture(cd->picture));
            j.field("accessibleName", cd->accessibleName).field("isDefault", cd->isDefault);
            j.field("isCancel", cd->isCancel).field("lineWidth", cd->lineWidth);
            j.field("hairline", cd->lineStyle == LineStyle::InsideSolid);
        } else {
            j.field("kind", c.role() == ControlRole::Menu ? "menu" : "menuitem");
        }
        j.end('}');
    }
    j.end(']');
    const Control* first = form_.firstFocus();
    j.field("firstFocus", first ? indexOf(*first) : -1);
    j.end('}');
    return j.str();
}

int WebView::indexOf(const Control& control) const {
    const auto& controls = form_.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == &control) return static_cast<int>(i);
    return -1;
}

Control* WebView::control(int index) const {
    const auto& controls = form_.controls();
    if (index < 0 || static_cast<std::size_t>(index) >= controls.size()) return nullptr;
    return controls[static_cast<std::size_t>(index)].get();
}

void WebView::reflect(Control& control, Property property) {
    const int index = indexOf(control);
    switch (property) {
        case Property::Caption: numerak_set_caption(id_, index, control.caption().c_str()); break;
        case Property::Visible: numerak_set_visible(id_, index, control.visible()); break;
        case Property::Value: numerak_set_chosen(id_, index, control.value()); break;
    }
}

void WebView::show(bool modal) {
    if (!built_) numerak_build_window(describe().c_str());
    built_ = true;
    const Control* first = form_.firstFocus();
    numerak_show_window(id_, modal, first ? indexOf(*first) : -1);
}

void WebView::showWindow() { show(false); }
void WebView::showWindowModal() { show(true); }

void WebView::unloaded() {
    if (unloaded_) return;
    unloaded_ = true;
    form_.setListener({});
    form_.setCaptionListener({});
    if (built_) numerak_remove_window(id_);
}

void WebView::typed(int index, std::string text) {
    if (Control* c = control(index); c && !unloaded_) c->setText(std::move(text));
}

void WebView::chosen(int index) {
    if (Control* c = control(index); c && !unloaded_ && c->isOption()) c->setValue(true);
}

}  // namespace numerak::web
