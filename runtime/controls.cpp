// controls.cpp: the control model.
#include "runtime/controls.hpp"

#include "runtime/language.hpp"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace numerak {

Control::Control(Form& owner, const ControlDesign& design)
    : owner_(owner),
      name_(design.name),
      index_(design.index),
      role_(ControlRole::Control),
      design_(&design),
      caption_(design.caption),
      visible_(design.visible) {}

Control::Control(Form& owner, const MenuDesign& design)
    : owner_(owner),
      name_(design.name),
      role_(design.level == 0 ? ControlRole::Menu : ControlRole::MenuItem),
      caption_(design.caption) {}

void Control::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    changed(Property::Caption);
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    changed(Property::Visible);
}

void Control::setValue(bool value) {
    if (value == value_) return;
    value_ = value;
    changed(Property::Value);
    if (value && isOption()) owner_.optionChosen(*this);
}

void Control::changed(Property p) { owner_.notify(*this, p); }

Form::Form(const WindowDesign& design)
    : design_(TranslatedDesign(design, designedControls_, designedMenus_)), caption_(design_.caption) {
    controls_.reserve(design_.controls.size() + design_.menus.size());
    for (const auto& c : design_.controls) controls_.push_back(std::make_unique<Control>(*this, c));
    for (const auto& m : design_.menus) controls_.push_back(std::make_unique<Control>(*this, m));
}

void Form::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    if (captionListener_) captionListener_();
}

Control& Form::find(std::string_view name, int index) {
    for (auto& c : controls_)
        if (c->name() == name && c->index() == index) return *c;
    throw std::out_of_range("no control named " + std::string(name) + " in " + std::string(design_.name));
}

std::vector<Control*> Form::tabOrder() const {
    std::vector<Control*> order;
    for (const auto& c : controls_)
        if (c->design()) order.push_back(c.get());
    const auto place = [](const Control* c) {
        const int tab = c->design()->tabIndex;
        return tab < 0 ? std::numeric_limits<int>::max() : tab;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const Control* a, const Control* b) { return place(a) < place(b); });
    return order;
}

bool TakesFocus(const ControlDesign& d) {
    return d.tabIndex >= 0 && d.kind != ControlKind::Label && d.kind != ControlKind::Line;
}

Control* Form::firstFocus() const {
    for (Control* c : tabOrder())
        if (c->takesFocus() && c->visible()) return c;
    return nullptr;
}

Form::TabPlace Form::tabPlace(const Control& control) const {
    const Control* before = nullptr;
    for (const Control* c : tabOrder()) {
        if (c->design()->kind == ControlKind::Line) continue;
        if (c == &control) {
            if (control.isOption() && before && before->isOption()) return {false, false};
            return {true, control.takesFocus()};
        }
        before = c;
    }
    return {false, false};
}

Control* Form::focusAfterHiding(const Control& hidden) const {
    const std::vector<Control*> order = tabOrder();
    const auto at = std::find(order.begin(), order.end(), &hidden);
    if (at == order.end()) return nullptr;
    const auto n = order.size();
    const auto start = static_cast<std::size_t>(at - order.begin());
    for (std::size_t step = 1; step < n; ++step) {
        Control* c = order[(start + step) % n];
        if (!c->takesFocus() || !c->visible()) continue;
        if (!c->isOption()) return c;
        // Of an option group, the chosen one; the first when none of it is chosen.
        std::vector<Control*> group;
        for (Control* o : order)
            if (o->isOption() && o->visible()) group.push_back(o);
        const auto chosen = std::find_if(group.begin(), group.end(), [](const Control* o) { return o->value(); });
        return chosen != group.end() ? *chosen : group.front();
    }
    return nullptr;
}

Control* Form::focusOnReturn(const Control* last) const {
    for (const auto& c : controls_)
        if (c.get() == last && c->takesFocus() && c->visible()) return c.get();
    return firstFocus();
}

Control* Form::defaultButton() const {
    for (const auto& c : controls_)
        if (c->design() && c->design()->isDefault) return c.get();
    return nullptr;
}

Control* Form::cancelButton() const {
    for (const auto& c : controls_)
        if (c->design() && c->design()->isCancel) return c.get();
    return nullptr;
}

Control* Form::enterButton(Control* focused) const {
    if (Control* button = defaultButton()) return button;
    const bool command = focused && focused->design() && focused->design()->kind == ControlKind::CommandButton;
    return command ? focused : nullptr;
}

Control* Form::optionAfter(const Control& option, int step) const {
    std::vector<Control*> group;
    for (Control* c : tabOrder())
        if (c->isOption() && (c->visible() || c == &option)) group.push_back(c);
    const auto at = std::find(group.begin(), group.end(), &option);
    if (at == group.end() || group.size() < 2 || step == 0) return nullptr;
    const auto n = static_cast<std::ptrdiff_t>(group.size());
    const auto next = ((at - group.begin()) + (step > 0 ? 1 : -1) + n) % n;
    return group[static_cast<std::size_t>(next)];
}

std::vector<Control*> Form::describers(const Control& control) const {
    std::vector<Control*> labels;
    if (!control.design()) return labels;
    for (std::string_view names = control.design()->describedBy; !names.empty();) {
        const auto blank = names.find(' ');
        const std::string_view name = names.substr(0, blank);
        for (const auto& c : controls_)
            if (!name.empty() && c->name() == name) labels.push_back(c.get());
        names = blank == std::string_view::npos ? std::string_view{} : names.substr(blank + 1);
    }
    return labels;
}

std::string Form::description(const Control& control) const {
    std::string text;
    for (const Control* label : describers(control))
        if (!label->caption().empty()) text += (text.empty() ? "" : " ") + label->caption();
    return text;
}

std::vector<Control*> Form::describedBy(const Control* label) const {
    std::vector<Control*> described;
    for (const auto& c : controls_) {
        const std::vector<Control*> labels = describers(*c);
        if (!labels.empty() && (!label || std::find(labels.begin(), labels.end(), label) != labels.end()))
            described.push_back(c.get());
    }
    return described;
}

void Form::notify(Control& c, Property p) {
    if (listener_) listener_(c, p);
}

// The option buttons of one window form one group.
void Form::optionChosen(Control& chosen) {
    for (auto& c : controls_)
        if (c.get() != &chosen && c->isOption()) c->setValue(false);
}

}  // namespace numerak
