// box_answerer.hpp: answers the real modal boxes the program puts up, as a player would.
#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace numerak::test {

struct SeenBox {
    bool input = false;
    std::string text;
    std::string title;
    std::vector<std::string> buttons;  // as shown, access-key marks removed
    std::string defaultButton;
    bool hasIcon = false;
};

class BoxAnswerer {
public:
    BoxAnswerer();

    void press(QMessageBox::StandardButton button) { script_.push_back({button, std::nullopt}); }
    void type(std::string text) { script_.push_back({QMessageBox::Ok, std::move(text)}); }
    void cancel() { script_.push_back({QMessageBox::Cancel, std::nullopt}); }
    // Answers with a key press on the box, as a keyboard-only player does.
    void key(Qt::Key k) { script_.push_back({QMessageBox::NoButton, std::nullopt, k}); }
    // Types into an input box, then presses the key.
    void typeThenKey(std::string text, Qt::Key k) { script_.push_back({QMessageBox::NoButton, std::move(text), k}); }
    // Pastes into an input box, then presses OK.
    void paste(std::string text) { script_.push_back({QMessageBox::Ok, std::move(text), Qt::Key_unknown, true}); }

    bool done() const { return script_.empty(); }
    std::vector<SeenBox> seen;
    // Each box as a line of a transcript, with the answer given; a test may add its own lines.
    std::vector<std::string> transcript;

private:
    struct Step {
        QMessageBox::StandardButton button;
        std::optional<std::string> text;
        Qt::Key key = Qt::Key_unknown;
        bool paste = false;
    };
    void poll();

    std::deque<Step> script_;
    QTimer timer_;
    QElapsedTimer unexpected_;
};

}  // namespace numerak::test
