#pragma once
#include "platform/Shell.h"

// Opens URLs and files with the desktop's default handler.
class DesktopShell : public Shell {
public:
    void open(const QString& urlOrPath) override;
};
