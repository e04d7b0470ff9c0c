#include "platform/ui/DesktopShell.h"

#include "platform/LocalUrl.h"

#include <QDesktopServices>

void DesktopShell::open(const QString& urlOrPath) {
    // The result is deliberately not looked at: the desktop reports its own failures.
    QDesktopServices::openUrl(ToViewUrl(urlOrPath));
}
