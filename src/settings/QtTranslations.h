#pragma once
#include <QString>

class QCoreApplication;

// Loads Qt's own translations (Debian's qt6-translations-l10n) for a locale such as "uk" or
// "zh_CN" into the application: the file dialog, the text fields' menu, standard buttons. A locale
// Qt has no translation for leaves Qt's English texts. Returns whether a catalog was loaded.
bool LoadQtTranslations(QCoreApplication& app, const QString& locale);
