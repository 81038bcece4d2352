#include "core/document/programoptions.h"

#include <QFileInfo>

namespace programoptions {

Request requestFor(const QStringList& arguments)
{
    if (arguments.size() != 1 || QFileInfo::exists(arguments.first()))
        return Request::OpenEditor;
    if (arguments.first() == QLatin1String("--help"))
        return Request::ShowUsage;
    if (arguments.first() == QLatin1String("--version"))
        return Request::ShowVersion;
    return Request::OpenEditor;
}

QString usageText()
{
    return QStringLiteral("Usage: quillet [FILE]\n"
                          "A small editor for writing HTML source by hand.\n"
                          "The arguments, joined by single blanks, name the document to open.\n"
                          "\n"
                          "  --help     show this text and exit\n"
                          "  --version  show the version and exit\n");
}

QString versionText()
{
    return QStringLiteral("Brannoc Quillet 1.7.1\n");
}

} // namespace programoptions
