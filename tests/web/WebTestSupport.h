#pragma once
// Shared bits of the web tests: a main that prepares WebEngine, fixture pages, the process tree.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// WebEngine wants shared GL contexts before the application object exists.
#define ZELMO_WEB_TEST_MAIN(TestClass)                                                                       \
    int main(int argc, char** argv) {                                                                        \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                          \
        QApplication app(argc, argv);                                                                        \
        TestClass tc;                                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

// Writes an HTML page into dir and returns the path as the program would build it: a plain path
// whose last part uses backslashes.
inline QString WriteFixture(const QTemporaryDir& dir, const QString& name, const QString& title,
                            const QString& body = {}) {
    QDir(dir.path()).mkpath(QStringLiteral("channel/public"));
    QFile f(dir.path() + QStringLiteral("/channel/public/") + name);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write fixture");
    f.write(QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                           "<body>%2</body></html>")
                .arg(title, body)
                .toUtf8());
    return dir.path() + QStringLiteral("/channel\\public\\") + name;
}

// WebEngine helper processes anywhere below this process (zygotes, renderers, GPU, network);
// with onlyType, only those whose command line has "--type=<onlyType>".
inline int CountEngineProcesses(const QString& onlyType = QString()) {
    QMap<int, int> parentOf;
    QMap<int, QString> nameOf;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& p : pids) {
        bool numeric = false;
        const int pid = p.toInt(&numeric);
        if (!numeric)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString line = QString::fromLatin1(stat.readAll());
        // "pid (comm) state ppid ...": comm may hold spaces, so split after its closing bracket.
        const qsizetype close = line.lastIndexOf(QLatin1Char(')'));
        const qsizetype open = line.indexOf(QLatin1Char('('));
        if (open < 0 || close < 0)
            continue;
        const QStringList rest = line.mid(close + 2).split(QLatin1Char(' '));
        if (rest.size() < 2)
            continue;
        parentOf[pid] = rest[1].toInt();
        nameOf[pid] = line.mid(open + 1, close - open - 1);
    }
    const int self = getpid();
    int count = 0;
    for (auto it = nameOf.cbegin(); it != nameOf.cend(); ++it) {
        if (!it.value().startsWith(QStringLiteral("QtWebEngine")))
            continue;
        if (!onlyType.isEmpty()) {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(it.key()));
            if (!cmdline.open(QIODevice::ReadOnly) ||
                !cmdline.readAll().split('\0').contains("--type=" + onlyType.toLatin1()))
                continue;
        }
        for (int p = parentOf.value(it.key()); p > 1; p = parentOf.value(p)) {
            if (p == self) {
                ++count;
                break;
            }
        }
    }
    return count;
}
