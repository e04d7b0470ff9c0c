#include "tv/IptvImporter.h"

#include "platform/HttpClient.h"
#include "platform/LogCategories.h"
#include "platform/UiText.h"
#include "settings/IniText.h"
#include "settings/SettingsFile.h"
#include "tv/ChannelName.h"
#include "tv/GuidePage.h"
#include "tv/XmltvReader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

namespace {

const QString Section = QStringLiteral("IPTV");
const QString MatchSection = QStringLiteral("IPTVMatch");

enum class SourceKind { None, Url, File, Bad };

SourceKind kindOf(const QString& source) {
    if (source.trimmed().isEmpty())
        return SourceKind::None;
    const QUrl url(source.trimmed());
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http" || scheme == u"https")
        return url.host().isEmpty() ? SourceKind::Bad : SourceKind::Url;
    if (scheme.isEmpty() || scheme == u"file" || (scheme.size() == 1 && source.contains(u':')))
        return SourceKind::File;
    return SourceKind::Bad;
}

QString localPath(const QString& source) {
    const QUrl url(source.trimmed());
    return url.scheme().compare(u"file", Qt::CaseInsensitive) == 0 ? url.toLocalFile() : source.trimmed();
}

// The whole file, refused unread when it is larger than the cap.
std::optional<QByteArray> readCapped(const QString& path, qint64 cap, QString& error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = UiText("IptvImport", "cannotOpen", QStringLiteral("не открыть файл %1 (%2)"))
                    .arg(path, f.errorString());
        return std::nullopt;
    }
    if (f.size() > cap) {
        error = UiText("IptvImport", "fileTooLarge", QStringLiteral("файл больше %1 МБ")).arg(cap >> 20);
        return std::nullopt;
    }
    return f.read(cap + 1);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        qCWarning(lcTv) << "cannot write" << path << f.errorString();
        return false;
    }
    return true;
}

QString channelsWord(qsizetype n) {
    return UiPlural("IptvImport", "channels", n, QStringLiteral("канал"), QStringLiteral("канала"),
                    QStringLiteral("каналов"));
}

} // namespace

IptvImporter::IptvImporter(SettingsFile& settings, HttpClient& http, QString cacheDir, QObject* parent)
    : QObject(parent), settings_(settings), http_(http), cacheDir_(std::move(cacheDir)) {
    if (!cacheDir_.endsWith(u'/'))
        cacheDir_ += u'/';
}

IptvImporter::~IptvImporter() {
    cancel_ = true;
    http_.abort();
    for (const QPointer<QThread>& t : threads_) {
        if (t) {
            t->wait();
            delete t.data();
        }
    }
}

IptvImporter::Sources IptvImporter::storedSources() const {
    return {settings_.ReadString(Section, QStringLiteral("playlist"), {}).trimmed(),
            settings_.ReadString(Section, QStringLiteral("guide"), {}).trimmed()};
}

QString IptvImporter::playlistCache() const {
    return cacheDir_ + QStringLiteral("playlist.m3u");
}
QString IptvImporter::guideCache() const {
    return cacheDir_ + QStringLiteral("guide.xmltv");
}

QString IptvImporter::status() const {
    if (guideStatus_.isEmpty())
        return playlistStatus_;
    return playlistStatus_ + u'\n' + guideStatus_;
}

void IptvImporter::setPlaylistStatus(const QString& text) {
    playlistStatus_ = text;
    emit statusChanged(status());
}

void IptvImporter::setGuideStatus(const QString& text) {
    guideStatus_ = text;
    emit statusChanged(status());
}

QHash<QString, QString> IptvImporter::storedChoices() const {
    QHash<QString, QString> choices;
    QFile f(settings_.path());
    if (!f.open(QIODevice::ReadOnly))
        return choices;
    // Decoded line by line the way the settings store reads and writes the file.
    const IniText::Utf8File text = IniText::ToUtf8(f.readAll());
    bool inSection = false;
    IniText::ForEachLine(text.body, [&](QByteArrayView raw, QByteArrayView, qsizetype) {
        const IniText::Line l = IniText::ParseLine(IniText::DecodeLine(raw));
        if (l.kind == IniText::Line::Section)
            inSection = IniText::SameName(l.name, MatchSection);
        else if (inSection && l.kind == IniText::Line::Entry && !choices.contains(l.name))
            choices.insert(l.name, l.value);
        return true;
    });
    return choices;
}

void IptvImporter::startUp() {
    const Sources s = storedSources();
    if (s.playlist.isEmpty())
        return;
    Job fresh{s.playlist, QUrl(s.playlist), s.guide, false};
    if (QFileInfo::exists(playlistCache())) {
        next_ = fresh;
        run(Job{playlistCache(), QUrl(s.playlist), QFileInfo::exists(guideCache()) ? guideCache() : QString(),
                true});
    } else {
        run(fresh);
    }
}

void IptvImporter::import(const Sources& sources) {
    next_.reset();
    const QString playlist = sources.playlist.trimmed();
    const QString guide = sources.guide.trimmed();
    if (kindOf(playlist) == SourceKind::None) {
        ++generation_;
        http_.abort();
        busy_ = false;
        try {
            settings_.WriteString(Section, QStringLiteral("playlist"), QString());
            settings_.WriteString(Section, QStringLiteral("guide"), QString());
        } catch (const std::exception& e) {
            qCWarning(lcTv) << e.what();
        }
        QFile::remove(playlistCache());
        QFile::remove(guideCache());
        library_.clear();
        guideStatus_.clear();
        setPlaylistStatus(UiText("IptvImport", "off", QStringLiteral("IPTV выключено: плейлист не задан")));
        emit playlistChanged();
        emit finished();
        return;
    }
    for (const QString& s : {playlist, guide}) {
        if (kindOf(s) == SourceKind::Bad) {
            guideStatus_.clear();
            setPlaylistStatus(
                UiText("IptvImport", "badSource",
                       QStringLiteral("Неверный источник «%1»: нужен файл или адрес http(s)://. "
                                      "Оставлен прежний импорт."))
                    .arg(s));
            emit finished();
            return;
        }
    }
    QUrl base =
        kindOf(playlist) == SourceKind::Url ? QUrl(playlist) : QUrl::fromLocalFile(localPath(playlist));
    run(Job{playlist, base, guide, false});
}

void IptvImporter::run(Job job) {
    const int generation = ++generation_;
    http_.abort();
    busy_ = true;
    if (!job.fromCache)
        setPlaylistStatus(UiText("IptvImport", "loadingPlaylist", QStringLiteral("Загрузка плейлиста…")));
    if (kindOf(job.playlist) == SourceKind::Url) {
        fetch(QUrl(job.playlist), M3uPlaylist::MaxBytes,
              [this, generation, job](QByteArray bytes, QString error) {
                  if (generation != generation_)
                      return;
                  if (!error.isEmpty())
                      playlistFailed(generation, job, error);
                  else
                      playlistArrived(generation, job, std::move(bytes));
              });
        return;
    }
    const QString path = localPath(job.playlist);
    runOffThread([this, generation, job, path]() -> std::function<void()> {
        QString error;
        auto bytes = readCapped(path, M3uPlaylist::MaxBytes, error);
        return [this, generation, job, bytes = std::move(bytes), error]() mutable {
            if (generation != generation_)
                return;
            if (!bytes)
                playlistFailed(generation, job, error);
            else
                playlistArrived(generation, job, std::move(*bytes));
        };
    });
}

void IptvImporter::fetch(const QUrl& url, qint64 cap, std::function<void(QByteArray, QString)> then) {
    auto tooLarge = std::make_shared<bool>(false);
    HttpProgress progress;
    // The transfer is ended from the event loop, not from inside the client's own callback.
    const auto stop = [this, tooLarge, generation = generation_] {
        if (*tooLarge)
            return;
        *tooLarge = true;
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation == generation_)
                    http_.abort();
            },
            Qt::QueuedConnection);
    };
    progress.begin = [cap, stop](qint64 total) {
        if (total > cap)
            stop();
    };
    progress.work = [cap, stop](qint64 done) {
        if (done > cap)
            stop();
    };
    const bool started = http_.get(url, progress, [cap, tooLarge, then](const HttpResult& r) {
        if (*tooLarge)
            then({},
                 UiText("IptvImport", "replyTooLarge", QStringLiteral("ответ больше %1 МБ")).arg(cap >> 20));
        else if (!r.completed)
            then({}, r.error.isEmpty() ? UiText("IptvImport", "nothingReceived", QStringLiteral("нет ответа"))
                                       : r.error);
        else
            then(r.body, {});
    });
    if (!started)
        then({}, UiText("IptvImport", "busy", QStringLiteral("другая загрузка ещё идёт")));
}

void IptvImporter::runOffThread(std::function<std::function<void()>()> work) {
    QThread* thread = QThread::create([this, work = std::move(work)] {
        std::function<void()> done = work();
        QMetaObject::invokeMethod(this, std::move(done), Qt::QueuedConnection);
    });
    thread->setObjectName(QStringLiteral("iptv-import"));
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    std::erase_if(threads_, [](const QPointer<QThread>& t) { return t.isNull(); });
    threads_.emplace_back(thread);
    thread->start(QThread::LowPriority);
}

void IptvImporter::playlistArrived(int generation, const Job& job, QByteArray bytes) {
    const std::vector<CatalogChannel> catalog = library_.catalog();
    const QHash<QString, QString> choices = storedChoices();
    struct Result {
        ParsedPlaylist parsed;
        std::vector<ChannelMatch> matches;
    };
    runOffThread([this, generation, job, bytes = std::move(bytes), catalog,
                  choices]() -> std::function<void()> {
        auto result = std::make_shared<Result>();
        result->parsed = M3uPlaylist::parse(bytes, job.base);
        if (result->parsed.ok())
            result->matches = ChannelMatcher::match(catalog, result->parsed.entries, choices);
        if (result->parsed.ok() && !job.fromCache)
            writeFile(playlistCache(), bytes);
        return [this, generation, job, result] {
            if (generation != generation_)
                return;
            ParsedPlaylist& p = result->parsed;
            if (!p.ok()) {
                playlistFailed(generation, job, p.error);
                return;
            }
            const qsizetype count = qsizetype(p.entries.size());
            library_.setPlaylist(std::move(p.entries), std::move(result->matches));
            if (!job.fromCache) {
                try {
                    settings_.WriteString(Section, QStringLiteral("playlist"), job.playlist);
                    settings_.WriteString(Section, QStringLiteral("guide"), job.guide);
                } catch (const std::exception& e) {
                    qCWarning(lcTv) << e.what();
                }
            }
            QString text = UiText("IptvImport", "playlistDone",
                                  QStringLiteral("Плейлист: %1 %2; с каталогом совпало %3 из %4."))
                               .arg(count)
                               .arg(channelsWord(count))
                               .arg(library_.matchedCount())
                               .arg(library_.catalogNames().size());
            QStringList notes;
            if (p.refused)
                notes << UiText("IptvImport", "refused", QStringLiteral("отклонено адресов не http(s): %1"))
                             .arg(p.refused);
            if (p.skippedLines)
                notes << UiText("IptvImport", "broken", QStringLiteral("битых записей: %1"))
                             .arg(p.skippedLines);
            if (!notes.isEmpty())
                text += u' ' + notes.join(QStringLiteral(", ")) + u'.';
            qCInfo(lcTv) << text;
            setPlaylistStatus(text);
            emit playlistChanged();
            startGuide(generation, job);
        };
    });
}

void IptvImporter::playlistFailed(int generation, const Job& job, const QString& why) {
    qCWarning(lcTv) << "playlist" << job.playlist << why;
    if (job.fromCache) {
        // A damaged cache is dropped quietly; the fresh import follows.
        QFile::remove(playlistCache());
        done(generation);
        return;
    }
    QString text =
        UiText("IptvImport", "playlistFailed", QStringLiteral("Плейлист не загружен: %1.")).arg(why);
    if (!library_.playlist().empty())
        text += u' ' + UiText("IptvImport", "keptImport", QStringLiteral("Оставлен прежний импорт."));
    setPlaylistStatus(text);
    done(generation);
}

void IptvImporter::startGuide(int generation, const Job& job) {
    if (kindOf(job.guide) == SourceKind::None) {
        library_.setGuide(nullptr);
        setGuideStatus({});
        done(generation);
        return;
    }
    GuideFilter filter;
    for (const PlaylistEntry& e : library_.playlist()) {
        if (!e.tvgId.isEmpty())
            filter.ids.insert(e.tvgId);
        filter.nameKeys.insert(ChannelNameKey(e.name));
        if (!e.tvgName.isEmpty())
            filter.nameKeys.insert(ChannelNameKey(e.tvgName));
    }
    // A guide may know a channel by the catalog's name rather than the playlist's.
    for (const ChannelMatch& m : library_.matches())
        if (m.entry >= 0)
            filter.nameKeys.insert(ChannelNameKey(m.catalogName));
    // Yesterday, today and tomorrow in local time.
    const QDate today = QDate::currentDate();
    filter.from = QDateTime(today.addDays(-1), QTime(0, 0)).toMSecsSinceEpoch();
    filter.to = QDateTime(today.addDays(2), QTime(0, 0)).toMSecsSinceEpoch();
    if (!job.fromCache)
        setGuideStatus(UiText("IptvImport", "loadingGuide", QStringLiteral("Загрузка программы…")));

    const QString cache = guideCache();
    auto parse = [this, generation, job, filter, cache](QString path, bool keepAsCache) {
        runOffThread([this, generation, job, filter, cache, path, keepAsCache]() -> std::function<void()> {
            ParsedGuide parsed = XmltvReader::readFile(path, filter, &cancel_);
            if (keepAsCache && path != cache) {
                if (parsed.ok()) {
                    QFile::remove(cache);
                    if (path.startsWith(cacheDir_))
                        QFile::rename(path, cache);
                    else
                        QFile::copy(path, cache);
                } else if (path.startsWith(cacheDir_)) {
                    QFile::remove(path);
                }
            }
            auto guide =
                parsed.ok() ? std::make_shared<const ProgrammeGuide>(std::move(parsed.guide)) : nullptr;
            return [this, generation, job, error = parsed.error, guide] {
                guideDone(generation, job, error, guide);
            };
        });
    };
    if (kindOf(job.guide) == SourceKind::Url) {
        fetch(QUrl(job.guide), MaxGuideDownload,
              [this, generation, job, parse](QByteArray bytes, QString error) {
                  if (generation != generation_)
                      return;
                  if (!error.isEmpty()) {
                      guideDone(generation, job, error, nullptr);
                      return;
                  }
                  const QString download = cacheDir_ + QStringLiteral("guide.download");
                  if (!QDir().mkpath(cacheDir_) || !writeFile(download, bytes)) {
                      guideDone(
                          generation, job,
                          UiText("IptvImport", "cannotWrite", QStringLiteral("не записать %1")).arg(download),
                          nullptr);
                      return;
                  }
                  parse(download, true);
              });
        return;
    }
    parse(localPath(job.guide), !job.fromCache);
}

void IptvImporter::guideDone(int generation, const Job& job, const QString& error,
                             std::shared_ptr<const ProgrammeGuide> guide) {
    if (generation != generation_)
        return;
    if (guide) {
        library_.setGuide(guide);
        setGuideStatus(UiText("IptvImport", "guideDone", QStringLiteral("Программа: %1 %2, передач: %3."))
                           .arg(guide->channelCount())
                           .arg(channelsWord(guide->channelCount()))
                           .arg(guide->programmeCount()));
    } else if (!job.fromCache) {
        qCWarning(lcTv) << "guide" << job.guide << error;
        QString text =
            UiText("IptvImport", "guideFailed", QStringLiteral("Программа не загружена: %1.")).arg(error);
        if (library_.guide())
            text += u' ' + UiText("IptvImport", "keptGuide", QStringLiteral("Оставлена прежняя."));
        setGuideStatus(text);
    }
    done(generation);
}

void IptvImporter::done(int generation) {
    if (generation != generation_)
        return;
    if (next_) {
        Job fresh = *next_;
        next_.reset();
        run(std::move(fresh));
        return;
    }
    busy_ = false;
    emit finished();
}

void IptvImporter::choose(const QString& catalogName, const QString& playlistName) {
    const int index = library_.choose(catalogName, playlistName);
    try {
        settings_.WriteString(MatchSection, catalogName, playlistName);
    } catch (const std::exception& e) {
        qCWarning(lcTv) << e.what();
        setPlaylistStatus(QString::fromUtf8(e.what()));
    }
    if (index >= 0)
        emit matchChanged(index);
}

std::optional<QString> IptvImporter::programmePage(const QString& name, qint64 nowMs) {
    const std::vector<Programme>* programmes = library_.programmesFor(name);
    if (!programmes)
        return std::nullopt;
    const auto html = GuidePageHtml(name, *programmes, nowMs);
    if (!html)
        return std::nullopt;
    const QString path = cacheDir_ + QStringLiteral("programme.html");
    if (!QDir().mkpath(cacheDir_) || !writeFile(path, html->toUtf8()))
        return std::nullopt;
    return path;
}
