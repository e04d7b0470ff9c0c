// Song titles from the raw bytes stations send: encodings, and the ICY metadata stream itself.
#include "platform/IcyMetadataParser.h"
#include "radio/TitleDecoder.h"

#include <QTest>

namespace {
// The bytes a cp1251 or KOI8-R station would send for a text (test-side encoders, by table).
QByteArray encodeWith(const QString& text, TitleEncoding encoding) {
    QByteArray out;
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            out.append(char(c.unicode()));
            continue;
        }
        bool found = false;
        for (int b = 0x80; b < 0x100 && !found; ++b) {
            if (decodeTitle(QByteArray(1, char(b)), encoding) == QString(c)) {
                out.append(char(b));
                found = true;
            }
        }
        if (!found)
            out.append('?');
    }
    return out;
}
} // namespace

class TestTitleDecoder : public QObject {
    Q_OBJECT
private slots:
    void decodes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("sentAs");
        QTest::addColumn<int>("choice");
        const int utf8 = int(TitleEncoding::Utf8), cp = int(TitleEncoding::Windows1251),
                  koi = int(TitleEncoding::Koi8R), autoDetect = int(TitleEncoding::Auto);
        QTest::newRow("utf8 russian") << QStringLiteral("Кино - Группа крови") << utf8 << autoDetect;
        QTest::newRow("utf8 latin accents") << QStringLiteral("Beyoncé - Déjà vu") << utf8 << autoDetect;
        QTest::newRow("ascii") << QStringLiteral("Queen - Bohemian Rhapsody") << cp << autoDetect;
        QTest::newRow("cp1251 mixed case") << QStringLiteral("Кино - Группа крови") << cp << autoDetect;
        QTest::newRow("koi8 mixed case") << QStringLiteral("Кино - Группа крови") << koi << autoDetect;
        QTest::newRow("cp1251 capitals") << QStringLiteral("ДДТ - ЧТО ТАКОЕ ОСЕНЬ") << cp << autoDetect;
        QTest::newRow("koi8 capitals") << QStringLiteral("ДДТ - ЧТО ТАКОЕ ОСЕНЬ") << koi << autoDetect;
        QTest::newRow("cp1251 short") << QStringLiteral("Сплин") << cp << autoDetect;
        QTest::newRow("koi8 short") << QStringLiteral("Сплин") << koi << autoDetect;
        QTest::newRow("koi8 with yo") << QStringLiteral("Алёна Апина - Электричка") << koi << autoDetect;
        QTest::newRow("cp1251 ukrainian") << QStringLiteral("Океан Ельзи - Обійми") << cp << autoDetect;
        QTest::newRow("cp1251 with latin")
            << QStringLiteral("Би-2 feat. Мураками - Молитва") << cp << autoDetect;
        QTest::newRow("forced koi8") << QStringLiteral("Сплин") << koi << koi;
        QTest::newRow("forced cp1251") << QStringLiteral("Кино") << cp << cp;
    }
    void decodes() {
        QFETCH(QString, text);
        QFETCH(int, sentAs);
        QFETCH(int, choice);
        const auto sent = TitleEncoding(sentAs);
        const QByteArray raw = sent == TitleEncoding::Utf8 ? text.toUtf8() : encodeWith(text, sent);
        QCOMPARE(decodeTitle(raw, TitleEncoding(choice)), text);
    }

    void forcedChoiceWinsOverTheGuess() {
        // A KOI8-R title forced to be read as cp1251 comes out as cp1251, whatever the scorer says.
        const QByteArray koi = encodeWith(QStringLiteral("Сплин"), TitleEncoding::Koi8R);
        QVERIFY(decodeTitle(koi, TitleEncoding::Windows1251) != QStringLiteral("Сплин"));
        QCOMPARE(decodeTitle(koi, TitleEncoding::Windows1251), decodeTitle(koi, TitleEncoding::Windows1251));
    }

    void encodingNamesRoundTrip() {
        for (auto e :
             {TitleEncoding::Auto, TitleEncoding::Utf8, TitleEncoding::Windows1251, TitleEncoding::Koi8R})
            QCOMPARE(titleEncodingFromName(titleEncodingName(e)), e);
        QCOMPARE(titleEncodingFromName(QStringLiteral("")), TitleEncoding::Auto);
        QCOMPARE(titleEncodingFromName(QStringLiteral("ebcdic")), TitleEncoding::Auto);
        QCOMPARE(titleEncodingFromName(QStringLiteral(" KOI8-R ")), TitleEncoding::Koi8R);
    }

    void streamTitleField_data() {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QByteArray>("title");
        QTest::newRow("plain") << QByteArray("StreamTitle='A - B';\0\0\0", 23) << QByteArray("A - B");
        QTest::newRow("with url") << QByteArray("StreamTitle='Rock 'n' Roll';StreamUrl='http://x/';")
                                  << QByteArray("Rock 'n' Roll");
        QTest::newRow("apostrophe, no url") << QByteArray("StreamTitle='It's me';") << QByteArray("It's me");
        QTest::newRow("empty") << QByteArray("StreamTitle='';") << QByteArray();
        QTest::newRow("unterminated") << QByteArray("StreamTitle='Cut") << QByteArray("Cut");
        QTest::newRow("none") << QByteArray("StreamUrl='x';") << QByteArray();
    }
    void streamTitleField() {
        QFETCH(QByteArray, block);
        QFETCH(QByteArray, title);
        QCOMPARE(IcyMetadataParser::streamTitle(block), title);
    }

    void parserFollowsTheStreamAcrossAnySplit() {
        // Audio of 16 bytes between blocks: a title, an empty block, the same title again (no news),
        // then a new one whose bytes are not UTF-8.
        const int interval = 16;
        auto block = [](const QByteArray& meta) {
            QByteArray b = meta;
            b.append(QByteArray((16 - b.size() % 16) % 16, '\0'));
            return QByteArray(1, char(b.size() / 16)) + b;
        };
        const QByteArray second = "StreamTitle='\xF3\xD0\xCC\xC9\xCE';"; // "Сплин" in KOI8-R
        QByteArray stream;
        const QByteArray audio(interval, 'x');
        stream += audio + block("StreamTitle='One';") + audio + QByteArray(1, '\0') + audio +
                  block("StreamTitle='One';") + audio + block(second) + audio;
        for (int piece : {1, 3, 7, 16, 17, int(stream.size())}) {
            QList<QByteArray> titles;
            IcyMetadataParser parser(interval, [&](const QByteArray& t) { titles << t; });
            for (qsizetype at = 0; at < stream.size(); at += piece)
                parser.feed(stream.constData() + at, std::min<qsizetype>(piece, stream.size() - at));
            QCOMPARE(titles.size(), 2);
            QCOMPARE(titles[0], QByteArray("One"));
            QCOMPARE(decodeTitle(titles[1]), QStringLiteral("Сплин"));
        }
    }
};

QTEST_GUILESS_MAIN(TestTitleDecoder)
#include "test_title_decoder.moc"
