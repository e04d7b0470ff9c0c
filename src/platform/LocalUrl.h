#pragma once
#include <QString>
#include <QUrl>

// Callers hand views either a URL or a local path built as AppDir + "channel\public\ort.htm";
// this turns the latter into a file URL (backslashes become separators).
QUrl ToViewUrl(const QString& urlOrPath);
