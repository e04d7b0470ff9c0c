// Song titles from the raw bytes stations send: encodings, and the ICY metadata stream itself.
#include "platform/IcyMetadataParser.h"
#include "radio/TitleDecoder.h"

#include <QTest>

#include <iconv.h>

namespace {
// The bytes a station would send for a text, made by the system's own converter (iconv), not by
// the decoder's tables: a typo in a table must show. Empty when the text has no such bytes.
QByteArray systemEncode(const QString& text, const char* codec) {
    iconv_t cd = iconv_open(codec, "UTF-8");
    if (cd == iconv_t(-1))
        return {};
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 4 + 16, '\0');
    char* inp = in.data();
    char* outp = out.data();
    size_t inLeft = size_t(in.size()), outLeft = size_t(out.size());
    const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (r == size_t(-1) || inLeft != 0)
        return {};
    out.resize(out.size() - qsizetype(outLeft));
    return out;
}

QByteArray encodeWith(const QString& text, TitleEncoding encoding) {
    switch (encoding) {
    case TitleEncoding::Windows1251:
        return systemEncode(text, "WINDOWS-1251");
    case TitleEncoding::Koi8R:
        return systemEncode(text, "KOI8-R");
    case TitleEncoding::Windows1252:
        return systemEncode(text, "WINDOWS-1252");
    default:
        return text.toUtf8();
    }
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

    // Real-world titles as stations send them, in every code page the language is sent in, read
    // without a station setting. The bytes come from the system's converter.
    void realTitlesReadRight_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("codec");
        const QStringList russian{QStringLiteral("Кино - Группа крови"),
                                  QStringLiteral("ДДТ - Что такое осень"),
                                  QStringLiteral("Земфира - Хочешь?"),
                                  QStringLiteral("Алла Пугачёва - Миллион алых роз"),
                                  QStringLiteral("Сплин - Выхода нет"),
                                  QStringLiteral("DJ Smash - Волна"),
                                  QStringLiteral("Би-2 feat. Чичерина - Мой рок-н-ролл"),
                                  QStringLiteral("Ленинград – В Питере пить")};
        const QStringList ukrainian{
            QStringLiteral("Океан Ельзи - Обійми"),      QStringLiteral("Бумбокс - Вахтерам"),
            QStringLiteral("Христина Соловій - Тримай"), QStringLiteral("Kalush Orchestra - Стефанія"),
            QStringLiteral("Джамала - Шлях додому"),     QStringLiteral("Go_A - Шум"),
            QStringLiteral("Їжак - Ґанок і є")};
        const QStringList western{
            // German
            QStringLiteral("Die Ärzte - Männer sind Schweine"), QStringLiteral("Herbert Grönemeyer - Männer"),
            QStringLiteral("Kraftwerk - Radioaktivität"),
            QStringLiteral("Wir sind Helden - Müssen nur wollen"),
            QStringLiteral("Motörhead - Ace of Spades"), QStringLiteral("Die Prinzen - Küssen verboten"),
            // French
            QStringLiteral("Édith Piaf - Non, je ne regrette rien"),
            QStringLiteral("Céline Dion - Pour que tu m'aimes encore"),
            QStringLiteral("Françoise Hardy - Tous les garçons et les filles"),
            QStringLiteral("Indila - Dernière danse"), QStringLiteral("Mylène Farmer - Désenchantée"),
            QStringLiteral("Beyoncé – Halo"),
            // Icelandic
            QStringLiteral("Sigur Rós - Hoppípolla"), QStringLiteral("Björk - Jóga"),
            QStringLiteral("Ásgeir - Dýrð í dauðaþögn"), QStringLiteral("Hatari - Hatrið mun sigra"),
            QStringLiteral("Daði Freyr - Think About Things"),
            // Spanish
            QStringLiteral("Rosalía - Malamente"), QStringLiteral("Maná - Clavado en un bar"),
            QStringLiteral("Shakira - Ojos Así"), QStringLiteral("Jesse & Joy - ¡Corre!"),
            QStringLiteral("Alejandro Sanz - Corazón partío"),
            QStringLiteral("Camilo Sesto - Vivir así es morir de amor"),
            QStringLiteral("Don’t Stop – Mañana")};
        for (const QString& t : russian) {
            QTest::newRow(qPrintable("cp1251 " + t)) << t << QByteArray("WINDOWS-1251");
            if (!systemEncode(t, "KOI8-R").isEmpty()) // KOI8-R has no dashes
                QTest::newRow(qPrintable("koi8-r " + t)) << t << QByteArray("KOI8-R");
        }
        for (const QString& t : ukrainian)
            QTest::newRow(qPrintable("cp1251 " + t)) << t << QByteArray("WINDOWS-1251");
        for (const QString& t : western) {
            QTest::newRow(qPrintable("cp1252 " + t)) << t << QByteArray("WINDOWS-1252");
            if (!systemEncode(t, "ISO-8859-1").isEmpty())
                QTest::newRow(qPrintable("latin-1 " + t)) << t << QByteArray("ISO-8859-1");
        }
    }
    void realTitlesReadRight() {
        QFETCH(QString, text);
        QFETCH(QByteArray, codec);
        const QByteArray raw = systemEncode(text, codec.constData());
        QVERIFY2(!raw.isEmpty(), "the system cannot encode the title");
        QVERIFY(raw != text.toUtf8());
        QCOMPARE(decodeTitle(raw), text);
    }

    // The decoder's tables against the system's converter, byte by byte.
    void tablesMatchTheSystem_data() {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("codec");
        QTest::newRow("windows-1251") << int(TitleEncoding::Windows1251) << QByteArray("WINDOWS-1251");
        QTest::newRow("koi8-r") << int(TitleEncoding::Koi8R) << QByteArray("KOI8-R");
        QTest::newRow("windows-1252") << int(TitleEncoding::Windows1252) << QByteArray("WINDOWS-1252");
    }
    void tablesMatchTheSystem() {
        QFETCH(int, encoding);
        QFETCH(QByteArray, codec);
        iconv_t cd = iconv_open("UTF-8", codec.constData());
        QVERIFY(cd != iconv_t(-1));
        int checked = 0;
        for (int b = 0x80; b < 0x100; ++b) {
            char in[1] = {char(b)};
            char out[8];
            char* inp = in;
            char* outp = out;
            size_t inLeft = 1, outLeft = sizeof out;
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1))
                continue; // unassigned in this code page
            const QString expected = QString::fromUtf8(out, qsizetype(sizeof out - outLeft));
            QCOMPARE(decodeTitle(QByteArray(1, char(b)), TitleEncoding(encoding)), expected);
            ++checked;
        }
        iconv_close(cd);
        QVERIFY(checked >= 123);
    }

    void forcedChoiceWinsOverTheGuess() {
        // A KOI8-R title forced to be read as cp1251 comes out as cp1251, whatever the scorer says.
        const QByteArray koi = encodeWith(QStringLiteral("Сплин"), TitleEncoding::Koi8R);
        QVERIFY(decodeTitle(koi, TitleEncoding::Windows1251) != QStringLiteral("Сплин"));
        QCOMPARE(decodeTitle(koi, TitleEncoding::Windows1251), decodeTitle(koi, TitleEncoding::Windows1251));
    }

    void encodingNamesRoundTrip() {
        for (auto e : {TitleEncoding::Auto, TitleEncoding::Utf8, TitleEncoding::Windows1251,
                       TitleEncoding::Koi8R, TitleEncoding::Windows1252})
            QCOMPARE(titleEncodingFromName(titleEncodingName(e)), e);
        QCOMPARE(titleEncodingFromName(QStringLiteral("")), TitleEncoding::Auto);
        QCOMPARE(titleEncodingFromName(QStringLiteral("ebcdic")), TitleEncoding::Auto);
        QCOMPARE(titleEncodingFromName(QStringLiteral(" KOI8-R ")), TitleEncoding::Koi8R);
        QCOMPARE(titleEncodingFromName(QStringLiteral("Latin-1")), TitleEncoding::Windows1252);
        QCOMPARE(titleEncodingFromName(QStringLiteral("iso-8859-1")), TitleEncoding::Windows1252);
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
