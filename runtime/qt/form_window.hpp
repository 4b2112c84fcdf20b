// form_window.hpp: one loaded window, realised from its design and kept in step with its model.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/controls.hpp"
#include "runtime/window_runtime.hpp"

class QAction;
class QKeyEvent;

namespace numerak::qt {

class FormWindow : public QMainWindow, public WindowView {
public:
    // Built hidden, from the form's design, and bound to it.
    FormWindow(WindowRuntime& runtime, Form& form, FormLogic& logic);
    ~FormWindow() override;

    // The widget realising a control, or the action realising a menu item; null when none.
    QWidget* widget(std::string_view name, int index = -1) const;
    QAction* action(std::string_view name) const;
    QWidget* client() const { return client_; }
    QWidget* firstFocus() const;

    void showWindow() override;
    void showWindowModal() override;
    // Hides the window and tells whoever waits for it.
    void unloaded() override;
    void focus(Control& control) override;
    void press(Control& control) override;
    void openMenuBar() override;
    void setOnUnloaded(std::function<void()> fn) { onUnloaded_ = std::move(fn); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Binding {
        Control* control;
        QPointer<QWidget> widget;
        QPointer<QAction> action;
    };

    void build();
    void buildMenus();
    void applyTabOrder();
    void reflect(Control& control, Property property);
    Control* controlOf(const QObject* widget) const;
    void describe(const Control* changed);
    void followContrast();
    bool windowKey(const QKeyEvent* event);

    WindowRuntime& runtime_;
    Form& form_;
    FormLogic& logic_;
    QWidget* client_ = nullptr;
    std::vector<Binding> bindings_;
    std::function<void()> onUnloaded_;
    bool iconRead_ = false;
    bool moreContrast_ = false;  // the controls the design colours have the system's colours (built with their own)
};

}  // namespace numerak::qt
