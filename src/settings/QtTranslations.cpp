#include "settings/QtTranslations.h"

#include "platform/LogCategories.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool LoadQtTranslations(QCoreApplication& app, const QString& locale) {
    // A second start-up in one process (tests) replaces the catalogs of the first.
    for (QTranslator* old :
         app.findChildren<QTranslator*>(QStringLiteral("zelmoQtTranslation"), Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    // English is Qt's own language: nothing to load.
    if (locale.isEmpty() || locale == QLatin1String("en"))
        return false;
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool any = false;
    // The base catalog holds the dialogs and menus; WebEngine's holds the pages' context menu.
    for (const char* catalog : {"qtbase_", "qtwebengine_"}) {
        auto* translator = new QTranslator(&app);
        translator->setObjectName(QStringLiteral("zelmoQtTranslation"));
        if (translator->load(QLatin1String(catalog) + locale, dir)) {
            QCoreApplication::installTranslator(translator);
            any = true;
        } else {
            delete translator;
        }
    }
    if (!any)
        qCInfo(lcSettings) << "no Qt translation for" << locale << "in" << dir;
    return any;
}
