#include "platform/LogCategories.h"

// Quiet unless QT_LOGGING_RULES enables them: only critical messages pass by default.
Q_LOGGING_CATEGORY(lcAudio, "zelmo.audio", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcNetwork, "zelmo.network", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcSettings, "zelmo.settings", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcWeb, "zelmo.web", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcTv, "zelmo.tv", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcDesktop, "zelmo.desktop", QtCriticalMsg)
