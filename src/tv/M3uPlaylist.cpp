#include "tv/M3uPlaylist.h"

#include <QHash>
#include <QStringView>

namespace {

QByteArrayView trimmed(QByteArrayView line) {
    qsizetype b = 0;
    qsizetype e = line.size();
    while (b < e && (line[b] == ' ' || line[b] == '\t' || line[b] == '\r'))
        ++b;
    while (e > b && (line[e - 1] == ' ' || line[e - 1] == '\t' || line[e - 1] == '\r'))
        --e;
    return line.sliced(b, e - b);
}

// The value of attr="..." inside the #EXTINF head (the part before the display name).
QString attribute(QByteArrayView head, QByteArrayView name) {
    qsizetype from = 0;
    while (true) {
        const qsizetype at = head.indexOf(name, from);
        if (at < 0)
            return {};
        const qsizetype eq = at + name.size();
        const bool startsWord = at == 0 || head[at - 1] == ' ' || head[at - 1] == '\t';
        if (startsWord && eq + 1 < head.size() && head[eq] == '=' && head[eq + 1] == '"') {
            const qsizetype close = head.indexOf('"', eq + 2);
            if (close < 0)
                return {};
            return QString::fromUtf8(head.sliced(eq + 2, close - eq - 2)).trimmed();
        }
        from = at + 1;
    }
}

// Index of the comma that starts the display name: the first one outside quotes.
qsizetype nameComma(QByteArrayView info) {
    bool quoted = false;
    for (qsizetype i = 0; i < info.size(); ++i) {
        if (info[i] == '"')
            quoted = !quoted;
        else if (info[i] == ',' && !quoted)
            return i;
    }
    return -1;
}

struct Pending {
    bool open = false;
    PlaylistEntry entry;
};

} // namespace

ParsedPlaylist M3uPlaylist::parse(const QByteArray& bytes, const QUrl& source) {
    ParsedPlaylist out;
    if (bytes.size() > MaxBytes) {
        out.error = QStringLiteral("размер больше %1 МБ").arg(MaxBytes / (1024 * 1024));
        return out;
    }
    QByteArrayView text(bytes);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);

    QHash<QString, int> seen;
    Pending pending;
    bool header = false;
    bool firstLine = true;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype nl = text.indexOf('\n', pos);
        if (nl < 0)
            nl = text.size();
        const QByteArrayView line = trimmed(text.sliced(pos, nl - pos));
        pos = nl + 1;
        if (line.isEmpty())
            continue;
        if (firstLine) {
            firstLine = false;
            header = line.startsWith("#EXTM3U");
            if (!header)
                break;
            continue;
        }
        if (line.startsWith("#EXTINF:")) {
            if (pending.open)
                ++out.skippedLines; // the previous one never got its address
            pending = {};
            const QByteArrayView info = line.sliced(8);
            const qsizetype comma = nameComma(info);
            if (comma < 0) {
                ++out.skippedLines;
                continue;
            }
            const QByteArrayView head = info.first(comma);
            pending.open = true;
            pending.entry.name = QString::fromUtf8(info.sliced(comma + 1)).trimmed();
            pending.entry.tvgId = attribute(head, "tvg-id");
            pending.entry.tvgName = attribute(head, "tvg-name");
            pending.entry.logo = attribute(head, "tvg-logo");
            pending.entry.group = attribute(head, "group-title");
            continue;
        }
        if (line.startsWith('#'))
            continue; // other directives (#EXTGRP, #EXTVLCOPT, ...) carry nothing needed here
        if (!pending.open) {
            ++out.skippedLines;
            continue;
        }
        pending.open = false;
        PlaylistEntry e = std::move(pending.entry);
        const QUrl given(QString::fromUtf8(line), QUrl::StrictMode);
        const QUrl url = given.isRelative() ? source.resolved(given) : given;
        const QString scheme = url.scheme().toLower();
        if (!url.isValid() || given.isEmpty()) {
            ++out.skippedLines;
            continue;
        }
        if ((scheme != u"http" && scheme != u"https") || url.host().isEmpty()) {
            ++out.refused;
            continue;
        }
        if (e.name.isEmpty())
            e.name = e.tvgName;
        if (e.name.isEmpty()) {
            ++out.skippedLines;
            continue;
        }
        e.url = url;
        if (seen.contains(e.name)) {
            ++out.duplicates;
            continue;
        }
        seen.insert(e.name, int(out.entries.size()));
        out.entries.push_back(std::move(e));
    }
    if (pending.open)
        ++out.skippedLines;
    if (!header)
        out.error = QStringLiteral("это не плейлист M3U: нет строки #EXTM3U в начале");
    else if (out.entries.empty())
        out.error =
            out.refused > 0
                ? QStringLiteral("в плейлисте нет ни одного http(s)-адреса (отклонено: %1)").arg(out.refused)
                : QStringLiteral("в плейлисте нет ни одного канала");
    if (!out.ok())
        out.entries.clear();
    return out;
}
