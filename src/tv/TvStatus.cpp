#include "tv/TvStatus.h"

#include "platform/HttpReason.h"
#include "platform/UiText.h"
#include "tv/TvScreen.h"

namespace {
// Fills %1, %2 ... when the pack's text has them; a text without them is shown as it is.
// One pass, so that a reason holding "%2" stays as it is.
QString filled(const QString& t, const QStringList& args) {
    QString out;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const int n = i + 1 < t.size() && t[i] == QLatin1Char('%') ? t[i + 1].digitValue() : -1;
        if (n >= 1 && n <= args.size()) {
            out += args[n - 1];
            ++i;
        } else {
            out += t[i];
        }
    }
    return out;
}
} // namespace

QString tvStatusText(const TvScreen& screen) {
    using S = VideoPlayer::Status;
    const VideoPlayer& v = screen.video();
    QString state;
    if (screen.reconnectAttempt() > 0) {
        state =
            filled(UiText("TvScreen", "reconnecting", QStringLiteral("Нет сигнала, переподключение (%1)")),
                   {QString::number(screen.reconnectAttempt())});
    } else {
        switch (v.status()) {
        case S::Idle:
        case S::Playing:
            return {};
        case S::Connecting:
            state = UiText("TvScreen", "connecting", QStringLiteral("Подключение…"));
            break;
        case S::NoSignal:
            state = UiText("TvScreen", "noSignal", QStringLiteral("нет сигнала"));
            break;
        case S::CodecMissing:
            state =
                filled(UiText("TvScreen", "noDecoder", QStringLiteral("Нет декодера для этого канала: %1")),
                       {v.reason()});
            break;
        case S::HttpError:
            state = filled(UiText("TvScreen", "httpError", QStringLiteral("Ошибка HTTP %1: %2")),
                           {QString::number(v.httpStatus()), HttpReasonText(v.httpStatus(), v.reason())});
            break;
        case S::Unreachable:
            state = filled(UiText("TvScreen", "unreachable", QStringLiteral("Нет соединения с сервером %1")),
                           {v.reason()});
            break;
        case S::Failed:
            state = filled(UiText("TvScreen", "failed", QStringLiteral("Ошибка воспроизведения: %1")),
                           {v.reason()});
            break;
        }
    }
    if (screen.sourceCount() > 1)
        state += QLatin1Char('\n') +
                 filled(UiText("TvScreen", "source", QStringLiteral("Источник %1/%2")),
                        {QString::number(screen.sourceIndex() + 1), QString::number(screen.sourceCount())});
    return state;
}
