#include "platform/ui/BrowserView.h"

#include "platform/LocalUrl.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <stdexcept>

BrowserView::BrowserView(QWidget* parent) : LazyEngineView(QString(), parent) {}

BrowserView::~BrowserView() = default;

void BrowserView::navigate(const QString& urlOrPath) {
    const QUrl url = ToViewUrl(urlOrPath);
    if (!url.isValid())
        throw std::runtime_error("Cannot navigate to \"" + urlOrPath.toStdString() +
                                 "\": not a valid address");
    request(urlOrPath);
}

void BrowserView::engineCreated(QWebEngineView* engine) {
    connect(engine, &QWebEngineView::loadFinished, this, [this](bool ok) {
        // Even a failed load leaves a document (the error page) to script against.
        hasDocument_ = true;
        emit loadFinished(ok);
    });
}

QVariant BrowserView::runScript(const QString& script, int timeoutMs) {
    if (!engine() || !hasDocument_)
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
    engine()->page()->runJavaScript(wrapped, [reply, waiting](const QVariant& v) {
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
