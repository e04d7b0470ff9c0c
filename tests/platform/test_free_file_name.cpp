// Recording names: a bare file name only, and never a file that exists.
#include "platform/FreeFileName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFreeFileName : public QObject {
    Q_OBJECT
private slots:
    void namesAreBareFileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("problem");
        const auto none = int(FileNameProblem::None);
        QTest::newRow("station and time") << QStringLiteral("Европа Плюс 2026-12-11 18-05") << none;
        QTest::newRow("dots inside words") << QStringLiteral("Mr. Big vs. D.J. Smash") << none;
        QTest::newRow("leading dash") << QStringLiteral("-rec") << none;
        QTest::newRow("empty") << QString() << int(FileNameProblem::Empty);
        QTest::newRow("only spaces") << QStringLiteral("   ") << int(FileNameProblem::Empty);
        QTest::newRow("parent") << QStringLiteral("../escape") << int(FileNameProblem::Separator);
        QTest::newRow("bare dot dot") << QStringLiteral("..") << int(FileNameProblem::DotDot);
        QTest::newRow("dot dot inside") << QStringLiteral("a..b") << int(FileNameProblem::DotDot);
        QTest::newRow("single dot") << QStringLiteral(" . ") << int(FileNameProblem::DotDot);
        QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << int(FileNameProblem::Separator);
        QTest::newRow("backslash") << QStringLiteral("..\\x") << int(FileNameProblem::Separator);
        QTest::newRow("line break") << QStringLiteral("a\nb") << int(FileNameProblem::Control);
        QTest::newRow("nul") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"))
                             << int(FileNameProblem::Control);
        QTest::newRow("too long") << QString(130, QChar(0x0416)) << int(FileNameProblem::TooLong);
    }
    void namesAreBareFileNames() {
        QFETCH(QString, name);
        QFETCH(int, problem);
        QCOMPARE(int(fileNameProblem(name)), problem);
    }

    void takenNamesGetTheNextFreeNumber() {
        QTemporaryDir dir;
        const QStringList set{QStringLiteral(".mp3"), QStringLiteral(".cue")};
        const QString first = reserveFreeFile(dir.path(), QStringLiteral("Rec"), set);
        QCOMPARE(first, QDir(dir.path()).filePath(QStringLiteral("Rec.mp3")));
        QVERIFY(QFile::exists(first));
        QCOMPARE(reserveFreeFile(dir.path(), QStringLiteral("Rec"), set),
                 QDir(dir.path()).filePath(QStringLiteral("Rec (2).mp3")));
        // A sheet left beside an old recording keeps its name taken too.
        QFile sheet(QDir(dir.path()).filePath(QStringLiteral("Rec (3).cue")));
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        sheet.close();
        // So does a dangling link: writing through it would create a file elsewhere.
        QVERIFY(QFile::link(QDir(dir.path()).filePath(QStringLiteral("nowhere")),
                            QDir(dir.path()).filePath(QStringLiteral("Rec (4).mp3"))));
        QCOMPARE(reserveFreeFile(dir.path(), QStringLiteral("Rec"), set),
                 QDir(dir.path()).filePath(QStringLiteral("Rec (5).mp3")));
        // An existing file is never touched.
        QFile keep(QDir(dir.path()).filePath(QStringLiteral("notes.mp3")));
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.write("user data");
        keep.close();
        QCOMPARE(reserveFreeFile(dir.path(), QStringLiteral("notes"), set),
                 QDir(dir.path()).filePath(QStringLiteral("notes (2).mp3")));
        QVERIFY(keep.open(QIODevice::ReadOnly));
        QCOMPARE(keep.readAll(), QByteArray("user data"));
    }

    void refusalsSayWhy() {
        QTemporaryDir dir;
        QString why;
        QVERIFY(
            reserveFreeFile(dir.path(), QStringLiteral("../x"), {QStringLiteral(".mp3")}, &why).isEmpty());
        QVERIFY(!why.isEmpty());
        why.clear();
        // A folder below a plain file cannot exist.
        QFile plain(QDir(dir.path()).filePath(QStringLiteral("file")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(reserveFreeFile(plain.fileName() + QStringLiteral("/sub"), QStringLiteral("x"),
                                {QStringLiteral(".mp3")}, &why)
                    .isEmpty());
        QVERIFY2(why.contains(QDir::toNativeSeparators(plain.fileName() + QStringLiteral("/sub"))),
                 qPrintable(why));
        // A missing folder is made.
        const QString made = reserveFreeFile(QDir(dir.path()).filePath(QStringLiteral("Music/Zelmo Player")),
                                             QStringLiteral("x"), {QStringLiteral(".mp3")});
        QVERIFY(QFile::exists(made));
    }
};

QTEST_GUILESS_MAIN(TestFreeFileName)
#include "test_free_file_name.moc"
