#include "app/ui/ModalShow.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace {
class HideWatcher : public QObject {
public:
    explicit HideWatcher(QEventLoop& loop) : loop_(loop) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide)
            loop_.quit();
        return false;
    }

private:
    QEventLoop& loop_;
};
} // namespace

void ShowModal(QWidget* window) {
    if (!window)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->exec();
        return;
    }
    QPointer<QWidget> guard(window);
    const Qt::WindowModality before = window->windowModality();
    window->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    HideWatcher watcher(loop);
    window->installEventFilter(&watcher);
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->show();
    window->raise();
    window->activateWindow();
    if (window->isVisible())
        loop.exec();
    if (guard) {
        guard->removeEventFilter(&watcher);
        guard->setWindowModality(before);
    }
}
