#pragma once
#include <QLoggingCategory>

// One category per area; all quiet by default. Turn them on with, for example,
//   QT_LOGGING_RULES="zelmo.*=true"          everything
//   QT_LOGGING_RULES="zelmo.audio.debug=true" the audio engine's details only
// Failures are logged as warnings with their real reason (the library's own error text).
Q_DECLARE_LOGGING_CATEGORY(lcAudio)
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcWeb)
Q_DECLARE_LOGGING_CATEGORY(lcTv)
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
