#include "platform/ui/ChromiumView.h"

#include <QUrl>
#include <QWebEngineView>

ChromiumView::ChromiumView(QWidget* parent) : LazyEngineView(QStringLiteral("about:blank"), parent) {}

ChromiumView::~ChromiumView() = default;

void ChromiumView::load(const QString& urlOrPath) {
    emit loadRequested(urlOrPath);
    request(urlOrPath);
}

void ChromiumView::engineCreated(QWebEngineView* engine) {
    connect(engine, &QWebEngineView::loadFinished, this, &ChromiumView::loadFinished);
    connect(engine, &QWebEngineView::urlChanged, this, [this](const QUrl& url) {
        const QString fragment = url.fragment();
        if (url.isLocalFile() && fragment.startsWith(QLatin1String("zelmo-")))
            emit appLinkActivated(fragment.section(u'-', 1, 1));
    });
}
