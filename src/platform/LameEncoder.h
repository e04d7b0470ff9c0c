#pragma once
#include "platform/PcmConsumer.h"

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>

// Feeds PCM to the `lame` program, which writes name + ".mp3" in the working directory. The
// program is started without a shell; the name reaches it as one argument, spaces included.
class LameEncoder : public QObject, public PcmConsumer {
    Q_OBJECT
public:
    explicit LameEncoder(QString program = QStringLiteral("lame"), QObject* parent = nullptr);
    // Waits a bounded time for the program to finish the file before giving up on it.
    ~LameEncoder() override;

    // False with a reason when the program cannot be found or started.
    bool start(const QString& name, QString* error = nullptr);
    void writePcm(const QByteArray& pcm) override;
    // Closes the program's input; it finishes the file on its own and finished() follows.
    void endOfPcm() override;

    bool isRunning() const { return process_.state() != QProcess::NotRunning; }
    bool waitForFinished(int msecs);
    qint64 processId() const { return process_.processId(); }
    QString outputName() const { return output_; }

    // A canonical 44-byte WAVE header for S16LE, 44100 Hz, stereo of unknown length.
    static QByteArray waveHeader();
    static QStringList arguments(const QString& name);

signals:
    // The program has exited; ok when it reported success.
    void finished(bool ok);

private:
    QString program_;
    QString output_;
    QProcess process_;
    QByteArray errorTail_; // the last of the encoder's standard error, for the log
    bool dropLogged_ = false;
    bool inputClosed_ = false;
};
