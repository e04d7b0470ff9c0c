#include "platform/FontConfigPreload.h"

#include "platform/LogCategories.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

FontConfigPreload::FontConfigPreload() {
    try {
        loading_ = std::async(std::launch::async, [] { FcInit(); });
    } catch (const std::system_error& e) {
        // No thread to spare: the first text loads the configuration itself, as it would anyway.
        qCWarning(lcDesktop) << "font configuration not preloaded:" << e.what();
    }
}

FontConfigPreload::~FontConfigPreload() {
    wait();
}

void FontConfigPreload::wait() {
    if (loading_.valid())
        loading_.get();
}
