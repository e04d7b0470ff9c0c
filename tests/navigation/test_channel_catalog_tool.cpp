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

QTEST_GUILESS_MAIN(TestChannelCatalogTool)
#include "test_channel_catalog_tool.moc"
