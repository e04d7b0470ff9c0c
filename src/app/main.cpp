// Placeholder until the windows land: shows an empty main window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Zelmo Player"));
    QWidget w;
    w.setWindowTitle(QStringLiteral("Zelmo Player"));
    w.setFixedSize(807, 543);
    w.show();
    return app.exec();
}
