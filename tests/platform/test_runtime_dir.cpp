#include "platform/RuntimeDir.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
mode_t modeOf(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}
} // namespace

class TestRuntimeDir : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    QByteArray at(const char* name) const { return QFile::encodeName(tmp.filePath(QLatin1String(name))); }

private slots:
    void ownDirectoriesAreMadeOrClosed() {
        QString reason;
        const QByteArray fresh = at("fresh");
        QVERIFY2(RuntimeDir::Prepare(fresh, reason), qPrintable(reason));
        QCOMPARE(modeOf(fresh), mode_t(0700));

        const QByteArray open = at("open");
        QCOMPARE(::mkdir(open.constData(), 0777), 0);
        QCOMPARE(::chmod(open.constData(), 0777), 0);
        QVERIFY2(RuntimeDir::Prepare(open, reason), qPrintable(reason));
        QCOMPARE(modeOf(open), mode_t(0700));
        QCOMPARE(RuntimeDir::Choose(open), open);
    }

    void foreignOrOddPathsAreRefused() {
        QString reason;
        const QByteArray file = at("file");
        QFile f(QFile::decodeName(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(!RuntimeDir::Prepare(file, reason));
        QCOMPARE(reason, QStringLiteral("it is not a directory"));

        const QByteArray target = at("target");
        QCOMPARE(::mkdir(target.constData(), 0700), 0);
        const QByteArray link = at("link");
        QCOMPARE(::symlink(target.constData(), link.constData()), 0);
        QVERIFY(!RuntimeDir::Prepare(link, reason));

        // Someone else's directory: made by root for another user (the suite runs as root in CI).
        if (::geteuid() == 0) {
            const QByteArray foreign = at("foreign");
            QCOMPARE(::mkdir(foreign.constData(), 0777), 0);
            QCOMPARE(::chmod(foreign.constData(), 0777), 0);
            QCOMPARE(::chown(foreign.constData(), 4242, 4242), 0);
            QVERIFY(!RuntimeDir::Prepare(foreign, reason));
            QCOMPARE(reason, QStringLiteral("it belongs to user 4242"));
            const QByteArray chosen = RuntimeDir::Choose(foreign);
            QVERIFY(chosen.startsWith(foreign + "-"));
            QCOMPARE(modeOf(chosen), mode_t(0700));
            QCOMPARE(modeOf(foreign), mode_t(0777)); // not touched
        }
    }

    // Sockets go only where nobody else can write: the session's folder when it is closed and ours,
    // otherwise a private one of our own.
    void socketsGoWhereOnlyThisUserWrites() {
        const QByteArray closed = at("closed");
        QCOMPARE(::mkdir(closed.constData(), 0700), 0);
        QCOMPARE(RuntimeDir::ForSockets(closed), closed);

        const QByteArray shared = at("shared");
        QCOMPARE(::mkdir(shared.constData(), 0777), 0);
        QCOMPARE(::chmod(shared.constData(), 01777), 0);
        const QByteArray chosen = RuntimeDir::ForSockets(shared);
        QVERIFY(!chosen.isEmpty());
        QVERIFY(chosen != shared);
        struct stat st {};
        QCOMPARE(::lstat(chosen.constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_uid, ::geteuid());
        QCOMPARE(st.st_mode & 077, mode_t(0));
        QCOMPARE(modeOf(shared), mode_t(01777)); // the session's folder itself is left as it is
    }
};

QTEST_GUILESS_MAIN(TestRuntimeDir)
#include "test_runtime_dir.moc"
