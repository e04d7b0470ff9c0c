#pragma once
#include <QString>

#include <functional>

class QWebEngineView;
class QWidget;

// The pieces of LazyEngineView's lazily created browser.
namespace EngineHost {
// A browser child that fills host and follows its size (the caller keeps it sized on resize).
QWebEngineView* CreateEngine(QWidget* host);
// A blank request needs no browser: an empty widget already shows an empty page.
bool IsBlank(const QString& urlOrPath);
// Runs fn (with view as context) once view's window has painted at least once, so that starting
// the web engine never delays a window's first paint; bounded, in case no paint comes.
void AfterWindowPainted(QWidget* view, std::function<void()> fn);
} // namespace EngineHost
