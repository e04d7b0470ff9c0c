#include "BenchPlaylist.h"

namespace BenchPlaylist {

const char* const Words[24] = {"Новости", "Время",      "Кино",    "Сериал",  "Детектив",    "Комедия",
                               "Спорт",   "Футбол",     "Погода",  "Утро",    "Вечер",       "Шоу",
                               "Концерт", "Мультфильм", "История", "Наука",   "Путешествие", "Кухня",
                               "Дом",     "Здоровье",   "Доброе",  "Большая", "игра",        "Пусть"};

QByteArray text(int n, const QStringList& catalog) {
    QByteArray text = "#EXTM3U url-tvg=\"http://epg.example/epg.xml.gz\"\n";
    text.reserve(n * 170);
    const char* const suffixes[] = {"", " HD", " FHD", " +0", " (Россия)", " +2", " orig"};
    for (int i = 0; i < n; ++i) {
        // A third of the entries are catalog channels written the playlist way, the rest other channels.
        const QString name =
            i % 3 == 0 ? catalog[(i / 3) % catalog.size()] + QLatin1String(suffixes[i % 7]) +
                             (i >= 3 * catalog.size() ? QStringLiteral(" %1").arg(i) : QString())
                       : QStringLiteral("%1 %2 %3")
                             .arg(QString::fromUtf8(Words[i % 24]), QString::fromUtf8(Words[(i / 24) % 24]))
                             .arg(i);
        text += QStringLiteral(
                    "#EXTINF:-1 tvg-id=\"ch%1\" tvg-name=\"%2\" tvg-logo=\"http://logo.example/%1.png\" "
                    "group-title=\"%3\",%2\nhttp://cdn%4.example/live/ch%1/index.m3u8\n")
                    .arg(i)
                    .arg(name, QString::fromUtf8(Words[i % 24]))
                    .arg(i % 10)
                    .toUtf8();
    }
    return text;
}

} // namespace BenchPlaylist
