#include "settings/SettingsFile.h"

#include "settings/IniText.h"
#include "settings/IntegerText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <optional>
#include <vector>

namespace {

// Another process writing the same file holds the lock only for one read-modify-write.
constexpr int LockWaitMs = 5000;
constexpr int StaleLockMs = 30000;

std::optional<QString> readText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return IniText::Decode(f.readAll());
}

struct RawLine {
    QByteArray body; // without its line end
    QByteArray end;  // "\n", "\r\n" or empty for a last line without one
};

std::vector<RawLine> splitLines(const QByteArray& bytes) {
    std::vector<RawLine> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0) {
            lines.push_back({bytes.sliced(start), {}});
            break;
        }
        qsizetype bodyEnd = nl;
        if (bodyEnd > start && bytes[bodyEnd - 1] == '\r')
            --bodyEnd;
        lines.push_back({bytes.sliced(start, bodyEnd - start), bytes.sliced(bodyEnd, nl + 1 - bodyEnd)});
        start = nl + 1;
    }
    return lines;
}

// The file with one key set, every other line kept byte for byte.
QByteArray withValue(QByteArray bytes, const QString& section, const QString& key, const QString& value) {
    if (IniText::IsUtf16(bytes))
        bytes = IniText::Decode(bytes).toUtf8(); // rewritten as UTF-8, line ends kept
    QByteArray bom;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bom = bytes.first(3);
        bytes = bytes.sliced(3);
    }
    std::vector<RawLine> lines = splitLines(bytes);
    const QByteArray eol =
        (!lines.empty() && lines.front().end == "\r\n") ? QByteArray("\r\n") : QByteArray("\n");

    enum { Before, Inside, After } state = Before;
    qsizetype insertAfter = -1;
    qsizetype target = -1;
    QString fileKey = key;
    for (qsizetype i = 0; i < qsizetype(lines.size()) && state != After && target < 0; ++i) {
        const IniText::Line line = IniText::ParseLine(QString::fromUtf8(lines[i].body));
        if (line.kind == IniText::Line::Section) {
            if (state == Inside)
                state = After;
            else if (state == Before && IniText::SameName(line.name, section)) {
                state = Inside;
                insertAfter = i;
            }
        } else if (line.kind == IniText::Line::Entry && state == Inside) {
            insertAfter = i;
            if (IniText::SameName(line.name, key)) {
                target = i;
                fileKey = line.name; // keep the spelling the file already uses
            }
        }
    }

    const QByteArray entry = (fileKey + u'=' + IniText::EncodeValue(value)).toUtf8();
    if (target >= 0) {
        lines[target].body = entry;
    } else if (insertAfter >= 0) {
        if (lines[insertAfter].end.isEmpty())
            lines[insertAfter].end = eol;
        lines.insert(lines.begin() + insertAfter + 1, RawLine{entry, eol});
    } else {
        if (!lines.empty() && lines.back().end.isEmpty())
            lines.back().end = eol;
        lines.push_back({(u'[' + section + u']').toUtf8(), eol});
        lines.push_back({entry, eol});
    }

    QByteArray out = bom;
    for (const RawLine& l : lines)
        out += l.body + l.end;
    return out;
}

} // namespace

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}

QString SettingsFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const std::optional<QString> text = readText(path_);
    if (!text)
        return def;
    return IniText::Find(*text, section, key).value_or(def);
}

bool SettingsFile::ReadBool(const QString& section, const QString& key, bool def) const {
    const std::optional<QString> text = readText(path_);
    if (!text)
        return def;
    const std::optional<QString> value = IniText::Find(*text, section, key);
    if (!value)
        return def;
    const std::optional<qint32> number = ParseInt32(*value);
    return number ? *number != 0 : def;
}

void SettingsFile::WriteString(const QString& section, const QString& key, const QString& value) {
    // A line break cannot be stored in a one-line value: refuse it rather than split the entry
    // and leave a stray line behind.
    if (!IniText::CanStore(value))
        fail();

    // Other processes (a second copy of the program) write the same file: each
    // read-modify-write runs under the lock, and the file is replaced in one rename, so a
    // reader sees the old or the new file, never a half-written one.
    // The folder may not exist yet: an installed program keeps the file in the user's
    // configuration folder, created with the first setting written.
    const QFileInfo info(path_);
    if (!info.dir().exists() && !QDir().mkpath(info.absolutePath()))
        fail();
    QLockFile lock(path_ + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs))
        fail();

    QByteArray bytes;
    QFile in(path_);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly))
            fail(); // writing now would lose what we could not read
        bytes = in.readAll();
        in.close();
    }

    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly))
        fail();
    const QByteArray data = withValue(bytes, section, key, value);
    if (out.write(data) != data.size() || !out.commit())
        fail();
}

void SettingsFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsFile::fail() const {
    throw SettingsWriteError((QStringLiteral("Unable to write to ") + path_).toStdString());
}
