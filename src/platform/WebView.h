#pragma once
#include <QString>

// A Chromium-style view: `load` returns at once, the page loads afterwards, and only the last
// request counts. Accepts an http(s) URL, "about:blank" or a local path (AppDir + "channel\...").
class WebView {
public:
    virtual ~WebView() = default;
    virtual void load(const QString& urlOrPath) = 0;
};
