#include "platform/HttpReason.h"

#include "platform/UiText.h"

#include <QByteArray>

namespace {
struct Reason {
    int status;
    const char16_t* russian;
};

// The statuses a stream or directory server answers with in practice.
constexpr Reason kReasons[] = {
    {400, u"Неверный запрос"},
    {401, u"Нужна авторизация"},
    {403, u"Доступ запрещён"},
    {404, u"Не найдено"},
    {405, u"Метод не разрешён"},
    {408, u"Время запроса истекло"},
    {410, u"Удалено"},
    {429, u"Слишком много запросов"},
    {451, u"Недоступно по закону"},
    {500, u"Внутренняя ошибка сервера"},
    {502, u"Ошибка шлюза"},
    {503, u"Сервис недоступен"},
    {504, u"Шлюз не отвечает"},
};
} // namespace

QString HttpReasonText(int status, const QString& serverReason) {
    for (const Reason& r : kReasons)
        if (r.status == status) {
            const QByteArray key = "http" + QByteArray::number(status);
            return UiText("HttpStatus", key.constData(), QString::fromUtf16(r.russian));
        }
    return serverReason;
}
