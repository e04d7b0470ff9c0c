#include "tv/M3uPlaylist.h"

#include "platform/UiText.h"
#include "tv/Cp1251.h"

#include <QHash>
#include <QStringDecoder>
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

// The header's guide: several addresses may be given, separated by commas.
QUrl headerGuide(QByteArrayView head, const QUrl& source) {
    for (const char* name : {"url-tvg", "x-tvg-url"}) {
        const QString value = attribute(head, name);
        for (const QString& part : value.split(u',', Qt::SkipEmptyParts)) {
            const QUrl url = source.resolved(QUrl(part.trimmed()));
            const QString scheme = url.scheme().toLower();
            if (url.isValid() && (scheme == u"http" || scheme == u"https"))
                return url;
        }
    }
    return {};
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

// Header names as playlists write their options.
QByteArray headerName(QByteArrayView name) {
    const QByteArray lower = name.trimmed().toByteArray().toLower();
    if (lower == "user-agent" || lower == "http-user-agent")
        return "User-Agent";
    if (lower == "referer" || lower == "referrer" || lower == "http-referrer" || lower == "http-referer")
        return "Referer";
    if (lower == "origin" || lower == "http-origin")
        return "Origin";
    if (lower == "cookie")
        return "Cookie";
    return name.trimmed().toByteArray();
}

// One value per header name; a later one replaces an earlier one. A value that would break the
// request (a line end, a control character) is dropped.
void setHeader(HttpHeaders& headers, QByteArrayView name, QByteArrayView value) {
    const QByteArray n = headerName(name);
    const QByteArray v = value.trimmed().toByteArray();
    if (n.isEmpty() || v.isEmpty())
        return;
    for (char c : n + v)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f)
            return;
    for (char c : n)
        if (c == ':' || c == ' ' || c == '\t')
            return;
    for (auto& [have, old] : headers) {
        if (have.compare(n, Qt::CaseInsensitive) == 0) {
            old = v;
            return;
        }
    }
    headers.append({n, v});
}

// "User-Agent=a%20b&Referer=http://x/": the form of URL|... and of the adaptive demuxer's
// stream_headers / manifest_headers, values percent-encoded.
void parseHeaderList(HttpHeaders& headers, QByteArrayView list) {
    for (const QByteArrayView pair : QByteArray(list.toByteArray()).split('&')) {
        const qsizetype eq = pair.indexOf('=');
        if (eq <= 0)
            continue;
        setHeader(headers, pair.first(eq),
                  QByteArray::fromPercentEncoding(pair.sliced(eq + 1).toByteArray()));
    }
}

// The options of #EXTVLCOPT and #KODIPROP lines that name request headers.
void parseOption(HttpHeaders& headers, QByteArrayView line) {
    if (line.startsWith("#EXTVLCOPT:")) {
        const QByteArrayView opt = line.sliced(11);
        const qsizetype eq = opt.indexOf('=');
        if (eq <= 0)
            return;
        const QByteArray name = opt.first(eq).trimmed().toByteArray().toLower();
        if (name == "http-user-agent" || name == "http-referrer" || name == "http-referer" ||
            name == "http-origin")
            setHeader(headers, name, opt.sliced(eq + 1));
        return;
    }
    if (line.startsWith("#KODIPROP:")) {
        const QByteArrayView prop = line.sliced(10);
        const qsizetype eq = prop.indexOf('=');
        if (eq <= 0)
            return;
        const QByteArray name = prop.first(eq).trimmed().toByteArray().toLower();
        if (name == "inputstream.adaptive.stream_headers" || name == "inputstream.adaptive.manifest_headers")
            parseHeaderList(headers, prop.sliced(eq + 1));
    }
}

} // namespace

ParsedPlaylist M3uPlaylist::parse(const QByteArray& bytes, const QUrl& source) {
    ParsedPlaylist out;
    if (bytes.size() > MaxBytes) {
        out.error = UiText("IptvImport", "m3u_tooLarge", QStringLiteral("размер больше %1 МБ"))
                        .arg(MaxBytes / (1024 * 1024));
        return out;
    }
    QByteArray utf8;
    QByteArrayView text(bytes);
    if (text.startsWith("\xEF\xBB\xBF")) {
        text = text.sliced(3);
    } else {
        // Without a byte-order mark, a text that is not UTF-8 is the Windows code page of Cyrillic
        // playlists written on Windows.
        QStringDecoder probe(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = probe.decode(text);
        if (probe.hasError()) {
            utf8 = Cp1251::toUtf8(text);
            text = utf8;
        }
    }

    QHash<QString, int> seen;
    Pending pending;
    HttpHeaders early; // options written before the #EXTINF they belong to
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
            out.guideUrl = headerGuide(line.sliced(7), source);
            continue;
        }
        if (line.startsWith("#EXTINF:")) {
            if (pending.open)
                ++out.skippedLines; // the previous one never got its address
            pending = {};
            pending.entry.headers = std::exchange(early, {});
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
            for (const char* name :
                 {"http-user-agent", "user-agent", "http-referrer", "http-referer", "referrer"})
                if (const QString v = attribute(head, name); !v.isEmpty())
                    setHeader(pending.entry.headers, name, v.toUtf8());
            continue;
        }
        if (line.startsWith('#')) {
            parseOption(pending.open ? pending.entry.headers : early, line);
            continue; // other directives (#EXTGRP, ...) carry nothing needed here
        }
        if (!pending.open) {
            ++out.skippedLines;
            continue;
        }
        pending.open = false;
        PlaylistEntry e = std::move(pending.entry);
        // "address|User-Agent=...&Referer=...": headers after the address.
        QByteArrayView address = line;
        if (const qsizetype bar = line.indexOf('|'); bar >= 0) {
            parseHeaderList(e.headers, line.sliced(bar + 1));
            address = trimmed(line.first(bar));
        }
        const QUrl given(QString::fromUtf8(address), QUrl::StrictMode);
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
        // A further entry of a name is kept: a mirror or another feed of the same channel.
        if (seen.contains(e.name))
            ++out.duplicates;
        else
            seen.insert(e.name, int(out.entries.size()));
        out.entries.push_back(std::move(e));
    }
    if (pending.open)
        ++out.skippedLines;
    if (!header)
        out.error = UiText("IptvImport", "m3u_notM3u",
                           QStringLiteral("это не плейлист M3U: нет строки #EXTM3U в начале"));
    else if (out.entries.empty())
        out.error =
            out.refused > 0
                ? UiText("IptvImport", "m3u_noHttp",
                         QStringLiteral("в плейлисте нет ни одного http(s)-адреса (отклонено: %1)"))
                      .arg(out.refused)
                : UiText("IptvImport", "m3u_noChannels", QStringLiteral("в плейлисте нет ни одного канала"));
    if (!out.ok())
        out.entries.clear();
    return out;
}
