#pragma once
#include <QString>

// The desktop's "open": a web page in the default browser, or a downloaded file. Result not tested.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void open(const QString& urlOrPath) = 0;
};
