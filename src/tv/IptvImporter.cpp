#include "tv/IptvImporter.h"

#include "platform/HttpClient.h"
#include "platform/LogCategories.h"
#include "platform/UiText.h"
#include "platform/UserAgent.h"
#include "settings/LanguagePack.h"
#include "settings/SettingsFile.h"
#include "tv/ChannelName.h"
#include "tv/GuidePage.h"
#include "tv/PublicPlaylists.h"
#include "tv/XmltvReader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QThread>
#include <QTimer>

#include <algorithm>

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

QUrl baseOf(const QString& location) {
    return kindOf(location) == SourceKind::Url ? QUrl(location.trimmed())
                                               : QUrl::fromLocalFile(localPath(location));
}

QString when(const QDateTime& t) {
    return QLocale::system().toString(t, QStringLiteral("dd.MM HH:mm"));
}

} // namespace

IptvImporter::IptvImporter(SettingsFile& settings, HttpClient& http, QString cacheDir, QObject* parent)
    : QObject(parent), settings_(settings), http_(http), cacheDir_(std::move(cacheDir)), sources_(settings),
      lang_(&LangText) {
    if (!cacheDir_.endsWith(u'/'))
        cacheDir_ += u'/';
    // Playlist and guide hosts, like stream hosts, often refuse anything but a browser.
    http_.setUserAgent(UserAgent::Browser);
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

void IptvImporter::setDeadlines(int playlistMs, int guideMs) {
    playlistDeadlineMs_ = playlistMs;
    guideDeadlineMs_ = guideMs;
}

QString IptvImporter::text(const char* key) const {
    const QString t = lang_ ? lang_(QStringLiteral("TvSources"), QLatin1String(key)) : QString();
    return t.isEmpty() ? QStringLiteral("0") : t;
}

QString IptvImporter::sourceTitle(const PlaylistSource& s) const {
    if (s.isPublic())
        return text("publicTitle").arg(text(("country_" + s.id.toLatin1()).constData()));
    return text("ownTitle").arg(s.location);
}

std::vector<IptvImporter::SourceState> IptvImporter::sourceStates() const {
    std::vector<SourceState> out;
    for (PlaylistSource& s : sources_.all()) {
        SourceState st;
        const auto known = states_.constFind(s.cacheName);
        if (!s.enabled) {
            st.state = text("stateOff");
        } else if (known != states_.cend()) {
            st.state = known->text;
            st.failed = known->failed;
        } else {
            st.state = text("stateWaiting");
        }
        st.source = std::move(s);
        out.push_back(std::move(st));
    }
    return out;
}

bool IptvImporter::usesPublicPlaylists() const {
    for (const PlaylistSource& s : sources_.all())
        if (s.isPublic() && s.enabled)
            return true;
    return false;
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

void IptvImporter::setSourceState(const QString& cacheName, const QString& text, bool failed) {
    states_.insert(cacheName, State{text, failed});
    emit sourcesChanged();
}

void IptvImporter::storeQuietly(const std::function<void()>& write) {
    try {
        write();
    } catch (const std::exception& e) {
        qCWarning(lcTv) << e.what();
        setPlaylistStatus(QString::fromUtf8(e.what()));
    }
}

QHash<QString, QString> IptvImporter::storedChoices() const {
    // Through the store: a choice just made may not be in the file yet.
    QHash<QString, QString> choices;
    for (const auto& [name, playlistName] : settings_.ReadSection(MatchSection))
        choices.insert(name, playlistName);
    return choices;
}

// The sources switched on, each either fetched now or taken from its kept copy: own playlists are
// fetched when ownFresh, public ones when their copy is missing or a day old.
IptvImporter::Job IptvImporter::planned(bool fromCache, bool ownFresh) const {
    Job job;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (const PlaylistSource& s : sources_.all()) {
        if (!s.enabled || kindOf(s.location) == SourceKind::Bad)
            continue;
        const QFileInfo cache(cacheDir_ + s.cacheName);
        Fetch f{s, baseOf(s.location), true, false};
        if (fromCache) {
            if (!cache.exists())
                continue;
            f.fresh = false;
        } else if (cache.exists()) {
            f.fresh =
                s.isPublic() ? now - cache.lastModified().toMSecsSinceEpoch() >= PublicRefreshMs : ownFresh;
        }
        job.playlists.push_back(std::move(f));
    }
    const QString guide = storedSources().guide;
    if (fromCache)
        job.guide = !guide.isEmpty() && QFileInfo::exists(guideCache()) ? guideCache() : QString();
    else
        job.guide = guide;
    job.fromCache = fromCache;
    return job;
}

void IptvImporter::startUp() {
    // The user was quicker (an import or a source switched): the start's pass would undo it.
    if (generation_ != 0)
        return;
    Job cached = planned(true, false);
    Job fresh = planned(false, true);
    const bool anythingFresh =
        !fresh.guide.isEmpty() ||
        std::any_of(fresh.playlists.begin(), fresh.playlists.end(), [](const Fetch& f) { return f.fresh; });
    if (fresh.playlists.empty())
        return;
    if (cached.playlists.empty()) {
        run(std::move(fresh));
        return;
    }
    if (anythingFresh)
        next_ = std::move(fresh);
    run(std::move(cached));
}

void IptvImporter::remerge() {
    next_.reset();
    Job job = planned(false, false);
    if (job.playlists.empty()) {
        // Nothing left to play from.
        ++generation_;
        http_.abort();
        busy_ = false;
        library_.clear();
        guideStatus_.clear();
        setPlaylistStatus(UiText("IptvImport", "off", QStringLiteral("IPTV выключено: плейлист не задан")));
        emit playlistChanged();
        emit sourcesChanged();
        emit finished();
        return;
    }
    run(std::move(job));
}

void IptvImporter::setPublicEnabled(const QString& code, bool on) {
    storeQuietly([&] { sources_.setPublicEnabled(code, on); });
    emit sourcesChanged();
    remerge();
}

void IptvImporter::addPlaylist(const QString& location) {
    if (kindOf(location) == SourceKind::Bad || kindOf(location) == SourceKind::None) {
        setPlaylistStatus(UiText("UserMessages", "badOwnSource",
                                 QStringLiteral("Неверный источник «%1»: нужен файл или адрес http(s)://."))
                              .arg(location));
        emit finished();
        return;
    }
    storeQuietly([&] { sources_.addOwn(location); });
    emit sourcesChanged();
    remerge();
}

void IptvImporter::removeFurtherPlaylist(int index) {
    const QStringList further = sources_.furtherOwn();
    if (index < 0 || index >= further.size())
        return;
    const QString cache = cacheDir_ + IptvSources::OwnCacheName(2, further[index]);
    storeQuietly([&] { sources_.removeFurtherOwn(index); });
    QFile::remove(cache);
    emit sourcesChanged();
    remerge();
}

void IptvImporter::import(const Sources& sources) {
    next_.reset();
    const QString playlist = sources.playlist.trimmed();
    const QString guide = sources.guide.trimmed();
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
    if (kindOf(playlist) == SourceKind::None) {
        // The first own playlist goes; what else is switched on stays.
        storeQuietly([&] {
            settings_.WriteString(Section, QStringLiteral("playlist"), QString());
            settings_.WriteString(Section, QStringLiteral("guide"), guide);
        });
        QFile::remove(cacheDir_ + IptvSources::OwnCacheName(1, {}));
        if (guide.isEmpty())
            QFile::remove(guideCache());
        remerge();
        return;
    }
    Job job = planned(false, true);
    // The given playlist takes the first own place, fetched now; it is stored only when good.
    std::erase_if(job.playlists, [](const Fetch& f) { return f.source.id == u"own1"; });
    PlaylistSource own;
    own.id = QStringLiteral("own1");
    own.location = playlist;
    own.cacheName = IptvSources::OwnCacheName(1, playlist);
    // With no own playlist stored, the public ones are on by default and go off with this one;
    // those the user switched on stay.
    if (storedSources().playlist.isEmpty()) {
        std::erase_if(job.playlists, [this](const Fetch& f) {
            return f.source.isPublic() &&
                   settings_.ReadString(QStringLiteral("IPTVPublic"), f.source.id, {}).trimmed() != u"1";
        });
    }
    const auto firstFurther = std::find_if(job.playlists.begin(), job.playlists.end(),
                                           [](const Fetch& f) { return !f.source.isPublic(); });
    job.playlists.insert(firstFurther, Fetch{own, baseOf(playlist), true, true});
    job.guide = guide;
    job.storeSources = true;
    job.storedPlaylist = playlist;
    run(std::move(job));
}

void IptvImporter::run(Job job) {
    const int generation = ++generation_;
    http_.abort();
    busy_ = true;
    job_ = std::move(job);
    got_.assign(job_.playlists.size(), Got{});
    if (!job_.fromCache)
        setPlaylistStatus(UiText("IptvImport", "loadingPlaylist", QStringLiteral("Загрузка плейлиста…")));
    gather(generation, 0);
}

// One source after the other through the one HTTP client; files and kept copies are read by the
// merge, off the UI thread.
void IptvImporter::gather(int generation, size_t index) {
    if (generation != generation_)
        return;
    if (index >= job_.playlists.size()) {
        mergeAll(generation);
        return;
    }
    const Fetch& f = job_.playlists[index];
    Got& got = got_[index];
    if (!f.fresh) {
        got.path = cacheDir_ + f.source.cacheName;
        gather(generation, index + 1);
        return;
    }
    if (kindOf(f.source.location) != SourceKind::Url) {
        got.path = localPath(f.source.location);
        gather(generation, index + 1);
        return;
    }
    if (!job_.fromCache)
        setSourceState(f.source.cacheName, text("stateLoading"), false);
    fetch(QUrl(f.source.location), M3uPlaylist::MaxBytes, playlistDeadlineMs_,
          [this, generation, index](QByteArray bytes, QString error) {
              if (generation != generation_)
                  return;
              got_[index].bytes = std::move(bytes);
              got_[index].error = std::move(error);
              gather(generation, index + 1);
          });
}

void IptvImporter::fetch(const QUrl& url, qint64 cap, int deadlineMs,
                         std::function<void(QByteArray, QString)> then) {
    const int transfer = ++transfer_;
    auto tooLarge = std::make_shared<bool>(false);
    auto late = std::make_shared<bool>(false);
    HttpProgress progress;
    // The transfer is ended from the event loop, not from inside the client's own callback.
    const auto stop = [this, tooLarge, transfer] {
        if (*tooLarge)
            return;
        *tooLarge = true;
        QMetaObject::invokeMethod(
            this,
            [this, transfer] {
                if (transfer == transfer_)
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
    auto* deadline = new QTimer(this);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, late, transfer] {
        if (transfer != transfer_)
            return;
        *late = true;
        http_.abort();
    });
    deadline->start(deadlineMs);
    const QString lateText = text("deadline").arg(deadlineMs / 1000);
    const bool started =
        http_.get(url, progress, [cap, tooLarge, late, then, deadline, lateText](const HttpResult& r) {
            deadline->stop();
            deadline->deleteLater();
            if (*tooLarge)
                then({}, UiText("IptvImport", "replyTooLarge", QStringLiteral("ответ больше %1 МБ"))
                             .arg(cap >> 20));
            else if (*late)
                then({}, lateText);
            else if (!r.completed)
                then({}, r.error.isEmpty()
                             ? UiText("IptvImport", "nothingReceived", QStringLiteral("нет ответа"))
                             : r.error);
            else
                then(r.body, {});
        });
    if (!started) {
        deadline->deleteLater();
        then({}, UiText("IptvImport", "busy", QStringLiteral("другая загрузка ещё идёт")));
    }
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

void IptvImporter::mergeAll(int generation) {
    const std::vector<CatalogChannel> catalog = library_.catalog();
    const QHash<QString, QString> choices = storedChoices();
    // What became of one source.
    struct Outcome {
        int count = 0;
        bool fresh = false;  // a fresh copy came and was good
        bool failed = false; // a fresh copy was wanted and did not come (or was bad)
        QString error;
        QDateTime keptFrom; // the kept copy in use, when one is
    };
    struct Result {
        std::vector<PlaylistEntry> entries;
        std::vector<ChannelMatch> matches;
        std::vector<Outcome> outcomes;
        ParsedPlaylist totals; // duplicates, refused and skipped, summed
        QString requiredError;
    };
    const Job job = job_;
    std::vector<Got> got = std::move(got_);
    got_.clear();
    const QString cacheDir = cacheDir_;
    runOffThread([this, generation, job, got = std::move(got), catalog, choices,
                  cacheDir]() -> std::function<void()> {
        auto result = std::make_shared<Result>();
        result->outcomes.resize(job.playlists.size());
        for (size_t i = 0; i < job.playlists.size(); ++i) {
            if (cancel_)
                break;
            const Fetch& f = job.playlists[i];
            const Got& g = got[i];
            Outcome& out = result->outcomes[i];
            const QString cache = cacheDir + f.source.cacheName;
            ParsedPlaylist parsed;
            QString error = g.error;
            if (error.isEmpty()) {
                std::optional<QByteArray> bytes = g.bytes;
                if (!g.path.isEmpty())
                    bytes = readCapped(g.path, M3uPlaylist::MaxBytes, error);
                if (bytes) {
                    parsed = M3uPlaylist::parse(*bytes, f.base);
                    error = parsed.error;
                    if (parsed.ok() && f.fresh && !job.fromCache)
                        writeFile(cache, *bytes);
                }
            }
            if (error.isEmpty()) {
                out.fresh = f.fresh;
                if (!f.fresh)
                    out.keptFrom = QFileInfo(cache).lastModified();
            } else if (f.required) {
                result->requiredError = error;
                break;
            } else {
                out.failed = f.fresh;
                out.error = error;
                parsed = {};
                // The last good copy stands in for a fetch that failed.
                if (f.fresh && QFileInfo::exists(cache)) {
                    QString cacheError;
                    if (auto kept = readCapped(cache, M3uPlaylist::MaxBytes, cacheError)) {
                        parsed = M3uPlaylist::parse(*kept, f.base);
                        if (parsed.ok())
                            out.keptFrom = QFileInfo(cache).lastModified();
                    }
                } else if (!f.fresh) {
                    QFile::remove(cache); // a damaged copy is dropped
                }
                if (!parsed.ok())
                    parsed.entries.clear();
            }
            out.count = int(parsed.entries.size());
            result->totals.duplicates += parsed.duplicates;
            result->totals.refused += parsed.refused;
            result->totals.skippedLines += parsed.skippedLines;
            if (result->totals.guideUrl.isEmpty())
                result->totals.guideUrl = parsed.guideUrl;
            for (PlaylistEntry& e : parsed.entries) {
                e.country = f.source.country;
                result->entries.push_back(std::move(e));
            }
        }
        if (result->requiredError.isEmpty() && !cancel_)
            result->matches = ChannelMatcher::match(catalog, result->entries, choices);
        return [this, generation, job, result] {
            if (generation != generation_)
                return;
            if (!result->requiredError.isEmpty()) {
                playlistFailed(generation, result->requiredError);
                return;
            }
            bool anyFresh = false;
            int failed = 0;
            for (size_t i = 0; i < job.playlists.size(); ++i) {
                const Outcome& o = result->outcomes[i];
                const QString name = job.playlists[i].source.cacheName;
                anyFresh = anyFresh || o.fresh;
                if (o.failed) {
                    ++failed;
                    qCWarning(lcTv) << "playlist" << job.playlists[i].source.location << o.error;
                    setSourceState(name,
                                   o.keptFrom.isValid()
                                       ? text("stateFailedKept").arg(o.error, when(o.keptFrom))
                                       : text("stateFailedNone").arg(o.error),
                                   true);
                } else if (o.fresh) {
                    setSourceState(name,
                                   text("stateLoaded").arg(o.count).arg(when(QDateTime::currentDateTime())),
                                   false);
                } else if (o.keptFrom.isValid() && !(job.fromCache && states_.contains(name))) {
                    setSourceState(name, text("stateCached").arg(o.count).arg(when(o.keptFrom)), false);
                }
            }
            // A fresh pass that brought nothing new leaves the library as the kept copies made it.
            QStringList merged; // the sources that gave entries
            for (size_t i = 0; i < job.playlists.size(); ++i)
                if (result->outcomes[i].count > 0)
                    merged << job.playlists[i].source.cacheName;
            const bool same = !anyFresh && !job.fromCache && merged == lastMerged_ && mergedOnce_;
            const qsizetype count = qsizetype(result->entries.size());
            if (!same) {
                library_.setPlaylist(std::move(result->entries), std::move(result->matches));
                lastMerged_ = merged;
                mergedOnce_ = true;
            }
            if (job.storeSources)
                storeQuietly([&] {
                    settings_.WriteString(Section, QStringLiteral("playlist"), job.storedPlaylist);
                    settings_.WriteString(Section, QStringLiteral("guide"), job.guide);
                });
            QString text;
            if (failed > 0 && job.playlists.size() == 1) {
                text = UiText("IptvImport", "playlistFailed", QStringLiteral("Плейлист не загружен: %1."))
                           .arg(result->outcomes.front().error);
                if (!library_.playlist().empty())
                    text +=
                        u' ' + UiText("IptvImport", "keptImport", QStringLiteral("Оставлен прежний импорт."));
            } else {
                const qsizetype shown = same ? qsizetype(library_.playlist().size()) : count;
                text = UiText("IptvImport", "playlistDone",
                              QStringLiteral("Плейлист: %1 %2; с каталогом совпало %3 из %4."))
                           .arg(shown)
                           .arg(channelsWord(shown))
                           .arg(library_.matchedCount())
                           .arg(library_.catalogNames().size());
                QStringList notes;
                const ParsedPlaylist& p = result->totals;
                if (p.refused)
                    notes << UiText("IptvImport", "refused",
                                    QStringLiteral("отклонено адресов не http(s): %1"))
                                 .arg(p.refused);
                if (p.skippedLines)
                    notes << UiText("IptvImport", "broken", QStringLiteral("битых записей: %1"))
                                 .arg(p.skippedLines);
                if (!notes.isEmpty())
                    text += u' ' + notes.join(QStringLiteral(", ")) + u'.';
                if (failed > 0)
                    text += u' ' + this->text("someFailed").arg(failed);
            }
            qCInfo(lcTv) << text;
            setPlaylistStatus(text);
            if (!same)
                emit playlistChanged();
            // Without a guide of the user's own, the first one a playlist's header names; it is
            // kept as the cached guide like any other, but never stored as the user's choice.
            const QUrl headerGuide = result->totals.guideUrl;
            if (kindOf(job_.guide) == SourceKind::None && !job.fromCache && !headerGuide.isEmpty()) {
                qCInfo(lcTv) << "guide from the playlist's header:" << headerGuide.toDisplayString();
                job_.guide = headerGuide.toString();
            }
            startGuide(generation);
        };
    });
}

void IptvImporter::playlistFailed(int generation, const QString& why) {
    qCWarning(lcTv) << "playlist" << job_.storedPlaylist << why;
    QString text =
        UiText("IptvImport", "playlistFailed", QStringLiteral("Плейлист не загружен: %1.")).arg(why);
    if (!library_.playlist().empty())
        text += u' ' + UiText("IptvImport", "keptImport", QStringLiteral("Оставлен прежний импорт."));
    setPlaylistStatus(text);
    done(generation);
}

void IptvImporter::startGuide(int generation) {
    const Job& job = job_;
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

    const bool keep = !job.fromCache;
    // Each download has a file of its own: an older import still being read never touches a newer
    // one's file, and only the import still current makes its file the cache.
    auto parse = [this, generation, filter, keep](QString path, bool downloaded) {
        runOffThread([this, generation, filter, path, keep, downloaded]() -> std::function<void()> {
            ParsedGuide parsed = XmltvReader::readFile(path, filter, &cancel_);
            auto guide =
                parsed.ok() ? std::make_shared<const ProgrammeGuide>(std::move(parsed.guide)) : nullptr;
            return [this, generation, error = parsed.error, guide, path, keep, downloaded] {
                const QString cache = guideCache();
                if (generation == generation_ && keep && guide && path != cache) {
                    QFile::remove(cache);
                    if (downloaded)
                        QFile::rename(path, cache);
                    else
                        QFile::copy(path, cache);
                } else if (downloaded) {
                    QFile::remove(path);
                }
                guideDone(generation, error, guide);
            };
        });
    };
    if (kindOf(job.guide) == SourceKind::Url) {
        fetch(QUrl(job.guide), MaxGuideDownload, guideDeadlineMs_,
              [this, generation, parse](QByteArray bytes, QString error) {
                  if (generation != generation_)
                      return;
                  if (!error.isEmpty()) {
                      guideDone(generation, error, nullptr);
                      return;
                  }
                  const QString download = cacheDir_ + QStringLiteral("guide-%1.download").arg(generation);
                  if (!QDir().mkpath(cacheDir_) || !writeFile(download, bytes)) {
                      guideDone(
                          generation,
                          UiText("IptvImport", "cannotWrite", QStringLiteral("не записать %1")).arg(download),
                          nullptr);
                      return;
                  }
                  parse(download, true);
              });
        return;
    }
    parse(localPath(job.guide), false);
}

void IptvImporter::guideDone(int generation, const QString& error,
                             std::shared_ptr<const ProgrammeGuide> guide) {
    if (generation != generation_)
        return;
    if (guide) {
        library_.setGuide(guide);
        setGuideStatus(UiText("IptvImport", "guideDone", QStringLiteral("Программа: %1 %2, передач: %3."))
                           .arg(guide->channelCount())
                           .arg(channelsWord(guide->channelCount()))
                           .arg(guide->programmeCount()));
    } else if (!job_.fromCache) {
        qCWarning(lcTv) << "guide" << job_.guide << error;
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
        Job fresh = std::move(*next_);
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
