// Baseline: one window with one web view that loads one local page.
#include "BenchMark.h"

#include <QApplication>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    BenchMark("step-application");
    if (argc < 2)
        return 2;
    QWebEngineView view;
    view.resize(807, 543);
    QObject::connect(&view, &QWebEngineView::loadFinished, [](bool ok) {
        if (ok)
            BenchMark("page");
    });
    new FirstPaintMark(&view, [&] { view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]))); });
    view.show();
    return app.exec();
}
