// The encoder with the real lame program: the file it writes, and a program that is missing.
#include "RadioTestKit.h"

#include "platform/LameEncoder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <csignal>

using namespace radiotest;

namespace {
QByteArray sine(double seconds) {
    const int frames = int(seconds * 44100);
    QByteArray pcm(frames * 4, '\0');
    auto* s = reinterpret_cast<qint16*>(pcm.data());
    for (int i = 0; i < frames; ++i)
        s[2 * i] = s[2 * i + 1] = qint16(8000 * std::sin(2 * M_PI * 440 * i / 44100.0));
    return pcm;
}
} // namespace

class TestLameEncoder : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("lame").isEmpty())
            QSKIP("lame is not installed");
        QVERIFY(QDir::setCurrent(dir_.path()));
    }

    void waveHeaderDescribesCdAudioOfUnknownLength() {
        const QByteArray h = LameEncoder::waveHeader();
        QCOMPARE(h.size(), 44);
        QCOMPARE(h.left(4), QByteArray("RIFF"));
        QCOMPARE(h.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(qFromLittleEndian<quint16>(h.constData() + 22), quint16(2));
        QCOMPARE(qFromLittleEndian<quint32>(h.constData() + 24), quint32(44100));
        QCOMPARE(qFromLittleEndian<quint16>(h.constData() + 34), quint16(16));
        QCOMPARE(h.mid(36, 4), QByteArray("data"));
        QCOMPARE(qFromLittleEndian<quint32>(h.constData() + 40), 0xFFFFFFFFu);
    }

    // The name is one argument whatever it holds; the duration comes from the audio, not the header.
    void writesTheNamedMp3_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stray"); // what a split or misread name would have produced
        QTest::newRow("two words") << "My Record"
                                   << "My.mp3";
        QTest::newRow("leading dash") << "-V0 loud"
                                      << "loud.mp3";
        QTest::newRow("cyrillic") << QString::fromUtf8("Запись эфира") << QString::fromUtf8("эфира.mp3");
    }
    void writesTheNamedMp3() {
        QFETCH(QString, name);
        QFETCH(QString, stray);
        LameEncoder encoder;
        QSignalSpy finished(&encoder, &LameEncoder::finished);
        QString why;
        QVERIFY2(encoder.start(name + ".mp3", {}, &why), qPrintable(why));
        const QByteArray pcm = sine(2.0);
        for (qsizetype at = 0; at < pcm.size(); at += 17640) // in the slices a stream delivers
            encoder.writePcm(pcm.mid(at, 17640));
        encoder.endOfPcm();
        encoder.writePcm(pcm); // after the end: ignored
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(!QFile::exists(stray));
        const Decoded d = decode(name + ".mp3");
        QVERIFY(d.ok);
        QVERIFY2(std::abs(d.seconds - 2.0) < 0.15, qPrintable(QString::number(d.seconds)));
        QVERIFY(d.rms > 0.1);
    }

    // The station and the first song in the file's tag, read back by ffprobe, whatever the script.
    void tagsNameTheStationAndTheSong() {
        const Mp3Tags tags{QStringLiteral("Sigur Rós - Hoppípolla"), QStringLiteral("Европа Плюс & <Друзья>"),
                           QStringLiteral("Европа Плюс & <Друзья>")};
        LameEncoder encoder;
        QSignalSpy finished(&encoder, &LameEncoder::finished);
        QString why;
        QVERIFY2(encoder.start("tagged.mp3", tags, &why), qPrintable(why));
        encoder.writePcm(sine(1.0));
        encoder.endOfPcm();
        QVERIFY(finished.wait(10000));
        QByteArray out;
        QVERIFY(run("ffprobe",
                    {"-v", "error", "-show_entries", "format_tags=title,artist,album", "-of",
                     "default=noprint_wrappers=1", "tagged.mp3"},
                    &out));
        const QString text = QString::fromUtf8(out);
        QVERIFY2(text.contains("title=" + tags.title), qPrintable(text));
        QVERIFY2(text.contains("artist=" + tags.artist), qPrintable(text));
        QVERIFY2(text.contains("album=" + tags.album), qPrintable(text));
    }

    // lame ends with 255 when it cannot create its file: reported as a failure, with its reason.
    void aFileThatCannotBeCreatedIsAFailure() {
        LameEncoder encoder;
        QSignalSpy finished(&encoder, &LameEncoder::finished);
        QVERIFY(encoder.start("/nonexistent-folder/x.mp3"));
        encoder.writePcm(sine(0.2));
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY2(!encoder.errorText().isEmpty(), "no reason");
    }

    void missingProgramFailsToStart_data() {
        QTest::addColumn<QString>("program");
        QTest::newRow("not in PATH") << "zelmo-no-such-encoder";
        QTest::newRow("no such path") << "/nonexistent/lame";
        QTest::newRow("not executable") << "/etc/hostname";
    }
    void missingProgramFailsToStart() {
        QFETCH(QString, program);
        LameEncoder encoder(program);
        QString why;
        QVERIFY(!encoder.start("never.mp3", {}, &why));
        QVERIFY2(why.contains(program), qPrintable(why));
        QVERIFY(!encoder.isRunning());
        encoder.writePcm(sine(0.1)); // harmless
        encoder.endOfPcm();
        QVERIFY(!QFile::exists("never.mp3"));
    }

    // The program dying mid-recording must not take the player down with SIGPIPE.
    void survivesTheProgramDying() {
        LameEncoder encoder;
        QSignalSpy finished(&encoder, &LameEncoder::finished);
        QVERIFY(encoder.start("killed.mp3"));
        encoder.writePcm(sine(0.5));
        QTest::qWait(200);
        QVERIFY(encoder.processId() > 0);
        ::kill(pid_t(encoder.processId()), SIGKILL);
        QVERIFY(finished.wait(5000));
        for (int i = 0; i < 20; ++i)
            encoder.writePcm(sine(0.2));
        QTest::qWait(200);
        encoder.endOfPcm();
    }
};

QTEST_GUILESS_MAIN(TestLameEncoder)
#include "test_lame_encoder.moc"
