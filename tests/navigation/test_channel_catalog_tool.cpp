#include "common/LoopbackServer.h"
#include "navigation/CatalogSlots.h"
#include "navigation/ChannelCatalog.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString tool() {
    return QDir(qEnvironmentVariable("ZELMO_TEST_APPDIR")).filePath(QStringLiteral("channel-catalog"));
}

struct Run {
    int code = -1;
    QByteArray out, err;
};

Run run(const QStringList& args) {
    QProcess p;
    p.start(tool(), args);
    Run r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(5000);
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString onDisk(const QString& root, const QString& rel) {
    return root + u'/' + QString(rel).replace(u'\\', u'/');
}

// Decodes strictly: a page with a broken UTF-8 sequence yields a null string.
QString readUtf8(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = dec.decode(f.readAll());
    return dec.hasError() ? QString() : text;
}

} // namespace

class TestChannelCatalogTool : public QObject {
    Q_OBJECT
private slots:
    void listMatchesTheLists();
    void treeHoldsEveryPage();
    void usageErrors_data();
    void usageErrors();
    void writeFailureIsReported();
    void matchFilesAndAddresses();
};

void TestChannelCatalogTool::listMatchesTheLists() {
    const Run r = run({"list"});
    QCOMPARE(r.code, 0);
    QStringList lines = QString::fromUtf8(r.out).split(u'\n');
    QCOMPARE(lines.takeLast(), QString()); // ends with a newline
    QCOMPARE(lines.size(), int(MainCatalog().size() + FavoriteCatalog().size()));
    int i = 0;
    for (const auto& [tag, list] : {std::pair{"main", &MainCatalog()}, {"favorite", &FavoriteCatalog()}}) {
        int pos = 0;
        for (const ChannelEntry& e : *list) {
            const QStringList expected = {
                tag,     QString::number(++pos),       e.Name, TargetName(e.target), e.Page,
                e.Guide, QString::fromLatin1(e.Stream)};
            QCOMPARE(lines[i++].split(u'\t'), expected);
        }
    }
}

void TestChannelCatalogTool::treeHoldsEveryPage() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Run r = run({"tree", dir.path()});
    QCOMPARE(r.code, 0);
    for (const auto* list : {&MainCatalog(), &FavoriteCatalog()}) {
        for (const ChannelEntry& e : *list) {
            QStringList pages;
            if (e.hasLocalPage())
                pages << e.Page;
            if (!e.Guide.isEmpty())
                pages << e.Guide;
            for (const QString& rel : pages) {
                const QString text = readUtf8(onDisk(dir.path(), rel));
                QVERIFY2(!text.isNull(), qPrintable("missing or not UTF-8: " + rel));
                QVERIFY2(text.startsWith("<!DOCTYPE html>"), qPrintable(rel));
                QVERIFY(text.contains("<meta charset=\"utf-8\">"));
                if (rel != NoProgrammeGuide)
                    QVERIFY2(text.contains(e.Name.toHtmlEscaped() + "</h1>"),
                             qPrintable(rel + " lacks " + e.Name));
            }
        }
    }
    // The directory case of the lists is kept on disk.
    QVERIFY(QFileInfo(dir.path() + "/channel/Films").isDir());
    QVERIFY(QFileInfo(dir.path() + "/channel/tv-program/films").isDir());
    QVERIFY(QFileInfo(dir.path() + "/channel/Azerbaycan/ictimai.htm").isFile());
    QVERIFY(QFileInfo(dir.path() + "/channel/Azerbaycan/Ictimai.htm").isFile());
    QVERIFY(readUtf8(dir.path() + "/channel/mults/simon-s-cat.htm").contains("Simon&quot;s Cat"));
    QVERIFY(readUtf8(dir.path() + "/channel/tv-program/public/tnv.htm").contains("Программа передач"));

    // A second run over the same tree succeeds too.
    QCOMPARE(run({"tree", dir.path()}).code, 0);
}

void TestChannelCatalogTool::usageErrors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("none") << QStringList{};
    QTest::newRow("unknown command") << QStringList{"print"};
    QTest::newRow("tree without a directory") << QStringList{"tree"};
    QTest::newRow("list with an argument") << QStringList{"list", "x"};
}

void TestChannelCatalogTool::usageErrors() {
    QFETCH(QStringList, args);
    const Run r = run(args);
    QCOMPARE(r.code, 2);
    QVERIFY(r.err.startsWith("usage:"));
    QVERIFY(r.out.isEmpty());
}

void TestChannelCatalogTool::writeFailureIsReported() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Run r = run({"tree", dir.filePath("file")}); // a file where the tree's root should be
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains("cannot"));
}

// The four public playlists, from files and from a loopback stand-in of their host: one line per
// TV slot, the country from the file name, "-" where nothing plays, a failed fetch reported.
void TestChannelCatalogTool::matchFilesAndAddresses() {
    const QString data =
        qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") + QStringLiteral("/tests/tv/data/iptv-org/");
    const Run files = run({"match", data + "ru.m3u", data + "ua.m3u", data + "by.m3u", data + "kz.m3u"});
    QCOMPARE(files.code, 0);
    const QStringList lines = QString::fromUtf8(files.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), qsizetype(CatalogTvSlots().size()));
    QCOMPARE(lines.first(),
             QStringLiteral("public\t1\tОРТ\tru\tChannelOne.ru@SD\tПервый канал (720p)\t"
                            "https://edge1.1internet.tv/dash-live2/streams/1tv-dvr/1tvdash.mpd"));
    QVERIFY(lines.contains(QStringLiteral("public\t2\tРоссия 1\tru\t-\t-\t-")));
    QVERIFY(lines.contains(QStringLiteral("CISa\t6\tПервый канал\tge\t-\t-\t-")));
    QVERIFY(lines.contains(QStringLiteral("Ukrainian\t18\tСТБ\tua\t-\t-\t-"))); // not Belarus's СТБ
    for (const QString& l : lines)
        QCOMPARE(l.count(u'\t'), 6);

    LoopbackServer server;
    QFile ua(data + "ua.m3u");
    QVERIFY(ua.open(QIODevice::ReadOnly));
    server.routes.insert("/countries/ua.m3u", {LoopbackServer::ok(ua.readAll())});
    QProcess p;
    p.start(tool(), {"match", server.base() + "/countries/ua.m3u"});
    QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, 60000);
    QCOMPARE(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY(out.contains(QStringLiteral("Ukrainian\t13\t5 канал\tua\tChannel5.ua@SD\tChannel 5 (1080p)\t")));
    QVERIFY(out.contains(QStringLiteral("public\t1\tОРТ\tru\t-\t-\t-")));

    QProcess missing;
    missing.start(tool(), {"match", server.base() + "/countries/xx.m3u"});
    QTRY_VERIFY_WITH_TIMEOUT(missing.state() == QProcess::NotRunning, 60000);
    QCOMPARE(missing.exitCode(), 1);
    QVERIFY(missing.readAllStandardError().contains("xx.m3u"));
}

QTEST_GUILESS_MAIN(TestChannelCatalogTool)
#include "test_channel_catalog_tool.moc"
