#pragma once
#include <QString>

class QWebEngineView;
class QWidget;

// What ChromiumView and BrowserView share about their lazily created browser.
namespace EngineHost {
// A browser child that fills host and follows its size (the caller keeps it sized on resize).
QWebEngineView* CreateEngine(QWidget* host);
// A blank request needs no browser: an empty widget already shows an empty page.
bool IsBlank(const QString& urlOrPath);
} // namespace EngineHost
