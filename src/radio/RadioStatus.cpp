#include "radio/RadioStatus.h"

namespace {
QString text(const LangLookup& lang, const char* key, const QString& russian,
             const QString& section = QStringLiteral("Radio")) {
    if (lang) {
        const QString t = lang(section, QLatin1String(key));
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
    case S::LookingUp:
        return text(lang, "lookingUp", QStringLiteral("Поиск станции в каталоге…"),
                    QStringLiteral("DirectoryForm"));
    case S::Connecting:
        return text(lang, "connecting", QStringLiteral("Подключение…"));
    case S::Playing:
        return text(lang, "playing", QStringLiteral("Играет"));
    case S::Reconnecting: {
        if (status.retryIn > 0) {
            const QString t = text(lang, "retryin", QStringLiteral("Переподключение через %1 с"),
                                   QStringLiteral("RadioRecovery"));
            return t.contains(QLatin1String("%1")) ? t.arg(status.retryIn) : t;
        }
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

QString radioCauseText(const RadioStatus& status, const LangLookup& lang) {
    using C = RadioStatus::Cause;
    const QString section = QStringLiteral("RadioRecovery");
    switch (status.cause) {
    case C::HostUnknown:
        return text(lang, "hostunknown", QStringLiteral("сервер не найден (неизвестное имя)"), section);
    case C::Refused:
        return text(lang, "refused", QStringLiteral("сервер отклонил соединение"), section);
    case C::Tls:
        return text(lang, "tls", QStringLiteral("ошибка защищённого соединения (TLS)"), section);
    case C::Http: {
        const QString t = text(lang, "http", QStringLiteral("сервер ответил ошибкой HTTP %1"), section);
        return t.contains(QLatin1String("%1")) ? t.arg(status.httpCode) : t;
    }
    case C::Timeout:
        return text(lang, "timeout", QStringLiteral("сервер не отвечает"), section);
    case C::Unknown:
        break;
    }
    return status.reason;
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
