#include "app/ui/BenchProbe.h"
#include "app/ui/Startup.h"
#include "desktop/FileLocations.h"
#include "desktop/SingleInstance.h"
#include "platform/AppDir.h"
#include "platform/FontConfigPreload.h"

int main(int argc, char** argv) {
    PrepareEnvironment();
    ZelmoApplication app(argc, argv);
    BenchProbe::step("application");
    // Not sooner: the application object's own start-up then waits for it.
    const FontConfigPreload fonts;
    UseFileLocations(ResolveFileLocations(QCoreApplication::applicationDirPath(), UserConfigHome()));

    // A second start only brings the running copy to the front.
    SingleInstance instance(
        SingleInstance::ServerName(qEnvironmentVariable("XDG_RUNTIME_DIR"), SettingsFilePath()));
    if (instance.claim() == SingleInstance::Role::Secondary)
        return 0;

    Program program;
    QObject::connect(&instance, &SingleInstance::activationRequested, &app,
                     [&program] { program.bringToFront(); });
    program.show();
    return app.exec();
}
