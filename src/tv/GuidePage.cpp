#include "tv/GuidePage.h"

#include "platform/UiText.h"

#include <QDateTime>

#include <algorithm>

namespace {

QString clock(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toLocalTime().toString(QStringLiteral("HH:mm"));
}

QString header(const QString& text) {
    return QStringLiteral("<tr><th colspan=\"2\">%1</th></tr>\n").arg(text.toHtmlEscaped());
}

// The running programme carries how far it has got, as a bar under its title.
QString row(const Programme& p, const char* cls, int percentDone = -1) {
    QString html =
        QStringLiteral("<tr class=\"%1\"><td class=\"t\">%2<span class=\"e\">–%3</span></td><td><b>%4</b>")
            .arg(QLatin1String(cls), clock(p.start), clock(p.stop), p.title.toHtmlEscaped());
    if (percentDone >= 0)
        html += QStringLiteral("<div class=\"bar\"><div style=\"width:%1%\"></div></div>").arg(percentDone);
    if (!p.description.isEmpty())
        html += QStringLiteral("<div class=\"d\">%1</div>").arg(p.description.toHtmlEscaped());
    return html + QStringLiteral("</td></tr>\n");
}

qint64 startOfDay(const QDate& day) {
    return QDateTime(day, QTime(0, 0)).toMSecsSinceEpoch();
}

// The programmes that start within [from, to), under a heading, when there are any.
QString daySection(const std::vector<Programme>& programmes, qint64 from, qint64 to, const QString& title) {
    QString body;
    for (const Programme& p : programmes)
        if (p.start >= from && p.start < to)
            body += row(p, "other");
    return body.isEmpty() ? body : header(title) + body;
}

} // namespace

std::optional<QString> GuidePageHtml(const QString& channel, const std::vector<Programme>& programmes,
                                     qint64 nowMs) {
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(nowMs).toLocalTime();
    const QDate today = now.date();
    const qint64 endOfToday = startOfDay(today.addDays(1));
    auto it = programmes.begin();
    while (it != programmes.end() && it->stop <= nowMs)
        ++it;
    if (it == programmes.end() || it->start >= endOfToday)
        return std::nullopt;

    QString body = daySection(programmes, startOfDay(today.addDays(-1)), startOfDay(today),
                              UiText("GuideTable", "yesterday", QStringLiteral("Вчера")));
    const bool onNow = it->start <= nowMs;
    if (onNow) {
        const qint64 length = std::max<qint64>(1, it->stop - it->start);
        const int done = int(std::clamp<qint64>((nowMs - it->start) * 100 / length, 0, 100));
        body += header(UiText("GuideTable", "now", QStringLiteral("Сейчас"))) + row(*it, "now", done);
        ++it;
    }
    if (it != programmes.end()) {
        body += header(UiText("GuideTable", "next", QStringLiteral("Далее"))) + row(*it, "next");
        ++it;
    }
    bool restHeader = false;
    for (; it != programmes.end() && it->start < endOfToday; ++it) {
        if (!restHeader) {
            body += header(UiText("GuideTable", "today", QStringLiteral("Сегодня")));
            restHeader = true;
        }
        body += row(*it, "later");
    }
    body += daySection(programmes, endOfToday, startOfDay(today.addDays(2)),
                       UiText("GuideTable", "tomorrow", QStringLiteral("Завтра")));
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"%4\"><head><meta charset=\"utf-8\"><title>%1</title>\n"
               "<style>body{font:13px Tahoma,sans-serif;margin:8px;background:#fff;color:#222}"
               "h1{font-size:16px;margin:0 0 6px}table{border-collapse:collapse;width:100%}"
               "th{text-align:left;background:#e8eef6;padding:3px 4px}td{padding:2px 4px;"
               "vertical-align:top}td.t{width:84px;color:#555;white-space:nowrap}"
               ".e{color:#999}tr.now td{background:#fff6d6}tr.other td{color:#777}"
               ".bar{height:4px;background:#e4e4e4;margin:3px 0;width:100%}"
               ".bar div{height:4px;background:#d08a00}"
               ".d{color:#666;font-size:12px}</style></head>\n"
               "<body><h1>%1</h1><div>%2</div>\n<table>\n%3</table></body></html>\n")
        .arg(channel.toHtmlEscaped(), now.date().toString(QStringLiteral("dd.MM.yyyy")), body,
             UiText("GuideTable", "lang", QStringLiteral("ru")));
}
