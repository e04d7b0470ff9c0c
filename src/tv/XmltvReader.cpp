#include "tv/XmltvReader.h"

#include "platform/UiText.h"
#include "tv/ChannelName.h"
#include "tv/Inflater.h"

#include <QDateTime>
#include <QFile>
#include <QXmlStreamReader>

#include <optional>

namespace {

constexpr qsizetype ChunkBytes = 256 * 1024;
constexpr qsizetype MaxTextChars = 400; // descriptions are cut to this: the page shows a line or two

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

// "YYYYMMDDhhmmss +hhmm" (seconds, minutes and the offset may be missing; no offset is UTC).
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
    int offset = 0;
    const QStringView zone = s.sliced(rest).trimmed();
    if (zone.size() == 5 && (zone[0] == u'+' || zone[0] == u'-')) {
        const int oh = digits(zone, 1, 2), om = digits(zone, 3, 2);
        if (oh < 0 || om < 0)
            return std::nullopt;
        offset = (oh * 3600 + om * 60) * (zone[0] == u'-' ? -1 : 1);
    }
    return QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch() - qint64(offset) * 1000;
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
        ++depth_;
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
    std::optional<Inflater> inflater;
    qint64 plainBytes = 0;
    bool first = true;
    QByteArray plain;
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
        if (inflater) {
            if (!inflater->inflate(chunk, plain)) {
                out.error = inflater->error();
                return out;
            }
        } else {
            plain = chunk;
        }
        plainBytes += plain.size();
        if (plainBytes > MaxPlainBytes) {
            out.error = UiText("IptvImport", "xmltv_unpackedTooLarge",
                               QStringLiteral("после распаковки больше %1 МБ"))
                            .arg(MaxPlainBytes >> 20);
            return out;
        }
        xml.addData(plain);
        if (!parser.drain(xml))
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
