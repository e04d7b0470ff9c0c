#pragma once
#include <QString>

// An HTML control that is navigated (the programme window's view, the site-login window's view).
// A failure to start the navigation throws to the caller.
class HtmlView {
public:
    virtual ~HtmlView() = default;
    virtual void navigate(const QString& urlOrPath) = 0;
};
