#include "tv/XmltvReader.h"

#include "platform/UiText.h"
#include "tv/ChannelName.h"
#include "tv/Inflater.h"
#include "tv/XmlTokenLimit.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <optional>

namespace {

constexpr qsizetype ChunkBytes = 256 * 1024;
constexpr qsizetype MaxTextChars = 400; // descriptions are cut to this: the page shows a line or two
// No comment, text or tag of a real guide comes near this; the XML reader holds each whole.
constexpr qsizetype MaxTokenBytes = 1024 * 1024;
// Guides nest three deep; a channel has a few names.
constexpr int MaxDepth = 16;
constexpr qsizetype MaxNamesPerChannel = 64;
// Guides pack 5 to 20 times; deflate's limit is about 1000. A file that keeps unpacking beyond
// this ratio past the first megabytes is a compression bomb, not a guide.
constexpr qint64 MaxRatio = 200;
constexpr qint64 RatioCheckAfter = 16LL * 1024 * 1024;

int digits(QStringView s, qsizetype at, qsizetype n) {
    int v = 0;
    for (qsizetype i = at; i < at + n; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

// Zone abbreviations guides write instead of an offset: the ones of the region the program is made
// for and the common Western ones. Summer abbreviations carry their summer offset.
struct ZoneAbbreviation {
    const char16_t* name;
    int minutes;
};
constexpr ZoneAbbreviation kZoneAbbreviations[] = {
    {u"UTC", 0},    {u"GMT", 0},    {u"UT", 0},     {u"Z", 0},      {u"WET", 0},    {u"WEST", 60},
    {u"BST", 60},   {u"CET", 60},   {u"CEST", 120}, {u"EET", 120},  {u"EEST", 180}, {u"MSK", 180},
    {u"MSD", 240},  {u"SAMT", 240}, {u"YEKT", 300}, {u"OMST", 360}, {u"KRAT", 420}, {u"NOVT", 420},
    {u"IRKT", 480}, {u"YAKT", 540}, {u"VLAT", 600}, {u"MAGT", 660}, {u"PETT", 720}, {u"ALMT", 360},
    {u"AQTT", 300}, {u"EST", -300}, {u"EDT", -240}, {u"CST", -360}, {u"CDT", -300}, {u"MST", -420},
    {u"MDT", -360}, {u"PST", -480}, {u"PDT", -420},
};

// "+hhmm", "+hh:mm" or "+hh": seconds east of UTC.
std::optional<int> numericOffset(QStringView zone) {
    if (zone.isEmpty() || (zone[0] != u'+' && zone[0] != u'-'))
        return std::nullopt;
    const int sign = zone[0] == u'-' ? -1 : 1;
    int oh = -1, om = 0;
    if (zone.size() == 3) {
        oh = digits(zone, 1, 2);
    } else if (zone.size() == 5) {
        oh = digits(zone, 1, 2);
        om = digits(zone, 3, 2);
    } else if (zone.size() == 6 && zone[3] == u':') {
        oh = digits(zone, 1, 2);
        om = digits(zone, 4, 2);
    }
    if (oh < 0 || om < 0 || oh > 14 || om > 59)
        return std::nullopt;
    return sign * (oh * 3600 + om * 60);
}

// "YYYYMMDDhhmmss +hhmm": seconds and minutes of the time may be missing; the zone may be an
// offset with or without a colon, an abbreviation or a zone name ("Europe/Moscow"); none is UTC.
// A zone that cannot be read leaves the time unread rather than hours off.
std::optional<qint64> xmltvTime(QStringView s) {
    s = s.trimmed();
    if (s.size() < 12)
        return std::nullopt;
    const int y = digits(s, 0, 4), mo = digits(s, 4, 2), d = digits(s, 6, 2), h = digits(s, 8, 2),
              mi = digits(s, 10, 2);
    int sec = 0;
    qsizetype rest = 12;
    if (s.size() >= 14 && s[12].isDigit()) {
        sec = digits(s, 12, 2);
        rest = 14;
    }
    if (y < 0 || mo < 0 || d < 0 || h < 0 || mi < 0 || sec < 0)
        return std::nullopt;
    const QDate date(y, mo, d);
    const QTime time(h, mi, sec);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const qint64 asUtc = QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
    const QStringView zone = s.sliced(rest).trimmed();
    if (zone.isEmpty())
        return asUtc;
    if (const auto offset = numericOffset(zone))
        return asUtc - qint64(*offset) * 1000;
    for (const ZoneAbbreviation& a : kZoneAbbreviations)
        if (zone.compare(QStringView(a.name), Qt::CaseInsensitive) == 0)
            return asUtc - qint64(a.minutes) * 60 * 1000;
    if (zone.size() <= 64 && zone.contains(u'/')) {
        const QTimeZone named(zone.toLatin1());
        if (named.isValid())
            return QDateTime(date, time, named).toMSecsSinceEpoch();
    }
    return std::nullopt;
}

class GuideParser {
public:
    GuideParser(const GuideFilter& f) : filter_(f) {}

    // Consumes what the reader has; false on an error other than "needs more data".
    bool drain(QXmlStreamReader& xml) {
        while (!xml.atEnd()) {
            const auto token = xml.readNext();
            if (token == QXmlStreamReader::Invalid)
                return xml.error() == QXmlStreamReader::PrematureEndOfDocumentError;
            if (token == QXmlStreamReader::StartElement)
                start(xml);
            else if (token == QXmlStreamReader::EndElement)
                end(xml.name());
            else if (token == QXmlStreamReader::Characters && collecting_ && text_.size() < MaxTextChars)
                text_ += xml.text().left(MaxTextChars - text_.size());
            if (!error_.isEmpty())
                return false;
        }
        return true;
    }

    bool sawRoot() const { return sawRoot_; }
    const QString& error() const { return error_; }
    ProgrammeGuide& guide() { return guide_; }

private:
    void start(QXmlStreamReader& xml) {
        const QStringView name = xml.name();
        if (++depth_ > MaxDepth) {
            error_ = UiText("TvGuide", "deep",
                            QStringLiteral("элементы XML вложены глубже %1 уровней: это не программа XMLTV"))
                         .arg(MaxDepth);
            return;
        }
        if (depth_ == 1) {
            if (name != u"tv")
                error_ = UiText("IptvImport", "xmltv_notXmltv",
                                QStringLiteral("это не программа XMLTV: корневой элемент <%1>"))
                             .arg(name);
            sawRoot_ = true;
            return;
        }
        if (depth_ == 2) {
            const auto attrs = xml.attributes();
            if (name == u"channel") {
                channelId_ = attrs.value(QLatin1String("id")).toString();
                channelWanted_ = filter_.ids.contains(channelId_);
                inChannel_ = true;
            } else if (name == u"programme") {
                startProgramme(attrs);
            }
            return;
        }
        if (depth_ == 3) {
            if (inChannel_ && name == u"display-name") {
                collecting_ = true;
                text_.clear();
            } else if (inProgramme_ && ((name == u"title" && programme_.title.isEmpty()) ||
                                        (name == u"desc" && programme_.description.isEmpty()))) {
                collecting_ = true;
                text_.clear();
            }
        }
    }

    void startProgramme(const QXmlStreamAttributes& attrs) {
        const QString channel = attrs.value(QLatin1String("channel")).toString();
        if (!wanted_.contains(channel) && !filter_.ids.contains(channel))
            return;
        const auto from = xmltvTime(attrs.value(QLatin1String("start")));
        auto to = xmltvTime(attrs.value(QLatin1String("stop")));
        if (!from)
            return;
        if (!to)
            to = *from; // the next programme's start ends it; fixed up below when sorted
        if (*from >= filter_.to || (*to <= filter_.from && *to != *from))
            return;
        inProgramme_ = true;
        programme_ = Programme{*from, *to, {}, {}};
        programmeChannel_ = channel;
    }

    void end(QStringView name) {
        if (depth_ == 3 && collecting_) {
            collecting_ = false;
            if (inChannel_ && name == u"display-name") {
                const QString key = ChannelNameKey(text_);
                if (filter_.nameKeys.contains(key))
                    channelWanted_ = true;
                if (names_.size() < MaxNamesPerChannel)
                    names_.push_back(key);
            } else if (inProgramme_ && name == u"title") {
                programme_.title = text_.trimmed();
            } else if (inProgramme_ && name == u"desc") {
                programme_.description = text_.trimmed();
            }
        } else if (depth_ == 2 && inChannel_) {
            if (channelWanted_) {
                wanted_.insert(channelId_);
                for (const QString& key : names_)
                    guide_.addName(key, channelId_);
            }
            names_.clear();
            inChannel_ = false;
        } else if (depth_ == 2 && inProgramme_) {
            inProgramme_ = false;
            if (++kept_ > XmltvReader::MaxProgrammes)
                error_ = UiText("IptvImport", "xmltv_tooMany",
                                QStringLiteral("в программе больше %1 передач для каналов плейлиста"))
                             .arg(XmltvReader::MaxProgrammes);
            else
                guide_.add(programmeChannel_, std::move(programme_));
        }
        --depth_;
    }

    const GuideFilter& filter_;
    ProgrammeGuide guide_;
    QSet<QString> wanted_;
    QStringList names_;
    QString channelId_;
    QString programmeChannel_;
    Programme programme_;
    QString text_;
    QString error_;
    qsizetype kept_ = 0;
    int depth_ = 0;
    bool sawRoot_ = false;
    bool inChannel_ = false;
    bool channelWanted_ = false;
    bool inProgramme_ = false;
    bool collecting_ = false;
};

} // namespace

ParsedGuide XmltvReader::read(QIODevice& in, const GuideFilter& filter, const std::atomic_bool* cancel) {
    ParsedGuide out;
    GuideParser parser(filter);
    QXmlStreamReader xml;
    XmlTokenLimit tokens(MaxTokenBytes);
    std::optional<Inflater> inflater;
    qint64 plainBytes = 0;
    qint64 packedBytes = 0;
    bool first = true;
    bool stopped = false; // the parser gave up: its reason is reported below
    QByteArray plain;
    // One piece of plain text through the checks and into the parser; false ends the reading.
    const auto take = [&](const QByteArray& piece) {
        plainBytes += piece.size();
        if (inflater && plainBytes > RatioCheckAfter && plainBytes / packedBytes > MaxRatio) {
            out.error = UiText("TvGuide", "bomb",
                               QStringLiteral("сжатый файл разворачивается в %1 раз больше (%2 МБ из "
                                              "%3 КБ): это не программа передач, а gzip-бомба"))
                            .arg(plainBytes / packedBytes)
                            .arg(plainBytes >> 20)
                            .arg(packedBytes >> 10);
            return false;
        }
        if (plainBytes > MaxPlainBytes) {
            out.error = UiText("IptvImport", "xmltv_unpackedTooLarge",
                               QStringLiteral("после распаковки больше %1 МБ"))
                            .arg(MaxPlainBytes >> 20);
            return false;
        }
        if (!tokens.feed(piece)) {
            out.error = tokens.error();
            return false;
        }
        xml.addData(piece);
        if (!parser.drain(xml)) {
            stopped = true;
            return false;
        }
        return true;
    };
    while (true) {
        if (cancel && cancel->load()) {
            out.error = UiText("IptvImport", "xmltv_aborted", QStringLiteral("загрузка программы прервана"));
            return out;
        }
        // Compressed pieces are smaller: each unpacks to about ten times its size.
        const QByteArray chunk = in.read(inflater ? ChunkBytes / 8 : ChunkBytes);
        if (chunk.isEmpty())
            break;
        if (first) {
            first = false;
            if (Inflater::looksCompressed(chunk))
                inflater.emplace();
        }
        packedBytes += chunk.size();
        bool more = true;
        if (inflater) {
            inflater->feed(chunk);
            while (more && inflater->hasInput()) {
                if (!inflater->next(plain, ChunkBytes)) {
                    out.error = inflater->error();
                    return out;
                }
                if (plain.isEmpty())
                    break;
                more = take(plain);
            }
        } else {
            more = take(chunk);
        }
        if (!out.error.isEmpty())
            return out;
        if (!more || stopped)
            break;
    }
    if (!parser.error().isEmpty()) {
        out.error = parser.error();
        return out;
    }
    if (first) {
        out.error = UiText("IptvImport", "xmltv_empty", QStringLiteral("файл пуст"));
        return out;
    }
    // A parser that gave up stopped the reading: its reason comes before the end of the packed data.
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
        out.error = QStringLiteral("ошибка XML в строке %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
        return out;
    }
    if (inflater && !inflater->finished()) {
        out.error = UiText("IptvImport", "xmltv_truncatedGzip", QStringLiteral("сжатый файл оборван"));
        return out;
    }
    if (xml.hasError() || !xml.atEnd() || !parser.sawRoot()) {
        const QString why =
            xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError
                ? UiText("IptvImport", "xmltv_xmlError", QStringLiteral("ошибка XML в строке %1: %2"))
                      .arg(xml.lineNumber())
                      .arg(xml.errorString())
                : UiText("IptvImport", "xmltv_xmlTruncated", QStringLiteral("документ XML оборван или пуст"));
        out.error = why;
        return out;
    }
    out.guide = std::move(parser.guide());
    out.guide.finish();
    return out;
}

ParsedGuide XmltvReader::readFile(const QString& path, const GuideFilter& filter,
                                  const std::atomic_bool* cancel) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ParsedGuide out;
        out.error = UiText("IptvImport", "xmltv_cannotOpen", QStringLiteral("не открыть %1 (%2)"))
                        .arg(path, f.errorString());
        return out;
    }
    return read(f, filter, cancel);
}
