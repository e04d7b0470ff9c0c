#pragma once
#include "platform/PcmConsumer.h"

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>

// What a recording's ID3 tag says; empty fields are left out.
struct Mp3Tags {
    QString title;
    QString artist;
    QString album;
    bool operator==(const Mp3Tags&) const = default;
};

// Feeds PCM to the `lame` program, which writes the named MP3 file (relative names in the working
// directory). The program is started without a shell; the name reaches it as one argument, spaces
// included.
class LameEncoder : public QObject, public PcmConsumer {
    Q_OBJECT
public:
    explicit LameEncoder(QString program = QStringLiteral("lame"), QObject* parent = nullptr);
    // Waits a bounded time for the program to finish the file before giving up on it.
    ~LameEncoder() override;

    // False with a reason when the program cannot be found or started. outputFile is the MP3's
    // whole name, suffix included; the tags go into it as ID3 (Unicode, so any script survives).
    bool start(const QString& outputFile, const Mp3Tags& tags = {}, QString* error = nullptr);
    void writePcm(const QByteArray& pcm) override;
    // Closes the program's input; it finishes the file on its own and finished() follows.
    void endOfPcm() override;

    bool isRunning() const { return process_.state() != QProcess::NotRunning; }
    bool waitForFinished(int msecs);
    qint64 processId() const { return process_.processId(); }
    QString outputName() const { return output_; }

    // A canonical 44-byte WAVE header for S16LE, 44100 Hz, stereo of unknown length.
    static QByteArray waveHeader();
    static QStringList arguments(const QString& outputFile, const Mp3Tags& tags = {});
    // The last of what the program wrote on its standard error (its reason when it failed).
    QString errorText() const;

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
