#pragma once
#include "platform/WebView.h"

#include <QString>
#include <QWidget>

class QWebEngineView;

// The embedded Chromium view. It starts on an empty page and creates its browser only when a page
// is wanted while the view is visible, so hidden windows start no renderer process; a request made
// while hidden before the browser exists is kept (only the last request counts) and served when the
// view is shown. Once the browser exists, every request goes to it at once.
class ChromiumView : public QWidget, public WebView {
    Q_OBJECT
public:
    explicit ChromiumView(QWidget* parent = nullptr);
    ~ChromiumView() override;
    void load(const QString& urlOrPath) override;
    // The last request as given ("about:blank" before any).
    QString lastRequested() const { return lastRequested_; }
    // Null until the browser has been created.
    QWebEngineView* engine() const { return engine_; }

signals:
    void loadFinished(bool ok);

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void serve();
    QString lastRequested_ = QStringLiteral("about:blank");
    bool pending_ = false;
    QWebEngineView* engine_ = nullptr; // child widget, owned by this
};
