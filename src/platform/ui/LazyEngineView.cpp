#include "platform/ui/LazyEngineView.h"

#include "platform/LocalUrl.h"
#include "platform/ui/EngineHost.h"

#include <QChildEvent>
#include <QEvent>
#include <QQuickWidget>
#include <QTimer>
#include <QWebEngineView>

#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

LazyEngineView::LazyEngineView(const QString& initialRequest, QWidget* parent)
    : QWidget(parent), lastRequested_(initialRequest) {
    // The empty page before any load is this widget itself, painted white.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    // The browser draws through the window's GPU surface. A window created without one gets it by
    // being re-created when the browser arrives: it vanishes and reappears, and what was set on the
    // old native window (title, transient parent) is lost. A hidden widget of the browser's kind
    // makes the window ask for that surface from its first showing on.
    auto* surfaceKeeper = new QQuickWidget(this); // owned by this
    surfaceKeeper->setObjectName(QStringLiteral("surfaceKeeper"));
    surfaceKeeper->hide();
}

LazyEngineView::~LazyEngineView() = default;

void LazyEngineView::request(const QString& urlOrPath) {
    lastRequested_ = urlOrPath;
    pending_ = true;
    // Without a browser, a hidden view keeps the request for its show, so hidden windows never start
    // a renderer. A browser that exists takes it at once even when hidden: "about:blank" must stop
    // what the old page plays, and a hidden view must not keep playing a page it was taken off.
    if (engine_ || isVisible())
        serve();
}

void LazyEngineView::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!watchedWindow_) {
        watchedWindow_ = window();
        watchedWindow_->installEventFilter(this);
    }
    if (engine_ || !pending_) {
        serve();
        return;
    }
    // The first browser of a window starts once the window has been painted.
    EngineHost::AfterWindowPainted(this, [this] {
        if (isVisible())
            serve();
    });
}

void LazyEngineView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (engine_)
        engine_->setGeometry(rect());
}

bool LazyEngineView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == engine_ && event->type() == QEvent::ChildAdded)
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            child->setFocusPolicy(Qt::NoFocus);
    // A minimised window is hidden spontaneously and still counts as open.
    if (watched == watchedWindow_ && event->type() == QEvent::Hide && !event->spontaneous() && engine_ &&
        !keepWhileHidden_) {
        QTimer::singleShot(0, this, [this] {
            if (watchedWindow_ && !watchedWindow_->isVisible())
                releaseEngine();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void LazyEngineView::releaseEngine() {
    if (!engine_)
        return;
    // The page goes with its view, and the renderer process with the page.
    delete std::exchange(engine_, nullptr);
    pending_ = true;
    firstLoadPosted_ = false;
    engineReleased();
    // One turn later, so that every view of the window has given its browser back first.
    QTimer::singleShot(0, this, [this] { releaseWindowSurface(); });
}

namespace {
// QWidget::destroy() is protected; named through a subclass it gives a pointer to the base's
// member, which may be called on any widget.
struct NativeWindowOwner : QWidget {
    static void Destroy(QWidget* w) { (w->*(&NativeWindowOwner::destroy))(true, true); }
};
} // namespace

void LazyEngineView::releaseWindowSurface() {
    // A closed window keeps its native window, and with it its backing store: an OpenGL context
    // (software-rendered where there is no GPU) with the programs compiled for the browser's
    // drawing, its textures and shared-memory images, ~15-20 MB a window, held until exit. A closed
    // window needs none of it: the next show() creates the native window again, with the browser's
    // kind of surface from the start.
    QWidget* w = window();
    if (w->isVisible() || !w->windowHandle())
        return;
    const auto views = w->findChildren<LazyEngineView*>();
    for (const LazyEngineView* v : views)
        if (v->engine_ || v->keepWhileHidden_)
            return;
    NativeWindowOwner::Destroy(w);
#ifdef __GLIBC__
    malloc_trim(0); // hand the freed heap back to the system, not only to the allocator
#endif
}

void LazyEngineView::serve() {
    if (!pending_ || firstLoadPosted_)
        return;
    if (!engine_) {
        if (EngineHost::IsBlank(lastRequested_)) {
            pending_ = false;
            return;
        }
        engine_ = EngineHost::CreateEngine(this);
        if (focusPolicy() == Qt::NoFocus) {
            // A view the keyboard passes by: neither the browser nor the surface it creates later
            // for its page takes the focus.
            engine_->setFocusPolicy(Qt::NoFocus);
            engine_->installEventFilter(this);
        }
        engineCreated(engine_);
        // A new browser starts loading one turn later: a request made in the same turn (a click
        // right after the window's first paint) replaces the earlier one before its navigation
        // starts, instead of the engine starting both.
        firstLoadPosted_ = true;
        QTimer::singleShot(0, this, [this] {
            if (!std::exchange(firstLoadPosted_, false) || !engine_)
                return; // given back meanwhile
            serve();
        });
        return;
    }
    pending_ = false;
    engine_->load(ToViewUrl(lastRequested_));
}
