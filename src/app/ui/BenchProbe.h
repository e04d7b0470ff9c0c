#pragma once
#include <QObject>

class TForm1;

// Benchmark hook, active only with ZELMO_BENCH=1: prints "ZELMO_BENCH shown <ns>" when the main
// window is first shown ("recreated" and "shown" again if its native window is replaced later) and, when
// ZELMO_BENCH_CHANNEL=<name> is set, hands that channel over right after (as a slot click does). Prints
// "ZELMO_BENCH page <ns>" whenever the main view has finished a local channel page. <ns> is CLOCK_MONOTONIC,
// so the runner can subtract its own clock at process start.
class BenchProbe : public QObject {
    Q_OBJECT
public:
    explicit BenchProbe(TForm1& form);
    static bool enabled();
    static void mark(const char* what);
    // Marks "step-<what>" when enabled: where start-up spends its time before the first paint.
    static void step(const char* what);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TForm1& form_;
    bool shown_ = false;
    bool remarking_ = false;
};
