#pragma once
#include "platform/HtmlView.h"

#include <QString>
#include <QVariant>
#include <QWidget>

class QWebEngineView;

// The navigated HTML view (programme window, site-login window), with access to the loaded
// document. Like ChromiumView it creates its browser only when visible.
class BrowserView : public QWidget, public HtmlView {
    Q_OBJECT
public:
    explicit BrowserView(QWidget* parent = nullptr);
    ~BrowserView() override;
    void navigate(const QString& urlOrPath) override;
    QString lastRequested() const { return lastRequested_; }
    QWebEngineView* engine() const { return engine_; }
    // True once a page has finished loading into the browser.
    bool hasDocument() const { return hasDocument_; }
    // Runs script in the loaded document and returns its result, waiting at most timeoutMs.
    // The script is the body of a function: what it returns is the result (JSON-like values only).
    // Throws std::runtime_error when there is no document or the script fails or times out.
    QVariant runScript(const QString& script, int timeoutMs = 3000);

signals:
    void loadFinished(bool ok);

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void serve();
    QString lastRequested_;
    bool pending_ = false;
    bool hasDocument_ = false;
    QWebEngineView* engine_ = nullptr;
};
