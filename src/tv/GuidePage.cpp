#include "tv/GuidePage.h"

#include "platform/UiText.h"

#include <QDateTime>

namespace {

QString clock(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toLocalTime().toString(QStringLiteral("HH:mm"));
}

QString row(const Programme& p, const char* cls) {
    QString html = QStringLiteral("<tr class=\"%1\"><td class=\"t\">%2</td><td><b>%3</b>")
                       .arg(QLatin1String(cls), clock(p.start), p.title.toHtmlEscaped());
    if (!p.description.isEmpty())
        html += QStringLiteral("<div class=\"d\">%1</div>").arg(p.description.toHtmlEscaped());
    return html + QStringLiteral("</td></tr>\n");
}

QString heading(const QString& text) {
    return QStringLiteral("<tr><th colspan=\"2\">%1</th></tr>\n").arg(text.toHtmlEscaped());
}

} // namespace

std::optional<QString> GuidePageHtml(const QString& channel, const std::vector<Programme>& programmes,
                                     qint64 nowMs) {
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(nowMs).toLocalTime();
    const qint64 endOfToday = QDateTime(now.date().addDays(1), QTime(0, 0)).toMSecsSinceEpoch();
    auto it = programmes.begin();
    while (it != programmes.end() && it->stop <= nowMs)
        ++it;
    if (it == programmes.end() || it->start >= endOfToday)
        return std::nullopt;

    QString body;
    const bool onNow = it->start <= nowMs;
    if (onNow) {
        body += heading(UiText("GuideTable", "now", QStringLiteral("Сейчас"))) + row(*it, "now");
        ++it;
    }
    if (it != programmes.end()) {
        body += heading(UiText("GuideTable", "next", QStringLiteral("Далее"))) + row(*it, "next");
        ++it;
    }
    bool restHeader = false;
    for (; it != programmes.end() && it->start < endOfToday; ++it) {
        if (!restHeader) {
            body += heading(UiText("GuideTable", "today", QStringLiteral("Сегодня")));
            restHeader = true;
        }
        body += row(*it, "later");
    }
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"%4\"><head><meta charset=\"utf-8\"><title>%1</title>\n"
               "<style>body{font:13px Tahoma,sans-serif;margin:8px;background:#fff;color:#222}"
               "h1{font-size:16px;margin:0 0 6px}table{border-collapse:collapse;width:100%}"
               "th{text-align:left;background:#e8eef6;padding:3px 4px}td{padding:2px 4px;"
               "vertical-align:top}td.t{width:42px;color:#555}tr.now td{background:#fff6d6}"
               ".d{color:#666;font-size:12px}</style></head>\n"
               "<body><h1>%1</h1><div>%2</div>\n<table>\n%3</table></body></html>\n")
        .arg(channel.toHtmlEscaped(), now.date().toString(QStringLiteral("dd.MM.yyyy")), body,
             UiText("GuideTable", "lang", QStringLiteral("ru")));
}
