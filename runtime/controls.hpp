// controls.hpp: the toolkit-free control model that handlers read and write by name.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/design.hpp"

namespace numerak {

class Form;

enum class Property { Caption, Visible, Value };

// Whether the keyboard can be on a control of this design: one with a tab index that is no label
// or line (a picture box takes it in its turn).
bool TakesFocus(const ControlDesign& design);

enum class ControlRole { Control, Menu, MenuItem };

// One control or menu entry of a loaded window. A label's caption and a text box's text are the
// same property; `value` is whether an option button is chosen.
class Control {
public:
    Control(Form& owner, const ControlDesign& design);
    Control(Form& owner, const MenuDesign& design);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    std::string_view name() const { return name_; }
    int index() const { return index_; }
    ControlRole role() const { return role_; }
    const ControlDesign* design() const { return design_; }  // null for menu entries
    bool isOption() const { return design_ && design_->kind == ControlKind::OptionButton; }
    bool takesFocus() const { return design_ && TakesFocus(*design_); }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& text() const { return caption_; }
    void setText(std::string text) { setCaption(std::move(text)); }

    bool visible() const { return visible_; }
    void setVisible(bool visible);

    // Choosing an option button clears the other option buttons of its window.
    bool value() const { return value_; }
    void setValue(bool value);

private:
    void changed(Property p);

    Form& owner_;
    std::string_view name_;
    int index_ = -1;
    ControlRole role_;
    const ControlDesign* design_ = nullptr;
    std::string caption_;
    bool visible_ = true;
    bool value_ = false;
};

// The controls of one loaded window, built from its design, in creation order, its texts in the
// player's language. A front end listens to every property change so that what the player sees
// follows at once.
class Form {
public:
    using Listener = std::function<void(Control&, Property)>;

    explicit Form(const WindowDesign& design);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const WindowDesign& design() const { return design_; }
    std::string_view caption() const { return caption_; }
    void setCaption(std::string caption);

    // By name (and element index for control arrays); throws std::out_of_range for a name the
    // design does not have.
    Control& operator[](std::string_view name) { return find(name, -1); }
    Control& find(std::string_view name, int index);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Every designed control in tab order: by tab index, a tie in creation order, those without
    // one (lines) last. Labels are in it, where a toolkit places them, though Tab passes them by.
    std::vector<Control*> tabOrder() const;
    // The control the keyboard starts on: the first visible one in tab order that takes the
    // focus (labels and lines take none). Null when there is none.
    Control* firstFocus() const;
    // Where Tab stops, as Windows' dialogs place it: at each control that takes the keyboard, a
    // group of its own, but a run of option buttons in tab order is one group that Tab enters
    // once and the arrow keys move within.
    struct TabPlace {
        bool startsGroup = true;
        bool tabStop = true;
    };
    TabPlace tabPlace(const Control& control) const;
    // Where the keyboard goes from `hidden` as it is hidden: the next visible control after it in
    // tab order that takes the keyboard, round the window (an option group at its chosen option,
    // else its first); null when there is none.
    Control* focusAfterHiding(const Control& hidden) const;
    // Where the keyboard goes when the window is active again: back to `last`, where it was,
    // while that is visible; else to the first control.
    Control* focusOnReturn(const Control* last) const;
    // The button Enter presses anywhere in the window (the design's default button), and the
    // one Esc presses (its cancel button); null when the design has none.
    Control* defaultButton() const;
    Control* cancelButton() const;
    // The button Enter presses when the keyboard is on `focused`: the default button if the
    // design has one, else the focused control itself when it is a command button (as a window
    // with no default button does on Windows); null when Enter presses nothing.
    Control* enterButton(Control* focused) const;
    // The option button an arrow key moves to from `option`: the next visible one in tab order
    // (step 1, Down and Right) or the one before (step -1, Up and Left), round the group. The
    // front end moves the keyboard there and chooses it, as Windows does.
    Control* optionAfter(const Control& option, int step) const;
    // The labels its design says describe a control, and what a screen reader reads after its
    // name: their captions, the empty ones left out.
    std::vector<Control*> describers(const Control& control) const;
    std::string description(const Control& control) const;
    // The controls a label describes, whose descriptions change with its caption; for null,
    // every control that has describers.
    std::vector<Control*> describedBy(const Control* label) const;

    void setListener(Listener listener) { listener_ = std::move(listener); }
    void setCaptionListener(std::function<void()> listener) { captionListener_ = std::move(listener); }

private:
    friend class Control;
    void notify(Control& c, Property p);
    void optionChosen(Control& chosen);

    // The design as loaded: its texts in the player's language.
    std::vector<ControlDesign> designedControls_;
    std::vector<MenuDesign> designedMenus_;
    WindowDesign design_;
    std::string caption_;
    std::vector<std::unique_ptr<Control>> controls_;
    Listener listener_;
    std::function<void()> captionListener_;
};

}  // namespace numerak
