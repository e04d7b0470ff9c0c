#include "app/ui/BenchProbe.h"

#include "app/ui/TForm1.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/ChromiumView.h"
#include "platform/ui/FindControl.h"

#include <QEvent>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <utility>

BenchProbe::BenchProbe(TForm1& form) : QObject(&form), form_(form) {
    form_.installEventFilter(this);
    connect(form_.mainView(), &ChromiumView::loadFinished, this, [this](bool ok) {
        // Every finished channel page (a placeholder, or the page of a channel without a stream): the
        // first one after start, and each one a click asked for.
        const QString page = form_.mainView()->lastRequested();
        if (ok && (page.contains(QLatin1String("channel")) || page.contains(QLatin1String("/nostream-"))))
            mark("page");
    });
}

bool BenchProbe::enabled() {
    static const bool on = qEnvironmentVariable("ZELMO_BENCH") == QLatin1String("1");
    return on;
}

void BenchProbe::step(const char* what) {
    if (!enabled())
        return;
    char name[64];
    std::snprintf(name, sizeof name, "step-%s", what);
    mark(name);
}

void BenchProbe::mark(const char* what) {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    std::printf("ZELMO_BENCH %s %lld\n", what, static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
    std::fflush(stdout);
}

bool BenchProbe::eventFilter(QObject* watched, QEvent* event) {
    // A native window replaced after the first paint means the user saw the window vanish: the
    // window counts as shown once its replacement has painted.
    if (watched == &form_ && shown_ && event->type() == QEvent::WinIdChange) {
        mark("recreated");
        shown_ = false;
        remarking_ = true;
        return false;
    }
    if (watched == &form_ && !shown_ &&
        (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest)) {
        shown_ = true;
        // Marked once the first paint has been done and flushed.
        QTimer::singleShot(0, this, [this] {
            mark("shown");
            if (std::exchange(remarking_, false))
                return;
            const QString channel = qEnvironmentVariable("ZELMO_BENCH_CHANNEL");
            if (!channel.isEmpty()) {
                // As a grid button hands a channel over.
                auto* handOver = FindControl<QPushButton>(form_, QStringLiteral("StartTVButton"));
                SetButtonCaption(handOver, channel);
                handOver->click();
            }
        });
    }
    return false;
}
