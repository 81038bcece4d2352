#include "markup/filepaths.h"

namespace filepaths {

namespace {

qsizetype lastSeparator(const QString& path)
{
    // In a path of this platform '\\' and ':' are ordinary characters of a name.
    if (path.startsWith(u'/'))
        return path.lastIndexOf(u'/');
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path.at(i);
        if (c == u'\\' || c == u':')
            return i;
    }
    return -1;
}

} // namespace

QString fileNamePart(const QString& path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString extension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0 || dot < lastSeparator(path))
        return {};
    return path.mid(dot);
}

QString asciiLower(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return out;
}

bool isInternetShortcut(const QString& path)
{
    return asciiLower(extension(path)) == QLatin1String(".url");
}

} // namespace filepaths
