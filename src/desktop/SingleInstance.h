#pragma once
#include <QLocalServer>
#include <QObject>
#include <QString>

// One running copy per user and settings file. The first start listens on a local socket; a
// later start finds it, asks it to come to the front and ends. A socket file left behind by a
// copy that crashed answers nobody, so the next start removes it and takes over. Whatever else
// sits at the name (another user's socket, a link) is never asked; the exchange has one deadline,
// and the listener keeps few connections, each briefly and with a short request only.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        Primary,   // this copy runs the program
        Secondary, // another copy runs and was asked to come to the front: end now
        Alone,     // the socket could not be set up: run, unguarded (reason logged)
    };

    // serverName: a socket path, see ServerName().
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);

    // Decides the role; waits at most waitMs for a running copy to answer.
    Role claim(int waitMs = 5000);

    // <runtimeDir>/zelmo-player-<uid>-<hash of the settings file's path>: one name per user and
    // per Setting.ini, so copies with settings of their own do not stand in each other's way.
    static QString ServerName(const QString& runtimeDir, const QString& settingsFile);

signals:
    // A later start asked this copy to show itself.
    void activationRequested();

private:
    void onNewConnection();

    QString name_;
    int connections_ = 0; // open connections of later starts (or of anyone else)
    QLocalServer server_;
};
