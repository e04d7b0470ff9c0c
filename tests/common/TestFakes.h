#pragma once
#include "platform/MessageSink.h"
#include "platform/Shell.h"
#include "settings/ui/MainWindowSurface.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Records every address handed to the desktop.
struct FakeShell : Shell {
    QStringList opened;
    void open(const QString& url) override { opened << url; }
};

// Records every message shown to the user.
struct FakeMessages : MessageSink {
    QStringList shown;
    void show(const QString& text) override { shown << text; }
};

// Records what the settings window writes onto the main window.
struct FakeSurface : MainWindowSurface {
    QMap<QString, QString> captions;
    QMap<QString, QString> hints;
    QString addFavoriteCaption;
    QList<bool> onTopCalls;
    void setCategoryCaption(const QString& b, const QString& c) override { captions[b] = c; }
    void setToolHint(const QString& b, const QString& h) override { hints[b] = h; }
    void setAddFavoriteCaption(const QString& c) override { addFavoriteCaption = c; }
    void setStayOnTop(bool onTop) override { onTopCalls << onTop; }
    bool onTop() const { return !onTopCalls.isEmpty() && onTopCalls.last(); }
};
