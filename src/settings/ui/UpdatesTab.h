#pragma once
#include "settings/UpdateChecker.h"

#include <QObject>
#include <QString>

#include <functional>

class HttpClient;
class MessageSink;
class QLabel;
class QProgressBar;
class Shell;

// The behaviour of the updates tab: the version check into the published-version label, the
// installer download, and the progress bar of both. Transfers run in the background, one at a
// time, so the windows stay usable; a click while one runs does nothing.
class UpdatesTab : public QObject {
    Q_OBJECT
public:
    // http carries the transfers and outlives the tab. closeProgram ends the program once the
    // installer has been handed to the shell.
    UpdatesTab(HttpClient& http, QLabel* publishedVersion, QProgressBar* progress, MessageSink& messages,
               Shell& shell, std::function<void()> closeProgram, QObject* parent = nullptr);

    // The project site the transfers go to (scheme and host); the real site unless changed.
    void setProjectSite(const QString& baseUrl);
    void setProxy(const QString& host, int port);
    UpdateChecker& checker() { return checker_; }

    // Fetch the published version and show it as received.
    void check();
    // Fetch the installer; only a complete one is saved into AppDir and started, then the program
    // closes so the installer can replace it.
    void download();

private:
    void begin(qint64 total);
    void work(qint64 done);
    void end();
    void installerSaved(const QString& path);
    void failed();

    UpdateChecker checker_;
    QLabel* publishedVersion_;
    QProgressBar* progress_;
    MessageSink& messages_;
    Shell& shell_;
    std::function<void()> closeProgram_;
};
