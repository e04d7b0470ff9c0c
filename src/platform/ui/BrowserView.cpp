#include "platform/ui/BrowserView.h"

#include "platform/LocalUrl.h"
#include "platform/ui/EngineHost.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <stdexcept>

BrowserView::BrowserView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

BrowserView::~BrowserView() = default;

void BrowserView::navigate(const QString& urlOrPath) {
    const QUrl url = ToViewUrl(urlOrPath);
    if (!url.isValid())
        throw std::runtime_error("Cannot navigate to \"" + urlOrPath.toStdString() +
                                 "\": not a valid address");
    lastRequested_ = urlOrPath;
    pending_ = true;
    // Without a browser, a hidden view keeps the request for its show, so hidden windows never start
    // a renderer. A browser that exists takes it at once even when hidden: "about:blank" must stop
    // what the old page plays, and a hidden view must not keep playing a page it was taken off.
    if (engine_ || isVisible())
        serve();
}

void BrowserView::showEvent(QShowEvent* e) {
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

void BrowserView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (engine_)
        engine_->setGeometry(rect());
}

void BrowserView::serve() {
    if (!pending_)
        return;
    pending_ = false;
    if (!engine_) {
        if (EngineHost::IsBlank(lastRequested_))
            return;
        engine_ = EngineHost::CreateEngine(this);
        connect(engine_, &QWebEngineView::loadFinished, this, [this](bool ok) {
            // Even a failed load leaves a document (the error page) to script against.
            hasDocument_ = true;
            emit loadFinished(ok);
        });
    }
    engine_->load(ToViewUrl(lastRequested_));
}

QVariant BrowserView::runScript(const QString& script, int timeoutMs) {
    if (!engine_ || !hasDocument_)
        throw std::runtime_error("The browser has no document: no page has been loaded yet");

    // The caller's script runs as a function body; its exceptions come back as data, so that a
    // failing script is told apart from one that returns nothing.
    const QString wrapped =
        QStringLiteral("(function(){try{return {ok:true,value:(function(){\n") + script +
        QStringLiteral("\n})()};}catch(e){return {ok:false,error:String(e&&e.message!==undefined?"
                       "e.message:e)};}})()");

    // The callback may arrive after a timeout has given up on it: it must then touch nothing of ours.
    struct Reply {
        bool arrived = false;
        QVariant value;
    };
    auto reply = std::make_shared<Reply>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    engine_->page()->runJavaScript(wrapped, [reply, waiting](const QVariant& v) {
        reply->arrived = true;
        reply->value = v;
        if (waiting)
            waiting->quit();
    });
    if (!reply->arrived) {
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(timeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!reply->arrived)
        throw std::runtime_error("The page did not answer within " + std::to_string(timeoutMs) + " ms");

    const QVariantMap result = reply->value.toMap();
    if (!result.contains(QStringLiteral("ok")))
        throw std::runtime_error("The page gave no result (its document may have been replaced)");
    if (!result.value(QStringLiteral("ok")).toBool())
        throw std::runtime_error("Script error in the page: " +
                                 result.value(QStringLiteral("error")).toString().toStdString());
    return result.value(QStringLiteral("value"));
}
