#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>

class QWebEngineView;

// A white widget that creates its browser child only when a page is wanted while the view is
// visible, so hidden windows start no renderer process. A request made while hidden before the
// browser exists is kept (only the last request counts) and served when the view is shown; the
// first browser of a window waits for the window's first paint. Once the browser exists, every
// request goes to it at once. The view's window is given the browser's kind of surface from its
// first showing, so the browser's arrival never re-creates the window. When the window is hidden
// (closed), the browser is given back with its renderer process, and then the window's native
// window with its drawing resources; the last request is served again by a new browser when the
// window is shown next.
class LazyEngineView : public QWidget {
    Q_OBJECT
public:
    // The last request as given (initialRequest before any).
    QString lastRequested() const { return lastRequested_; }
    // Null until the browser has been created.
    QWebEngineView* engine() const { return engine_; }
    // Keeps the browser while the window is hidden: the main window's page may go on playing from
    // the tray.
    void setKeepBrowserWhileHidden(bool keep) { keepWhileHidden_ = keep; }
    // A view given Qt::NoFocus before its browser exists keeps the browser out of the Tab order too.

protected:
    LazyEngineView(const QString& initialRequest, QWidget* parent);
    ~LazyEngineView() override;

    // Takes urlOrPath as the current request and serves it when a browser may take it.
    void request(const QString& urlOrPath);
    // Called once, right after the browser is created and before its first load.
    virtual void engineCreated(QWebEngineView* engine) = 0;
    // Called right after the browser has been given back.
    virtual void engineReleased() {}

    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void serve();
    void releaseEngine();
    void releaseWindowSurface();
    QString lastRequested_;
    bool pending_ = false;
    bool firstLoadPosted_ = false;
    QWebEngineView* engine_ = nullptr; // child widget, owned by this
    QPointer<QWidget> watchedWindow_;  // the window whose hiding gives the browser back
    bool keepWhileHidden_ = false;
};
