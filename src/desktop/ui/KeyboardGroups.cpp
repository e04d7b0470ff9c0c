#include "desktop/ui/KeyboardGroups.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>

#include <cstdlib>
#include <limits>

KeyboardGroups::KeyboardGroups(QObject* parent) : QObject(parent) {}

void KeyboardGroups::addGroup(const QList<QWidget*>& members) {
    Group g;
    for (QWidget* w : members) {
        if (!w)
            continue;
        w->setFocusPolicy(Qt::TabFocus);
        w->installEventFilter(this);
        g.members.append(w);
    }
    groups_.push_back(std::move(g));
}

int KeyboardGroups::groupOf(const QWidget* w) const {
    for (size_t i = 0; i < groups_.size(); ++i)
        for (const QPointer<QWidget>& m : groups_[i].members)
            if (m == w)
                return int(i);
    return -1;
}

bool KeyboardGroups::reachable(const QWidget* w) const {
    return w && w->isVisible() && w->isEnabled();
}

QWidget* KeyboardGroups::entry(int group) const {
    const Group& g = groups_[size_t(group)];
    if (reachable(g.last))
        return g.last;
    for (const QPointer<QWidget>& m : g.members)
        if (reachable(m))
            return m;
    return nullptr;
}

QWidget* KeyboardGroups::nextGroupEntry(int from, bool forward) const {
    const int n = int(groups_.size());
    for (int step = 1; step <= n; ++step) {
        const int g = ((from + (forward ? step : -step)) % n + n) % n;
        if (QWidget* w = entry(g))
            return w;
    }
    return nullptr;
}

// The nearest reachable member of the same group in the direction of the key, by the centres
// of the buttons in window coordinates; straying sideways counts double, so a row stays a row.
QWidget* KeyboardGroups::neighbour(const QWidget* from, int key) const {
    const int g = groupOf(from);
    if (g < 0)
        return nullptr;
    const QPoint a = from->mapTo(from->window(), from->rect().center());
    QWidget* best = nullptr;
    long bestScore = std::numeric_limits<long>::max();
    for (const QPointer<QWidget>& m : groups_[size_t(g)].members) {
        if (m == from || !reachable(m))
            continue;
        const QPoint b = m->mapTo(m->window(), m->rect().center());
        const long dx = b.x() - a.x();
        const long dy = b.y() - a.y();
        long along = 0;
        long across = 0;
        switch (key) {
        case Qt::Key_Right:
            along = dx, across = dy;
            break;
        case Qt::Key_Left:
            along = -dx, across = dy;
            break;
        case Qt::Key_Down:
            along = dy, across = dx;
            break;
        case Qt::Key_Up:
            along = -dy, across = dx;
            break;
        default:
            return nullptr;
        }
        if (along <= 0)
            continue;
        const long score = along + 2 * std::labs(across);
        if (score < bestScore) {
            bestScore = score;
            best = m;
        }
    }
    return best;
}

void KeyboardGroups::moveFocus(QWidget* to, Qt::FocusReason reason) {
    if (to)
        to->setFocus(reason);
}

void KeyboardGroups::setMark(QWidget* w, bool on) {
    if (w->property(MarkProperty).toBool() == on)
        return;
    w->setProperty(MarkProperty, on);
    // Style sheets look at properties only when a widget is polished again.
    w->style()->unpolish(w);
    w->style()->polish(w);
    w->update();
}

bool KeyboardGroups::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool fromKeyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                                  reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason;
        setMark(w, fromKeyboard);
        const int g = groupOf(w);
        if (g >= 0)
            groups_[size_t(g)].last = w;
        break;
    }
    case QEvent::FocusOut:
        setMark(w, false);
        break;
    case QEvent::Hide:
        setMark(w, false);
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        if (mods != Qt::NoModifier)
            return false;
        const int g = groupOf(w);
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            moveFocus(nextGroupEntry(g, forward), forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (!qobject_cast<QAbstractButton*>(w))
                return false; // a scroll bar moves its own value
            moveFocus(neighbour(w, key->key()), Qt::OtherFocusReason);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                b->animateClick();
                return true;
            }
            return false;
        default:
            return false;
        }
    }
    default:
        break;
    }
    return false;
}
