#include "platform/SlotGuard.h"

#include <QtGlobal>

#include <exception>

namespace SlotGuard {
namespace {
Reporter& reporter() {
    static Reporter r;
    return r;
}

QString messageOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}
} // namespace

void SetReporter(Reporter r) {
    reporter() = std::move(r);
}

void ReportCurrentException() noexcept {
    try {
        const QString message = messageOf(std::current_exception());
        if (reporter())
            reporter()(message);
        else
            qWarning("Unhandled error: %s", qUtf8Printable(message));
    } catch (...) {
        // The reporter itself failed: there is nobody left to tell, and the slot must still return.
        qWarning("Unhandled error while reporting an error");
    }
}

} // namespace SlotGuard
