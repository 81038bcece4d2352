#pragma once

#include <QString>
#include <QStringList>

/// The program's own options. Every argument names the document; only
/// "--help" or "--version" given alone, when no file of that name exists,
/// asks for a text on standard output instead of the editor.
namespace programoptions {

enum class Request { OpenEditor, ShowUsage, ShowVersion };

Request requestFor(const QStringList& arguments);

/// The usage text, ending with a line break.
QString usageText();

/// "Brannoc Quillet 1.7.1" and a line break.
QString versionText();

} // namespace programoptions
