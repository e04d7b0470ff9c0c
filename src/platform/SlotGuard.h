#pragma once
#include <QString>

#include <functional>
#include <utility>

// An exception must not leave a slot: Qt does not define what happens then. Work that can throw
// runs through SlotGuard::Run (or is connected through SlotGuard::Guarded); the error goes to the
// reporter the application installs, which shows the general error message, and the event loop
// goes on.
namespace SlotGuard {

using Reporter = std::function<void(const QString&)>;

// The application installs its general error message here; without one, errors go to the log.
void SetReporter(Reporter reporter);

// Hands the exception being handled to the reporter; call it only inside a catch block.
void ReportCurrentException() noexcept;

template <class Body> void Run(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
        ReportCurrentException();
    }
}

// A slot for connect() that runs a member function guarded.
template <class Obj, class Ret, class... Args> auto Guarded(Obj* obj, Ret (Obj::*slot)(Args...)) {
    return [obj, slot](Args... args) { Run([&] { (obj->*slot)(args...); }); };
}

// A slot for connect() that runs a function without arguments guarded.
template <class F> auto Guarded(F f) {
    return [f = std::move(f)] { Run(f); };
}

} // namespace SlotGuard
