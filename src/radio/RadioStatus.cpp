#include "radio/RadioStatus.h"

namespace {
QString text(const LangLookup& lang, const char* key, const QString& russian) {
    if (lang) {
        const QString t = lang(QStringLiteral("Radio"), QLatin1String(key));
        if (!t.isEmpty() && t != QLatin1String("0"))
            return t;
    }
    return russian;
}
} // namespace

QString radioStateText(const RadioStatus& status, const LangLookup& lang) {
    using S = RadioStatus::State;
    switch (status.state) {
    case S::Off:
        return text(lang, "radiooff", QStringLiteral("Радио выключено"));
    case S::Connecting:
        return text(lang, "connecting", QStringLiteral("Подключение…"));
    case S::Playing:
        return text(lang, "playing", QStringLiteral("Играет"));
    case S::Reconnecting: {
        QString t = text(lang, "reconnecting", QStringLiteral("Переподключение (%1)"));
        return t.contains(QLatin1String("%1")) ? t.arg(status.attempt) : t;
    }
    case S::NoConnection:
        return text(lang, "noconnection", QStringLiteral("Нет связи со станцией"));
    case S::Ended:
        return text(lang, "streamended", QStringLiteral("Поток закончился"));
    }
    return {};
}

QString nowPlayingText(const RadioStatus& status) {
    if (status.station.isEmpty())
        return status.title;
    if (status.title.isEmpty())
        return status.station;
    return status.station + QStringLiteral(" — ") + status.title;
}

QString radioSummary(const RadioStatus& status, const LangLookup& lang) {
    if (status.state == RadioStatus::State::Off)
        return {};
    const QString playing = nowPlayingText(status);
    if (status.state == RadioStatus::State::Playing && !playing.isEmpty())
        return playing;
    const QString state = radioStateText(status, lang);
    return playing.isEmpty() ? state : playing + QStringLiteral("\n") + state;
}
