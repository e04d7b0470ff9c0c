#include "platform/ui/LazyEngineView.h"

#include "platform/LocalUrl.h"
#include "platform/ui/EngineHost.h"

#include <QQuickWidget>
#include <QWebEngineView>

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

void LazyEngineView::serve() {
    if (!pending_)
        return;
    pending_ = false;
    if (!engine_) {
        if (EngineHost::IsBlank(lastRequested_))
            return;
        engine_ = EngineHost::CreateEngine(this);
        engineCreated(engine_);
    }
    engine_->load(ToViewUrl(lastRequested_));
}
