// web_view.cpp: a window's design handed to the page, and the page and the model kept in step.
#include "runtime/web/web_view.hpp"

#include "runtime/web/page.hpp"
#include "runtime/web/page_protocol.hpp"

namespace numerak::web {

// The page builds the window when it is first shown, from the form as it is then: the game
// window's load handler puts up the opening message before that, which the player should see at
// once.
WebView::WebView(Form& form, FormLogic& logic, WindowIds& ids)
    : form_(form), logic_(logic), ids_(ids), id_(ids.take()) {
    form_.setCaptionListener([this] {
        if (built_) numerak_set_window_caption(id_, std::string(form_.caption()).c_str());
    });
    form_.setListener([this](Control& c, Property p) {
        if (built_) reflect(c, p);
    });
}

WebView::~WebView() { WebView::unloaded(); }

Control* WebView::control(int index) const {
    const auto& controls = form_.controls();
    if (index < 0 || static_cast<std::size_t>(index) >= controls.size()) return nullptr;
    return controls[static_cast<std::size_t>(index)].get();
}

void WebView::reflect(Control& control, Property property) {
    const int index = indexOf(form_, &control);
    switch (property) {
        case Property::Caption: {
            const ShownCaption caption = pageCaption(control);
            numerak_set_caption(id_, index, caption.text.c_str(), caption.key);
            break;
        }
        case Property::Visible:
            // Where the keyboard goes if it is on the control as it hides, as the form says.
            numerak_set_visible(id_, index, control.visible(), indexOf(form_, form_.focusAfterHiding(control)));
            break;
        case Property::Value: numerak_set_chosen(id_, index, control.value()); break;
    }
}

void WebView::show(bool modal) {
    if (!built_) numerak_build_window(describeWindow(form_, id_).c_str());
    built_ = true;
    numerak_show_window(id_, modal, indexOf(form_, form_.firstFocus()));
}

void WebView::showWindow() { show(false); }
void WebView::showWindowModal() { show(true); }

// The window leaves the page, and its id is free for the next one.
void WebView::unloaded() {
    if (unloaded_) return;
    unloaded_ = true;
    if (built_) numerak_remove_window(id_);
    ids_.give(id_);
}

void WebView::focus(Control& control) { numerak_focus(id_, indexOf(form_, &control)); }
void WebView::press(Control& control) { numerak_press(id_, indexOf(form_, &control)); }
void WebView::openMenuBar() { numerak_open_menu_bar(id_); }

}  // namespace numerak::web
