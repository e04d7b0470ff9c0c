#pragma once
#include <QString>

// The reason phrase of an HTTP status in the chosen language; the server's own phrase for a status
// the language packs do not name.
QString HttpReasonText(int status, const QString& serverReason);
