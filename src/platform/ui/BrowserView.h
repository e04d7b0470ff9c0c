#pragma once
#include "platform/HtmlView.h"
#include "platform/ui/LazyEngineView.h"

#include <QString>
#include <QVariant>

class QWebEngineView;

// The navigated HTML view (programme window, site-login window), with access to the loaded
// document. Like ChromiumView it creates its browser lazily (see LazyEngineView).
class BrowserView : public LazyEngineView, public HtmlView {
    Q_OBJECT
public:
    explicit BrowserView(QWidget* parent = nullptr);
    ~BrowserView() override;
    void navigate(const QString& urlOrPath) override;
    // True once a page has finished loading into the browser.
    bool hasDocument() const { return hasDocument_; }
    // Runs script in the loaded document and returns its result, waiting at most timeoutMs.
    // The script is the body of a function: what it returns is the result (JSON-like values only).
    // Throws std::runtime_error when there is no document or the script fails or times out.
    QVariant runScript(const QString& script, int timeoutMs = 3000);

signals:
    void loadFinished(bool ok);

protected:
    void engineCreated(QWebEngineView* engine) override;
    void engineReleased() override { hasDocument_ = false; }

private:
    bool hasDocument_ = false;
};
