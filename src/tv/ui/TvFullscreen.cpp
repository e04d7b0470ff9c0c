#include "tv/ui/TvFullscreen.h"

#include "tv/TvScreen.h"
#include "tv/ui/TvVideoView.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

TvFullscreen::TvFullscreen(TvScreen& screen, TvVideoView& view, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window), screen_(screen), view_(view), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("TvFullscreen"));
    setWindowTitle(mainWindow->windowTitle());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    pointerIdle_.setSingleShot(true);
    pointerIdle_.setInterval(kPointerHideMs);
    connect(&pointerIdle_, &QTimer::timeout, this, [this] {
        if (on_)
            view_.setCursor(Qt::BlankCursor);
    });
    view_.installEventFilter(this);
    view_.setMouseTracking(true);
    connect(&screen_, &TvScreen::activeChanged, this, [this](bool active) {
        if (!active)
            leave();
    });
}

TvFullscreen::~TvFullscreen() {
    // The view goes back to its place before this window, its parent meanwhile, is destroyed.
    leave();
}

void TvFullscreen::enter() {
    if (on_ || !screen_.isPlaying())
        return;
    on_ = true;
    QScreen* where = mainWindow_->screen();
    if (!windowHandle())
        create();
    if (where) {
        windowHandle()->setScreen(where);
        setGeometry(where->geometry());
    }
    view_.setParent(this);
    view_.setGeometry(rect());
    view_.show();
    showFullScreen();
    raise();
    activateWindow();
    view_.setFocus(Qt::OtherFocusReason);
    pointerMoved();
    emit changed(true);
}

void TvFullscreen::leave() {
    if (!on_)
        return;
    on_ = false;
    pointerIdle_.stop();
    view_.unsetCursor();
    view_.dock();
    hide();
    if (mainWindow_->isVisible()) {
        mainWindow_->raise();
        mainWindow_->activateWindow();
    }
    emit changed(false);
}

void TvFullscreen::toggle() {
    if (on_)
        leave();
    else
        enter();
}

void TvFullscreen::pointerMoved() {
    view_.unsetCursor();
    if (on_)
        pointerIdle_.start();
}

bool TvFullscreen::eventFilter(QObject* watched, QEvent* e) {
    if (watched == &view_) {
        switch (e->type()) {
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
                toggle();
                return true;
            }
            break;
        case QEvent::MouseMove:
            pointerMoved();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void TvFullscreen::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        leave();
        return;
    }
    QWidget::keyPressEvent(e);
}

void TvFullscreen::closeEvent(QCloseEvent* e) {
    // Closed by the window manager: the picture goes back to the main window.
    e->ignore();
    leave();
}

void TvFullscreen::resizeEvent(QResizeEvent*) {
    if (on_)
        view_.setGeometry(rect());
}
