// web_view.hpp: one loaded window in the page, realised from its design and kept in step with
// its model.
#pragma once

#include <string>

#include "runtime/controls.hpp"
#include "runtime/web/page_protocol.hpp"
#include "runtime/window_runtime.hpp"

namespace numerak::web {

class WebView : public WindowView {
public:
    // Binds the window to the form, under an id it takes from `ids` and gives back when it goes;
    // the page builds it, from the form's design, when it is first shown.
    WebView(Form& form, FormLogic& logic, WindowIds& ids);
    ~WebView() override;
    WebView(const WebView&) = delete;
    WebView& operator=(const WebView&) = delete;

    int id() const { return id_; }
    const Form& form() const { return form_; }
    FormLogic& logic() { return logic_; }

    // The control at this place of the form (its controls, then its menu entries); null for none.
    Control* control(int index) const;

    void showWindow() override;
    void showWindowModal() override;
    void unloaded() override;
    void focus(Control& control) override;
    void press(Control& control) override;
    void openMenuBar() override;

private:
    void reflect(Control& control, Property property);
    void show(bool modal);

    Form& form_;
    FormLogic& logic_;
    WindowIds& ids_;
    int id_;
    bool built_ = false;
    bool unloaded_ = false;
};

}  // namespace numerak::web
