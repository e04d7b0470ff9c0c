#include "platform/LameEncoder.h"

#include "platform/LogCategories.h"
#include "platform/UiText.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

#include <csignal>
#include <mutex>
#include <utility>

namespace {
constexpr int kStartTimeoutMs = 3000;
constexpr int kDestroyWaitMs = 3000;
constexpr qint64 kMaxUnwritten = 16 * 1024 * 1024; // the program has stalled: drop rather than grow
constexpr qsizetype kErrorTail = 2048;

void ignoreSigpipe() {
    // A program that dies mid-recording must not take the player with it on the next write.
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}
} // namespace

LameEncoder::LameEncoder(QString program, QObject* parent) : QObject(parent), program_(std::move(program)) {
    // Standard output is not used. Standard error carries progress and, on failure, the reason:
    // only its last lines are kept, for the log.
    process_.setStandardOutputFile(QProcess::nullDevice());
    connect(&process_, &QProcess::readyReadStandardError, this, [this] {
        errorTail_ += process_.readAllStandardError();
        if (errorTail_.size() > kErrorTail)
            errorTail_ = errorTail_.last(kErrorTail);
    });
    connect(&process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        errorTail_ += process_.readAllStandardError();
        if (errorTail_.size() > kErrorTail)
            errorTail_ = errorTail_.last(kErrorTail);
        const bool ok = status == QProcess::NormalExit && code == 0;
        if (!ok)
            qCWarning(lcAudio).noquote()
                << "the MP3 encoder" << program_ << "ended"
                << (status == QProcess::NormalExit ? QStringLiteral("with code %1").arg(code)
                                                   : QStringLiteral("by a crash"))
                << ":" << QString::fromLocal8Bit(errorTail_).trimmed();
        emit finished(ok);
    });
}

LameEncoder::~LameEncoder() {
    if (!isRunning())
        return;
    endOfPcm();
    if (!process_.waitForFinished(kDestroyWaitMs))
        process_.kill();
    process_.waitForFinished(500);
}

QStringList LameEncoder::arguments(const QString& outputFile, const Mp3Tags& tags) {
    QString output = outputFile;
    // A name starting with '-' would be read as an option; "./" names the same file.
    if (output.startsWith(QLatin1Char('-')))
        output.prepend(QStringLiteral("./"));
    QStringList args{QStringLiteral("--alt-preset"), QStringLiteral("standard")};
    if (!tags.title.isEmpty() || !tags.artist.isEmpty() || !tags.album.isEmpty()) {
        // A version 2 tag in UTF-16: a version 1 tag holds Latin-1 only. A text lame finds fault
        // with (too long for the old tag, say) must not cost the recording.
        args << QStringLiteral("--add-id3v2") << QStringLiteral("--id3v2-utf16")
             << QStringLiteral("--ignore-tag-errors");
        const auto add = [&args](const char* option, const QString& value) {
            if (!value.isEmpty())
                args << QLatin1String(option) << value;
        };
        add("--tt", tags.title);
        add("--ta", tags.artist);
        add("--tl", tags.album);
    }
    args << QStringLiteral("-") << output;
    return args;
}

QString LameEncoder::errorText() const {
    return QString::fromLocal8Bit(errorTail_).trimmed();
}

QByteArray LameEncoder::waveHeader() {
    constexpr quint32 kUnknown = 0xFFFFFFFFu; // the encoder reads to the end of its input
    constexpr quint16 kChannels = 2, kBits = 16;
    constexpr quint32 kRate = 44100, kBlockAlign = kChannels * kBits / 8, kByteRate = kRate * kBlockAlign;
    QByteArray h(44, '\0');
    char* p = h.data();
    auto put32 = [&p](quint32 v) {
        qToLittleEndian(v, p);
        p += 4;
    };
    auto put16 = [&p](quint16 v) {
        qToLittleEndian(v, p);
        p += 2;
    };
    auto tag = [&p](const char* t) {
        memcpy(p, t, 4);
        p += 4;
    };
    tag("RIFF");
    put32(kUnknown);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1); // PCM
    put16(kChannels);
    put32(kRate);
    put32(kByteRate);
    put16(kBlockAlign);
    put16(kBits);
    tag("data");
    put32(kUnknown);
    return h;
}

bool LameEncoder::start(const QString& outputFile, const Mp3Tags& tags, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (isRunning())
        return fail(UiText("RecordForm", "encoderBusy", QStringLiteral("кодировщик уже работает.")));
    const bool hasPath = program_.contains(QLatin1Char('/'));
    if (hasPath ? !QFileInfo(program_).isExecutable() : QStandardPaths::findExecutable(program_).isEmpty()) {
        qCWarning(lcAudio) << "the MP3 encoder" << program_ << "is not installed";
        return fail(
            UiText("RecordForm", "noEncoder", QStringLiteral("не найдена программа кодирования MP3 «%1»."))
                .arg(program_));
    }
    ignoreSigpipe();
    output_ = outputFile;
    inputClosed_ = false;
    errorTail_.clear();
    dropLogged_ = false;
    // lame reads the tag texts in the locale's encoding: a UTF-8 one, whatever the program's is.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process_.setProcessEnvironment(env);
    process_.start(program_, arguments(outputFile, tags), QIODevice::ReadWrite);
    if (!process_.waitForStarted(kStartTimeoutMs)) {
        const QString why = process_.errorString();
        qCWarning(lcAudio) << "cannot start the MP3 encoder" << program_ << ":" << why;
        process_.kill();
        process_.waitForFinished(500);
        return fail(UiText("RecordForm", "encoderFails",
                           QStringLiteral("не запускается программа кодирования MP3 «%1» (%2)."))
                        .arg(program_, why));
    }
    process_.write(waveHeader());
    return true;
}

void LameEncoder::writePcm(const QByteArray& pcm) {
    if (inputClosed_ || !isRunning())
        return;
    if (process_.bytesToWrite() > kMaxUnwritten) {
        if (!std::exchange(dropLogged_, true))
            qCWarning(lcAudio) << "the MP3 encoder does not keep up: sound is dropped from the recording";
        return;
    }
    process_.write(pcm);
}

void LameEncoder::endOfPcm() {
    if (inputClosed_)
        return;
    inputClosed_ = true;
    // Qt closes the pipe once everything queued has been written.
    if (isRunning())
        process_.closeWriteChannel();
}

bool LameEncoder::waitForFinished(int msecs) {
    if (!isRunning())
        return true;
    return process_.waitForFinished(msecs);
}
