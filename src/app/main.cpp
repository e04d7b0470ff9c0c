#include "app/ui/BenchProbe.h"
#include "app/ui/ScreenFit.h"
#include "app/ui/Startup.h"
#include "desktop/FileLocations.h"
#include "desktop/SingleInstance.h"
#include "platform/AppDir.h"
#include "platform/FontConfigPreload.h"
#include "platform/RuntimeDir.h"

int main(int argc, char** argv) {
    PrepareEnvironment();
    // Beside the application object's start-up; the first widget waits for what is left of it.
    FontConfigPreload fonts;
    ZelmoApplication app(argc, argv);
    BenchProbe::step("application");
    RestartScaledToFitIfNeeded(argv);
    UseFileLocations(ResolveFileLocations(QCoreApplication::applicationDirPath(), UserConfigHome()));

    // A second start only brings the running copy to the front.
    // Only in a folder nobody else can write to: another user could plant a socket there.
    SingleInstance instance(SingleInstance::ServerName(
        QString::fromLocal8Bit(RuntimeDir::ForSockets(qgetenv("XDG_RUNTIME_DIR"))), SettingsFilePath()));
    if (instance.claim() == SingleInstance::Role::Secondary)
        return 0;

    Program::Options options;
    options.fonts = &fonts;
    Program program(options);
    QObject::connect(&instance, &SingleInstance::activationRequested, &app,
                     [&program] { program.bringToFront(); });
    program.show();
    return app.exec();
}
