#include "platform/LocalUrl.h"

#include <QTest>

class TestLocalUrl : public QObject {
    Q_OBJECT
private slots:
    void conversions_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("url");
        QTest::newRow("local path") << QStringLiteral("/opt/z/AppDir/channel\\public\\ort.htm")
                                    << QStringLiteral("file:///opt/z/AppDir/channel/public/ort.htm");
        QTest::newRow("spaces in a file name") << QStringLiteral("/a/channel\\tv-program\\mults\\The childern world.htm")
                                    << QStringLiteral("file:///a/channel/tv-program/mults/The%20childern%20world.htm");
        QTest::newRow("https") << QStringLiteral("https://x.example/start11") << QStringLiteral("https://x.example/start11");
        QTest::newRow("blank") << QStringLiteral("about:blank") << QStringLiteral("about:blank");
    }
    void conversions() {
        QFETCH(QString, input);
        QFETCH(QString, url);
        QCOMPARE(ToViewUrl(input).toString(QUrl::FullyEncoded), url);
    }
};

QTEST_GUILESS_MAIN(TestLocalUrl)
#include "test_local_url.moc"
