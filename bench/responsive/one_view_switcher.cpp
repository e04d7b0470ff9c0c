// Baseline: one window with one web view and a column of buttons, each loading one local page, as
// the smallest program that switches channels could be. Prints "ZELMO_BENCH page <ns>" when a
// page has finished. Usage: bench_one_view_switcher PAGE...
#include "../startup/BenchMark.h"

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>
#include <QWebEngineView>
#include <QWidget>

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("One View Switcher"));
    if (argc < 2)
        return 2;
    QWidget window;
    window.setWindowTitle(QStringLiteral("One View Switcher"));
    window.setFixedSize(807, 543);
    auto* view = new QWebEngineView(&window);
    view->setGeometry(7, 7, 590, 436);
    QObject::connect(view, &QWebEngineView::loadFinished, [](bool ok) {
        if (ok)
            BenchMark("page");
    });
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        auto* button = new QPushButton(QFileInfo(path).completeBaseName(), &window);
        button->setGeometry(610, 10 + (i - 1) * 30, 190, 26);
        QObject::connect(button, &QPushButton::clicked, view,
                         [view, path] { view->load(QUrl::fromLocalFile(path)); });
    }
    new FirstPaintMark(&window);
    window.show();
    return app.exec();
}
