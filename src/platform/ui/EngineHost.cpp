#include "platform/ui/EngineHost.h"

#include "platform/LocalUrl.h"

#include <QWebEngineView>

namespace EngineHost {

QWebEngineView* CreateEngine(QWidget* host) {
    auto* engine = new QWebEngineView(host); // owned by host
    engine->setGeometry(host->rect());
    engine->show();
    return engine;
}

bool IsBlank(const QString& urlOrPath) {
    return ToViewUrl(urlOrPath) == QUrl(QStringLiteral("about:blank"));
}

} // namespace EngineHost
