// floor: the least a Qt 6 Widgets game window can cost. One window with a menu bar, four line
// edits, three buttons and a label, nothing else. The benchmark measures Numerak against it.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu("File")->addAction("Close");
    auto* centre = new QWidget(&window);
    for (int i = 0; i < 4; ++i) (new QLineEdit(centre))->setGeometry(16 + 32 * i, 128, 25, 19);
    const char* buttons[] = {"Guess", "New Game", "Quit"};
    for (int i = 0; i < 3; ++i) (new QPushButton(buttons[i], centre))->setGeometry(176 + 80 * i, 88, 73, 33);
    (new QLabel("Please enter 4 numbers below.", centre))->setGeometry(8, 96, 161, 25);
    window.setCentralWidget(centre);
    window.resize(437, 222);
    window.show();
    return QApplication::exec();
}
