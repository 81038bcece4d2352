#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

/// Qt's own texts (the buttons and labels of the standard file, font and
/// print dialogs) in the desktop's language. The editor's own captions and
/// messages are not translated: they are fixed texts of the program.
namespace qttranslations {

/// Folder of Qt's translation files (Debian's qt6-translations-l10n).
QString defaultFolder();

/// Installs the "qtbase" translation for the locale from the folder on the
/// application. Returns false, changing nothing, when the folder holds none
/// for that language (English needs none).
bool install(QCoreApplication& app, const QLocale& locale, const QString& folder = defaultFolder());

} // namespace qttranslations
