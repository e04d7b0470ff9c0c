#include "app/ui/ScreenFit.h"

#include "app/ui/TForm1.h"
#include "platform/LogCategories.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <unistd.h>

namespace {
// Set for the restarted program: it never restarts a second time.
constexpr char kFittedVariable[] = "ZELMO_FITTED_SCALE";
// Room for the window manager's title bar and borders, in logical pixels.
constexpr QSize kFrameAllowance{16, 48};
// Below this a screen is too small for the window to be of use, scaled or not.
constexpr double kSmallestFactor = 0.4;
} // namespace

void RestartScaledToFitIfNeeded(char** argv) {
    if (qEnvironmentVariableIsSet(kFittedVariable))
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize available = screen->availableGeometry().size();
    const QSize needed = TForm1::kClientSize + kFrameAllowance;
    const double fit =
        std::min(double(available.width()) / needed.width(), double(available.height()) / needed.height());
    if (fit >= 1.0)
        return;
    bool ok = false;
    double current = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    if (!ok || current <= 0)
        current = 1.0;
    const double factor = std::floor(current * fit * 100.0) / 100.0;
    if (factor < kSmallestFactor)
        return;
    qCInfo(lcDesktop) << "the window does not fit" << available << "; restarting at scale factor" << factor;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'f', 2));
    qputenv(kFittedVariable, "1");
    execv("/proc/self/exe", argv);
    qCWarning(lcDesktop) << "restart to fit the screen failed:" << std::strerror(errno);
}
