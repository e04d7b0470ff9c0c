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
    // A page was asked for; emitted before the view starts on it (whatever covers the view, such as
    // the native TV, gives the area back).
    void loadRequested(const QString& urlOrPath);
    void loadFinished(bool ok);
    // A link of one of the program's own local pages asked for something ("iptv": the IPTV tab);
    // such a link sets the page's fragment to "zelmo-<action>-<anything>".
    void appLinkActivated(const QString& action);

protected:
    void engineCreated(QWebEngineView* engine) override;
};
