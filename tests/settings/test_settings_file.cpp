#include "common/LargeSettingIni.h"
#include "settings/IniText.h"
#include "settings/SettingsFile.h"
#include "settings/WriterLock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <optional>

#include <csignal>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Writes go to disk in the background; a test that looks at the file waits for them, at most
// this long (a loaded machine can make a disk sync slow).
constexpr int FlushMs = 60000;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Child modes, run by re-starting this test binary.
//   writer <path> <prefix> <count>: writes count distinct keys
//   loop <path>: rewrites one key with a growing counter forever, saying "ready" once the first
//                write is on disk, so the parent waits on that signal and not on a guessed time
//   exit <path>: writes one key and ends at once
int runChildModes(int argc, char** argv) {
    const QString mode = QString::fromLocal8Bit(argv[1]);
    SettingsFile file(QString::fromLocal8Bit(argv[2]));
    if (mode == QLatin1String("--writer") && argc == 5) {
        const QString prefix = QString::fromLocal8Bit(argv[3]);
        const int count = QByteArray(argv[4]).toInt();
        for (int i = 0; i < count; ++i)
            file.WriteString(QStringLiteral("Favorite"), prefix + QString::number(i),
                             QStringLiteral("Канал ") + QString::number(i));
        return 0;
    }
    if (mode == QLatin1String("--hold")) {
        // Takes the writers' lock and keeps it until killed.
        QString reason;
        const std::optional<WriterLock> lock = WriterLock::acquire(file.path(), 60000, reason);
        if (!lock)
            return 4;
        fputs("locked\n", stdout);
        fflush(stdout);
        for (;;)
            pause();
    }
    if (mode == QLatin1String("--loop")) {
        for (qint64 i = 1;; ++i) {
            file.WriteString(QStringLiteral("Loop"), QStringLiteral("counter"),
                             QString::number(i).repeated(50));
            if (i == 1) {
                if (!file.flush(FlushMs))
                    return 5;
                fputs("ready\n", stdout);
                fflush(stdout);
            }
        }
    }
    if (mode == QLatin1String("--exit")) {
        file.WriteString(QStringLiteral("Exit"), QStringLiteral("written"), QStringLiteral("at the end"));
        return 0; // the file's owner goes now, with the write still under way
    }
    return 2;
}

// A refused write ends the child with its reason on stderr, for the parent to report.
int runChild(int argc, char** argv) {
    try {
        return runChildModes(argc, argv);
    } catch (const SettingsWriteError& e) {
        fprintf(stderr, "%s\n", e.what());
        return 3;
    }
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QStringLiteral("Setting.ini")); }

private slots:
    void init() {
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(dir.filePath(name));
    }

    void valuesReadBackExactly_data() {
        QTest::addColumn<QString>("value");
        const QList<std::pair<const char*, QString>> rows{
            {"plain", QStringLiteral("Neutral (internal)")},
            {"empty", QString()},
            {"leading spaces", QStringLiteral("   abc")},
            {"trailing spaces", QStringLiteral("abc   ")},
            {"only spaces", QStringLiteral("   ")},
            {"leading tab", QStringLiteral("\tabc")},
            {"run of spaces inside", QStringLiteral("a     b")},
            {"quoted", QStringLiteral("\"x\"")},
            {"single-quoted", QStringLiteral("'x'")},
            {"two quotes", QStringLiteral("\"\"")},
            {"one quote", QStringLiteral("\"")},
            {"quote inside", QStringLiteral("a\"b")},
            {"opening quote only", QStringLiteral("\"abc")},
            {"quoted with spaces", QStringLiteral(" \"x\" ")},
            {"equals signs", QStringLiteral("a=b==c")},
            {"leading equals", QStringLiteral("=x")},
            {"semicolon first", QStringLiteral(";not a comment")},
            {"hash first", QStringLiteral("#not a comment")},
            {"brackets", QStringLiteral("[Skin]")},
            {"closing bracket", QStringLiteral("]")},
            {"url", QStringLiteral("http://radio.example:8000/live?x=1&y=2;z")},
            {"cyrillic", QStringLiteral("Первый канал. ОРТ")},
            {"language caption", QStringLiteral("Белорусский [Blr]")},
            {"chinese", QStringLiteral("中文 [Chi] 俄罗斯")},
        };
        for (const auto& [name, value] : rows)
            QTest::newRow(name) << value;
    }
    void valuesReadBackExactly() {
        QFETCH(QString, value);
        writeAll(ini(), "; kept\n[Favorite]\nfa=first\n[MyRadio]\nMyRa=x\n");
        SettingsFile file(ini());
        file.WriteString(QStringLiteral("Favorite"), QStringLiteral("fb"), value);
        file.WriteString(QStringLiteral("Favorite"), QStringLiteral("fa"), value);
        file.WriteString(QStringLiteral("New"), QStringLiteral("k"), value);
        QVERIFY(file.flush(FlushMs));
        const SettingsFile reopened(ini());
        for (const char* key : {"fa", "fb"})
            QCOMPARE(
                reopened.ReadString(QStringLiteral("Favorite"), QLatin1String(key), QStringLiteral("def")),
                value);
        QCOMPARE(reopened.ReadString(QStringLiteral("New"), QStringLiteral("k"), QStringLiteral("def")),
                 value);
        QCOMPARE(
            reopened.ReadString(QStringLiteral("MyRadio"), QStringLiteral("MyRa"), QStringLiteral("def")),
            QStringLiteral("x"));
    }

    void handWrittenFilesRead_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray f = "top=before any section\n"
                             "[Skin]\n"
                             "useSkin=  Ocean  \n"
                             "   Spaced   =   a  b   \n"
                             "dq=\"x\"\n"
                             "sq='y'\n"
                             "halfq=\"z\n"
                             "inner=say \"hi\"\n"
                             "no equals sign here\n"
                             "; c=comment\n"
                             "empty=\n"
                             "dup=first\n"
                             "dup=second\n"
                             "[  Proxy  ]\n"
                             "useIP=10.0.0.1\n"
                             "[broken\n"
                             "usePort=8080\n"
                             "[skin]\n"
                             "later=in a repeated section\n";
        QTest::newRow("blanks around value dropped") << f << "Skin"
                                                     << "useSkin"
                                                     << "Ocean";
        QTest::newRow("names case-insensitive") << f << "SKIN"
                                                << "USESKIN"
                                                << "Ocean";
        QTest::newRow("blanks around key dropped") << f << "skin"
                                                   << "spaced"
                                                   << "a  b";
        QTest::newRow("double quotes stripped") << f << "Skin"
                                                << "dq"
                                                << "x";
        QTest::newRow("single quotes stripped") << f << "Skin"
                                                << "sq"
                                                << "y";
        QTest::newRow("unmatched quote kept") << f << "Skin"
                                              << "halfq"
                                              << "\"z";
        QTest::newRow("inner quotes kept") << f << "Skin"
                                           << "inner"
                                           << "say \"hi\"";
        QTest::newRow("empty value") << f << "Skin"
                                     << "empty"
                                     << "";
        QTest::newRow("first of duplicate keys") << f << "Skin"
                                                 << "dup"
                                                 << "first";
        QTest::newRow("blanks in section header") << f << "proxy"
                                                  << "useip"
                                                  << "10.0.0.1";
        QTest::newRow("broken header does not open a section") << f << "Proxy"
                                                               << "usePort"
                                                               << "8080";
        QTest::newRow("missing key") << f << "Skin"
                                     << "nothing"
                                     << "<def>";
        QTest::newRow("missing section") << f << "Language"
                                         << "useLanguage"
                                         << "<def>";
        QTest::newRow("comment is no key") << f << "Skin"
                                           << "; c"
                                           << "<def>";
        QTest::newRow("line without equals is no key") << f << "Skin"
                                                       << "no equals sign here"
                                                       << "<def>";
        QTest::newRow("key before any section ignored") << f << ""
                                                        << "top"
                                                        << "<def>";
        QTest::newRow("repeated section not searched") << f << "Skin"
                                                       << "later"
                                                       << "<def>";
        QTest::newRow("CRLF line ends") << QByteArray("[A]\r\nk=v \r\n") << "a"
                                        << "K"
                                        << "v";
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF[Language]\nuseLanguage=Украинский [Ua]\n")
                                    << "Language"
                                    << "useLanguage"
                                    << "Украинский [Ua]";
        // Two files joined: the second one's mark starts a line and counts as a blank there.
        QTest::newRow("UTF-8 mark in mid-file")
            << QByteArray("[Favorite]\nfa=x\n\xEF\xBB\xBF[MyRadio]\nMyRa1=a\n") << "MyRadio"
            << "MyRa1"
            << "a";
        QTest::newRow("cut-off UTF-8 at the end") << QByteArray("[A]\nk=ab\xE2\x82") << "A"
                                                  << "k"
                                                  << "ab\uFFFD\uFFFD";
        QTest::newRow("cut-off UTF-16 at the end") << QByteArray("\xFF\xFE[\0A\0]\0\n\0k\0=\0b\0c", 17) << "A"
                                                   << "k"
                                                   << "b\uFFFD";
    }
    void handWrittenFilesRead() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        writeAll(ini(), content);
        QCOMPARE(SettingsFile(ini()).ReadString(section, key, QStringLiteral("<def>")), expected);
    }

    void utf16FileReadAndRewrittenAsUtf8() {
        const QString text =
            QStringLiteral("[Language]\r\nuseLanguage=Китайский [Chi]\r\n[Favorite]\r\nfa=中文台\r\n");
        QByteArray bytes("\xFF\xFE");
        bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        writeAll(ini(), bytes);
        SettingsFile file(ini());
        QCOMPARE(file.ReadString(QStringLiteral("language"), QStringLiteral("uselanguage"), {}),
                 QStringLiteral("Китайский [Chi]"));
        QCOMPARE(file.ReadString(QStringLiteral("Favorite"), QStringLiteral("fa"), {}),
                 QStringLiteral("中文台"));

        file.WriteString(QStringLiteral("Favorite"), QStringLiteral("fb"), QStringLiteral("Второй"));
        QVERIFY(file.flush(FlushMs));
        QCOMPARE(readAll(ini()),
                 QStringLiteral(
                     "[Language]\r\nuseLanguage=Китайский [Chi]\r\n[Favorite]\r\nfa=中文台\r\nfb=Второй\r\n")
                     .toUtf8());
    }

    void booleans_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("whenDefaultFalse");
        QTest::addColumn<bool>("whenDefaultTrue");
        QTest::newRow("1") << QByteArray("k=1") << true << true;
        QTest::newRow("0") << QByteArray("k=0") << false << false;
        QTest::newRow("2") << QByteArray("k=2") << true << true;
        QTest::newRow("-1") << QByteArray("k=-1") << true << true;
        QTest::newRow("0x1F") << QByteArray("k=0x1F") << true << true;
        QTest::newRow("0x0") << QByteArray("k=0X0") << false << false;
        QTest::newRow("blanks around 0") << QByteArray("k=  0  ") << false << false;
        QTest::newRow("abc") << QByteArray("k=abc") << false << true;
        QTest::newRow("empty") << QByteArray("k=") << false << true;
        QTest::newRow("fraction") << QByteArray("k=1.5") << false << true;
        QTest::newRow("bare 0x") << QByteArray("k=0x") << false << true;
        QTest::newRow("beyond 32 bits") << QByteArray("k=99999999999") << false << true;
        QTest::newRow("missing") << QByteArray("other=1") << false << true;
    }
    void booleans() {
        QFETCH(QByteArray, stored);
        QFETCH(bool, whenDefaultFalse);
        QFETCH(bool, whenDefaultTrue);
        writeAll(ini(), "[SecretCode]\n" + stored + "\n");
        const SettingsFile file(ini());
        QCOMPARE(file.ReadBool(QStringLiteral("SecretCode"), QStringLiteral("k"), false), whenDefaultFalse);
        QCOMPARE(file.ReadBool(QStringLiteral("SecretCode"), QStringLiteral("k"), true), whenDefaultTrue);
    }

    void missingFileGivesDefaultsAndFirstWriteCreatesIt() {
        SettingsFile file(ini());
        QCOMPARE(file.ReadString(QStringLiteral("SecretCode"), QStringLiteral("useSecretCode"),
                                 QStringLiteral("759")),
                 QStringLiteral("759"));
        QCOMPARE(file.ReadBool(QStringLiteral("SecretCode"), QStringLiteral("SelectSecretCode"), true), true);
        file.WriteBool(QStringLiteral("Proxy"), QStringLiteral("useProxy"), true);
        file.WriteBool(QStringLiteral("OnTop"), QStringLiteral("useOnTop"), false);
        QVERIFY(file.flush(FlushMs));
        QCOMPARE(readAll(ini()), QByteArray("[Proxy]\nuseProxy=1\n[OnTop]\nuseOnTop=0\n"));
        QVERIFY(!QFile::exists(ini() + QStringLiteral(".lock")));
    }

    void emptyValueStaysAsKey() {
        writeAll(ini(), "[Favorite]\nfa=Первый канал\nfb=ТНТ\n");
        SettingsFile file(ini());
        file.WriteString(QStringLiteral("Favorite"), QStringLiteral("fa"), QString());
        QVERIFY(file.flush(FlushMs));
        QCOMPARE(readAll(ini()), QStringLiteral("[Favorite]\nfa=\nfb=ТНТ\n").toUtf8());
        QCOMPARE(file.ReadString(QStringLiteral("Favorite"), QStringLiteral("fa"), QStringLiteral("def")),
                 QString());
    }

    void untouchedLinesKeepTheirBytes() {
        // Odd spacing, comments, an unknown section, CRLF, a Latin-1 byte and no final line end.
        const QByteArray before = "; Settings of the player\r\n"
                                  "\r\n"
                                  "[Skin]\r\n"
                                  "  useSkin =  Ocean  \r\n"
                                  "; trailing comment of Skin\r\n"
                                  "\r\n"
                                  "[Unknown]\r\n"
                                  "x = \xE9t\xE9 \r\n"
                                  "[Favorite]\r\n"
                                  "FA=Первый\r\n"
                                  "fb=Второй";
        writeAll(ini(), before);
        SettingsFile file(ini());
        file.WriteString(QStringLiteral("skin"), QStringLiteral("USESKIN"),
                         QStringLiteral("Neutral (internal)"));
        file.WriteString(QStringLiteral("Skin"), QStringLiteral("extra"), QStringLiteral(" padded "));
        file.WriteString(QStringLiteral("favorite"), QStringLiteral("fa"), QStringLiteral("НТВ"));
        file.WriteString(QStringLiteral("Favorite"), QStringLiteral("fc"), QStringLiteral("Третий"));
        file.WriteString(QStringLiteral("MyRadio"), QStringLiteral("MyRa"),
                         QStringLiteral("http://r.example/"));
        QVERIFY(file.flush(FlushMs));
        const QByteArray expected = "; Settings of the player\r\n"
                                    "\r\n"
                                    "[Skin]\r\n"
                                    "useSkin=Neutral (internal)\r\n"
                                    "extra=\" padded \"\r\n"
                                    "; trailing comment of Skin\r\n"
                                    "\r\n"
                                    "[Unknown]\r\n"
                                    "x = \xE9t\xE9 \r\n"
                                    "[Favorite]\r\n" +
                                    QStringLiteral("FA=НТВ\r\nfb=Второй\r\nfc=Третий\r\n").toUtf8() +
                                    "[MyRadio]\r\nMyRa=http://r.example/\r\n";
        QCOMPARE(readAll(ini()), expected);
    }

    void utf8MarkKept() {
        writeAll(ini(), "\xEF\xBB\xBF[Skin]\nuseSkin=a\n");
        SettingsFile file(ini());
        file.WriteString(QStringLiteral("Skin"), QStringLiteral("useSkin"), QStringLiteral("b"));
        QVERIFY(file.flush(FlushMs));
        QCOMPARE(readAll(ini()), QByteArray("\xEF\xBB\xBF[Skin]\nuseSkin=b\n"));
    }

    void failedWritesThrowAndChangeNothing() {
        // A path below a regular file can be created by nobody, root included.
        const QString blocker = dir.filePath(QStringLiteral("plain-file"));
        writeAll(blocker, "x");
        const QString bad = blocker + QStringLiteral("/Setting.ini");
        SettingsFile unwritable(bad);
        try {
            unwritable.WriteString(QStringLiteral("Skin"), QStringLiteral("useSkin"), QStringLiteral("x"));
            QFAIL("no error");
        } catch (const SettingsWriteError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Unable to write to ") + bad);
        }
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                 unwritable.WriteBool(QStringLiteral("a"), QStringLiteral("b"), true));

        // A line break would split the entry: the value is refused and the file stays as it was.
        writeAll(ini(), "[MyRadio]\nMyRNa=old\n");
        SettingsFile file(ini());
        for (const QString& value :
             {QStringLiteral("two\nlines"), QStringLiteral("cr\r"), QStringLiteral("\r\nx=y"),
              QString(QChar(0xD800)) + u'x', u'x' + QString(QChar(0xDC00)), QStringLiteral("nul") + QChar(0)})
            QVERIFY_THROWS_EXCEPTION(SettingsWriteError, file.WriteString(QStringLiteral("MyRadio"),
                                                                          QStringLiteral("MyRNa"), value));
        QCOMPARE(readAll(ini()), QByteArray("[MyRadio]\nMyRNa=old\n"));
    }

    // Whatever the file holds, a value that was written is the value read back, and the other
    // keys keep theirs.
    void writesReadBackInAwkwardFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("mark in mid-file") << QByteArray("[Favorite]\nfa=x\n\xEF\xBB\xBF[MyRadio]\nMyRa1=a\n");
        QTest::newRow("mark before the section") << QByteArray("\xEF\xBB\xBF[MyRadio]\nMyRa1=a\n");
        QTest::newRow("cut-off UTF-8 at the end") << QByteArray("[MyRadio]\nMyRa1=a\xE2\x82");
        QTest::newRow("invalid UTF-8") << QByteArray("[My\xFFRadio]\n[MyRadio]\nMyRa1=\xC0\xAF\n");
        QTest::newRow("NUL bytes") << QByteArray("[MyRadio]\nx=") + '\0' + "b\n\0\nMyRa1=a\n";
        QTest::newRow("only CR line ends") << QByteArray("[MyRadio]\rMyRa1=a\r");
        QTest::newRow("repeated section") << QByteArray("[myradio]\nMyRa1=a\n[MyRadio]\nMyRa2=old\n");
        QTest::newRow("mark alone") << QByteArray("\xEF\xBB\xBF");
    }
    void writesReadBackInAwkwardFiles() {
        QFETCH(QByteArray, content);
        writeAll(ini(), content);
        SettingsFile file(ini());
        const QString first = file.ReadString(QStringLiteral("MyRadio"), QStringLiteral("MyRa1"), {});
        for (int slot = 2; slot <= 4; ++slot)
            file.WriteString(QStringLiteral("MyRadio"), QStringLiteral("MyRa%1").arg(slot),
                             QStringLiteral("station %1").arg(slot));
        QVERIFY(file.flush(FlushMs));
        const SettingsFile reopened(ini());
        for (int slot = 2; slot <= 4; ++slot)
            QCOMPARE(reopened.ReadString(QStringLiteral("MyRadio"), QStringLiteral("MyRa%1").arg(slot), {}),
                     QStringLiteral("station %1").arg(slot));
        QCOMPARE(reopened.ReadString(QStringLiteral("MyRadio"), QStringLiteral("MyRa1"), {}), first);
        file.WriteString(QStringLiteral("MyRadio"), QStringLiteral("MyRa1"), first);
        QCOMPARE(reopened.ReadString(QStringLiteral("MyRadio"), QStringLiteral("MyRa1"), {}), first);
    }

    // Names that would read back as something else are refused like such values.
    void unstorableNamesRefused() {
        SettingsFile file(ini());
        const QList<std::pair<QString, QString>> names{
            {QStringLiteral("a]b"), QStringLiteral("k")}, {QStringLiteral(" A"), QStringLiteral("k")},
            {QStringLiteral("A"), QStringLiteral("k=v")}, {QStringLiteral("A"), QString()},
            {QStringLiteral("A"), QStringLiteral(";k")},  {QStringLiteral("A"), QStringLiteral("k ")},
        };
        for (const auto& [section, key] : names)
            QVERIFY_THROWS_EXCEPTION(SettingsWriteError, file.WriteString(section, key, QStringLiteral("v")));
        QVERIFY(!QFile::exists(ini()) || readAll(ini()).isEmpty());
    }

    // Each read sees the file as it is now, even when it changes in place to the same size.
    void readsSeeTheFileAsItIsNow() {
        const SettingsFile file(ini());
        QCOMPARE(file.ReadString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("def")),
                 QStringLiteral("def"));
        for (const char* digit : {"1", "2", "3"}) {
            QFile f(ini());
            QVERIFY(f.open(QIODevice::ReadWrite)); // in place: same inode, same size
            f.resize(0);
            f.write(QByteArray("[A]\nk=") + digit + "\n");
            f.close();
            QCOMPARE(file.ReadString(QStringLiteral("A"), QStringLiteral("k"), {}), QLatin1String(digit));
        }
        QVERIFY(QFile::remove(ini()));
        QCOMPARE(file.ReadString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("def")),
                 QStringLiteral("def"));
    }

    // Whatever a dead writer left behind, the next write goes through at once.
    void leftoversOfDeadWritersBlockNothing() {
        writeAll(ini(), "[Keep]\nk=v\n");
        writeAll(ini() + QStringLiteral(".lock"), QByteArray()); // an empty lock of an older writer
        writeAll(ini() + QStringLiteral(".new"), "half a fi");   // a new file not yet renamed
        // Files beside it that the writer cannot prove are its own stay as they are, whatever
        // their names look like.
        const QStringList others{QStringLiteral(".BackUp"), QStringLiteral(".OldCfg"),
                                 QStringLiteral(".aBcDeF"), QStringLiteral(".backup"),
                                 QStringLiteral(".NEW"),    QStringLiteral(".new~")};
        for (const QString& suffix : others)
            writeAll(ini() + suffix, "the user's own copy " + suffix.toUtf8());
        SettingsFile file(ini());
        file.WriteString(QStringLiteral("Keep"), QStringLiteral("a"), QStringLiteral("1"));
        QVERIFY(file.flush(FlushMs));
        QCOMPARE(readAll(ini()), QByteArray("[Keep]\nk=v\na=1\n"));
        QVERIFY(!QFile::exists(ini() + QStringLiteral(".new")));
        for (const QString& suffix : others)
            QCOMPARE(readAll(ini() + suffix), "the user's own copy " + suffix.toUtf8());

        QVERIFY(QFile::remove(ini() + QStringLiteral(".lock")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Setting.ini.lock")));
        file.WriteString(QStringLiteral("Keep"), QStringLiteral("b"), QStringLiteral("2"));
        QVERIFY(file.flush(FlushMs));
        QCOMPARE(file.ReadString(QStringLiteral("Keep"), QStringLiteral("b"), {}), QStringLiteral("2"));
        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("Setting.ini.lock")));

        // A writer killed while holding the lock: the lock ends with it.
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold"), ini()});
        QVERIFY(holder.waitForStarted(60000));
        QVERIFY2(holder.waitForReadyRead(180000), qPrintable(holder.readAllStandardError()));
        QCOMPARE(holder.readAllStandardOutput(), QByteArray("locked\n"));
        holder.kill();
        QVERIFY(holder.waitForFinished(60000));
        file.WriteString(QStringLiteral("Keep"), QStringLiteral("c"), QStringLiteral("3"));
        QVERIFY(file.flush(FlushMs));
        QCOMPARE(readAll(ini()), QByteArray("[Keep]\nk=v\na=1\nb=2\nc=3\n"));
    }

    // A live writer that keeps the lock makes the background write give up after a short wait,
    // not hang: the file stays as it was, the value stays in memory, the next write says so, and
    // once the other writer lets go, the value reaches the file.
    void liveWriterMakesAWriteWaitABoundedTime() {
        writeAll(ini(), "[Keep]\nk=v\n");
        const int fd = ::open(QFile::encodeName(ini()).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        QCOMPARE(::flock(fd, LOCK_EX), 0);
        SettingsFile file(ini());
        file.WriteString(QStringLiteral("Keep"), QStringLiteral("k"), QStringLiteral("w"));
        QCOMPARE(file.ReadString(QStringLiteral("Keep"), QStringLiteral("k"), {}), QStringLiteral("w"));
        QVERIFY(!file.flush(FlushMs));
        QCOMPARE(readAll(ini()), QByteArray("[Keep]\nk=v\n"));
        QVERIFY_THROWS_EXCEPTION(
            SettingsWriteError,
            file.WriteString(QStringLiteral("Keep"), QStringLiteral("x"), QStringLiteral("refused")));
        ::close(fd);
        QVERIFY(file.flush(FlushMs));
        QCOMPARE(readAll(ini()), QByteArray("[Keep]\nk=w\n"));
    }

    // Changes gathered into one write give the file that one write per change would have given.
    void manyChangesInOneWriteMatchOneByOne_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("usual") << QByteArray(
            "; mine\n[Skin]\nuseSkin=a\n\n[Favorite]\nfa=x\n; end of favourites\n"
            "\n[MyRadio]\nMyRa=u\n");
        QTest::newRow("CRLF, no final line end") << QByteArray("[SKIN]\r\nUSESKIN = b \r\n[Other]\r\nq=1");
        QTest::newRow("section without keys, repeated")
            << QByteArray("[Favorite]\n[x]\n[favorite]\nfb=late\n");
        QTest::newRow("UTF-8 mark, duplicate keys") << QByteArray("\xEF\xBB\xBF[Favorite]\nfa=1\nFA=2\n");
        QTest::newRow("keys before any section") << QByteArray("fa=top\n[Proxy]\nuseIP=1");
    }
    void manyChangesInOneWriteMatchOneByOne() {
        QFETCH(QByteArray, content);
        const std::vector<IniText::Change> changes{
            {"Favorite", "fb", "second"},
            {"Skin", "UseSkin", "Ocean"},
            {"New", "k1", " padded "},
            {"favorite", "FA", "first"},
            {"NEW", "k2", ""},
            {"MyRadio", "MyRNa", "Радио"},
            {"Proxy", "useIP", "\"q\""},
            {"Other", "q", "2"},
        };
        QByteArray oneByOne = content;
        for (const IniText::Change& c : changes)
            oneByOne = IniText::WithValue(oneByOne, c.section, c.key, c.value);
        QCOMPARE(IniText::WithValues(content, changes), oneByOne);
    }

    // A whole section: the first of its name, the first of keys named alike, then the keys
    // written since that are not in the file yet.
    void sectionsReadWhole() {
        writeAll(ini(), "[IPTVMatch]\nОРТ=Первый канал\n; note\nнтв=НТВ HD\nНТВ=later\n[Other]\nx=1\n"
                        "[iptvmatch]\nTNT=ТНТ\n");
        SettingsFile file(ini());
        file.WriteString(QStringLiteral("IPTVMatch"), QStringLiteral("НТВ"), QStringLiteral("НТВ Мир"));
        file.WriteString(QStringLiteral("iptvMatch"), QStringLiteral("СТС"), QStringLiteral("CTC"));
        const std::vector<std::pair<QString, QString>> expected{
            {QStringLiteral("ОРТ"), QStringLiteral("Первый канал")},
            {QStringLiteral("нтв"), QStringLiteral("НТВ Мир")},
            {QStringLiteral("СТС"), QStringLiteral("CTC")}};
        QVERIFY(file.ReadSection(QStringLiteral("IPTVMATCH")) == expected);
        QVERIFY(file.flush(FlushMs));
        QVERIFY(SettingsFile(ini()).ReadSection(QStringLiteral("IPTVMatch")) == expected);
        QVERIFY(file.ReadSection(QStringLiteral("Missing")).empty());
    }

    // Changes are written from the file as it is then: what another program or the user put
    // there between two writes stays.
    void editsOfOthersBetweenWritesAreKept() {
        writeAll(ini(), "[Skin]\nuseSkin=a\n");
        SettingsFile file(ini());
        file.WriteString(QStringLiteral("Skin"), QStringLiteral("useSkin"), QStringLiteral("b"));
        QVERIFY(file.flush(FlushMs));
        // An editor saves by writing a new file and renaming it over the old one.
        writeAll(ini() + QStringLiteral(".edit"), "; the user's note\n[Skin]\nuseSkin=b\n[Mine]\nz=1\n");
        QVERIFY(::rename(QFile::encodeName(ini() + QStringLiteral(".edit")).constData(),
                         QFile::encodeName(ini()).constData()) == 0);
        QCOMPARE(file.ReadString(QStringLiteral("Mine"), QStringLiteral("z"), {}), QStringLiteral("1"));
        file.WriteString(QStringLiteral("Skin"), QStringLiteral("useSkin"), QStringLiteral("c"));
        QVERIFY(file.flush(FlushMs));
        QCOMPARE(readAll(ini()), QByteArray("; the user's note\n[Skin]\nuseSkin=c\n[Mine]\nz=1\n"));
    }

    // Many writes in a row on a large file: each is read back at once, the latest value of each
    // key is the one on disk, and nothing else in the file changes.
    void latestWriteWinsOnALargeFile() {
        const QByteArray big = LargeSettingIni(8 << 20);
        writeAll(ini(), big);
        SettingsFile file(ini());
        for (int i = 0; i < 200; ++i) {
            file.WriteString(QStringLiteral("OnTop"), QStringLiteral("useOnTop"), QString::number(i));
            file.WriteString(QStringLiteral("Favorite"), QStringLiteral("f%1").arg(i % 5),
                             QString::number(i));
            QCOMPARE(file.ReadString(QStringLiteral("OnTop"), QStringLiteral("useOnTop"), {}),
                     QString::number(i));
        }
        QVERIFY(file.flush(FlushMs));
        QByteArray expected = big;
        expected.replace("useOnTop=0\n", "useOnTop=199\n");
        expected.replace("fb=НТВ\n", "fb=НТВ\nf0=195\nf1=196\nf2=197\nf3=198\nf4=199\n");
        QCOMPARE(readAll(ini()), expected);
    }

    // The program ends right after a write to a large file: the write is on disk all the same.
    void writeAtExitIsFlushed() {
        const QByteArray big = LargeSettingIni(50 << 20);
        writeAll(ini(), big);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--exit"), ini()});
        QVERIFY(child.waitForFinished(180000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 0, qPrintable(child.readAllStandardError()));
        QCOMPARE(readAll(ini()), big + "[Exit]\nwritten=at the end\n");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Setting.ini")});
    }

    // A write that fails half-way (the disk refuses more bytes) leaves the old file whole and
    // its reason in the log; the value stays in memory, the next write reports the failure, and
    // once the disk takes bytes again everything reaches the file.
    void failedWriteKeepsTheOldFile() {
        const QByteArray old = LargeSettingIni(2 << 20);
        writeAll(ini(), old);
        SettingsFile file(ini());

        static QStringList logged;
        logged.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("zelmo.settings.warning=true"));
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
                if (qstrcmp(context.category, "zelmo.settings") == 0)
                    logged << text;
            });
        // Files of this process may not grow past 1 MB: the new file cannot be written whole.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit saved = limit;
        limit.rlim_cur = 1 << 20;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);

        file.WriteString(QStringLiteral("Skin"), QStringLiteral("useSkin"), QStringLiteral("Ocean"));
        const bool written = file.flush(FlushMs);
        QVERIFY_THROWS_EXCEPTION(
            SettingsWriteError,
            file.WriteString(QStringLiteral("Skin"), QStringLiteral("other"), QStringLiteral("refused")));
        QVERIFY(!file.flush(FlushMs)); // the try set off by the report fails too
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());

        QVERIFY(!written);
        QCOMPARE(readAll(ini()), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Setting.ini")});
        QVERIFY2(!logged.isEmpty() && logged.first().contains(QString::fromLocal8Bit(std::strerror(EFBIG))),
                 qPrintable(logged.join(u'\n')));
        QCOMPARE(file.ReadString(QStringLiteral("Skin"), QStringLiteral("useSkin"), {}),
                 QStringLiteral("Ocean"));
        QCOMPARE(file.ReadString(QStringLiteral("Skin"), QStringLiteral("other"), QStringLiteral("def")),
                 QStringLiteral("def"));

        QVERIFY(file.flush(FlushMs));
        QByteArray expected = old;
        expected.replace("useSkin=Neutral (internal)\n", "useSkin=Ocean\n");
        QCOMPARE(readAll(ini()), expected);
    }

    void concurrentWritersLoseNothing() {
        const int perWriter = 60;
        QList<QProcess*> children;
        for (const char* prefix : {"a", "b", "c"}) {
            auto* p = new QProcess(this);
            p->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--writer"), ini(), QLatin1String(prefix), QString::number(perWriter)});
            children << p;
        }
        for (QProcess* p : children) {
            QVERIFY(p->waitForFinished(180000));
            QVERIFY2(p->exitCode() == 0, qPrintable(p->readAllStandardError()));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        }
        const SettingsFile file(ini());
        for (const char* prefix : {"a", "b", "c"})
            for (int i = 0; i < perWriter; ++i)
                QCOMPARE(file.ReadString(QStringLiteral("Favorite"),
                                         QLatin1String(prefix) + QString::number(i), {}),
                         QStringLiteral("Канал ") + QString::number(i));
    }

    void writerKilledMidWriteLeavesAWholeFile() {
        writeAll(ini(), "[Keep]\nk=v\n");
        for (int round = 0; round < 3; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--loop"), ini()});
            // Generous bounds: every write syncs to disk, which a loaded machine can make slow.
            QVERIFY(child.waitForStarted(60000));
            QVERIFY2(child.waitForReadyRead(180000), qPrintable(child.readAllStandardError()));
            QCOMPARE(child.readAllStandardOutput(), QByteArray("ready\n"));
            QTest::qWait(5 * round); // vary the moment of death a little
            child.kill();
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit); // killed, not stopped by a failure

            const SettingsFile file(ini());
            QCOMPARE(file.ReadString(QStringLiteral("Keep"), QStringLiteral("k"), {}), QStringLiteral("v"));
            const QString counter = file.ReadString(QStringLiteral("Loop"), QStringLiteral("counter"), {});
            QVERIFY(!counter.isEmpty());
            QCOMPARE(counter.size() % 50, 0);
            QCOMPARE(counter, counter.first(counter.size() / 50).repeated(50));
        }
        // The lock of a killed writer does not block the next one, and its new file is gone.
        SettingsFile(ini()).WriteString(QStringLiteral("Keep"), QStringLiteral("k"), QStringLiteral("w"));
        QCOMPARE(SettingsFile(ini()).ReadString(QStringLiteral("Keep"), QStringLiteral("k"), {}),
                 QStringLiteral("w"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Setting.ini")});
    }
};

int main(int argc, char** argv) {
    if (argc >= 3 && (std::strcmp(argv[1], "--writer") == 0 || std::strcmp(argv[1], "--loop") == 0 ||
                      std::strcmp(argv[1], "--hold") == 0 || std::strcmp(argv[1], "--exit") == 0))
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestSettingsFile t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_settings_file.moc"
