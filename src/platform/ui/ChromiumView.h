#pragma once
#include "platform/WebView.h"
#include "platform/ui/LazyEngineView.h"

#include <QString>

class QWebEngineView;

// The embedded Chromium view. It starts on an empty page ("about:blank") and creates its browser
// lazily (see LazyEngineView).
class ChromiumView : public LazyEngineView, public WebView {
    Q_OBJECT
public:
    explicit ChromiumView(QWidget* parent = nullptr);
    ~ChromiumView() override;
    void load(const QString& urlOrPath) override;

signals:
    void loadFinished(bool ok);

protected:
    void engineCreated(QWebEngineView* engine) override;
};
