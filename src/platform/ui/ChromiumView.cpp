#include "platform/ui/ChromiumView.h"

#include <QWebEngineView>

ChromiumView::ChromiumView(QWidget* parent) : LazyEngineView(QStringLiteral("about:blank"), parent) {}

ChromiumView::~ChromiumView() = default;

void ChromiumView::load(const QString& urlOrPath) {
    emit loadRequested(urlOrPath);
    request(urlOrPath);
}

void ChromiumView::engineCreated(QWebEngineView* engine) {
    connect(engine, &QWebEngineView::loadFinished, this, &ChromiumView::loadFinished);
}
