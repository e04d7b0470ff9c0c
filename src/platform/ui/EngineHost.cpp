#include "platform/ui/EngineHost.h"

#include "platform/LocalUrl.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWebEngineView>

namespace {

constexpr char kPainted[] = "zelmoWindowPainted";
constexpr int kPaintWaitMs = 300;

// Watches a top-level window for its first paint, then runs the deferred work once.
class FirstPaintWaiter : public QObject {
public:
    FirstPaintWaiter(QWidget* view, std::function<void()> fn) : QObject(view), fn_(std::move(fn)) {
        window_ = view->window();
        window_->installEventFilter(this);
        QTimer::singleShot(kPaintWaitMs, this, [this] { fire(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Paint) {
            window_->setProperty(kPainted, true);
            // After the paint event, so the painted frame is flushed before the engine starts.
            QTimer::singleShot(0, this, [this] { fire(); });
        }
        return false;
    }

private:
    void fire() {
        if (done_)
            return;
        done_ = true;
        if (window_)
            window_->removeEventFilter(this);
        fn_();
        deleteLater();
    }

    QPointer<QWidget> window_;
    std::function<void()> fn_;
    bool done_ = false;
};

} // namespace

namespace EngineHost {

void AfterWindowPainted(QWidget* view, std::function<void()> fn) {
    if (view->window()->property(kPainted).toBool()) {
        fn();
        return;
    }
    new FirstPaintWaiter(view, std::move(fn)); // owned by view
}

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
