// Baseline: a plain Qt program with twelve windows and as many buttons as the real one, no web view,
// but linked to and loading the WebEngine libraries as the program does (the floor for "shown").
#include "BenchMark.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWebEngineView>
#include <QWidget>

#include <memory>
#include <vector>

int main(int argc, char** argv) {
    // A use of the library, so that the linker keeps it and it loads at start as the program's does.
    if (argc > 99)
        return QWebEngineView::staticMetaObject.methodCount();
    QApplication app(argc, argv);
    BenchMark("step-application");
    std::vector<std::unique_ptr<QWidget>> windows;
    for (int w = 0; w < 12; ++w) {
        auto win = std::make_unique<QWidget>();
        win->setFixedSize(807, 543);
        // The main window carries the bar, the grid and the tools; the others a few buttons each.
        const int buttons = w == 0 ? 57 : 8;
        for (int b = 0; b < buttons; ++b) {
            auto* button = new QPushButton(QStringLiteral("Button %1").arg(b), win.get());
            button->setGeometry(5 + (b % 10) * 70, 5 + (b / 10) * 40, 64, 34);
        }
        windows.push_back(std::move(win));
    }
    new FirstPaintMark(windows.front().get()); // owned by the window
    windows.front()->show();
    return app.exec();
}
