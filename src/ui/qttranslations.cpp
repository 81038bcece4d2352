#include "ui/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace qttranslations {

QString defaultFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool install(QCoreApplication& app, const QLocale& locale, const QString& folder)
{
    auto* translator = new QTranslator(&app);
    // Tries qtbase_ru_RU.qm, qtbase_ru.qm, ... for each of the locale's UI languages.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace qttranslations
