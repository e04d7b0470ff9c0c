#include "desktop/ui/EscapeCloses.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

EscapeCloses::EscapeCloses(QObject* parent) : QObject(parent) {
    // On the application: a key goes to the focused control first, which may sit deep inside a
    // window (a web page, an edit) and would never pass it on.
    qApp->installEventFilter(this);
}

EscapeCloses::~EscapeCloses() {
    qApp->removeEventFilter(this);
}

void EscapeCloses::add(QWidget* window) {
    windows_.emplace_back(window);
}

bool EscapeCloses::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
        return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    const bool listed = std::any_of(windows_.begin(), windows_.end(),
                                    [window](const QPointer<QWidget>& w) { return w == window; });
    if (!listed || !window->isVisible())
        return false;
    window->close();
    return true;
}
