#include "platform/FontConfigPreload.h"

#include "platform/LogCategories.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

FontConfigPreload::FontConfigPreload() {
    try {
        // FcInit() may run on any thread; whichever call comes second finds the configuration in
        // place and returns at once.
        loading_ = std::async(std::launch::async, [] { FcInit(); });
    } catch (const std::system_error& e) {
        // No thread to spare: the first text loads the configuration itself, as it would anyway.
        qCWarning(lcDesktop) << "font configuration not preloaded:" << e.what();
    }
}

FontConfigPreload::~FontConfigPreload() {
    if (loading_.valid())
        loading_.wait();
}
