#include "app/ui/Startup.h"

int main(int argc, char** argv) {
    PrepareEnvironment();
    ZelmoApplication app(argc, argv);
    Program program;
    program.show();
    return app.exec();
}
