#include "ui/linefit.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace {

int widestLine(const QFont& font, const QStringList& lines)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

} // namespace

QFont fontFittingLines(const QFont& start, const QStringList& lines, int available, int smallestPixelSize,
                       bool* fits)
{
    QFont font = start;
    if (font.pixelSize() <= 0)
        font.setPixelSize(QFontInfo(start).pixelSize());
    while (widestLine(font, lines) > available && font.pixelSize() > smallestPixelSize)
        font.setPixelSize(font.pixelSize() - 1);
    if (fits)
        *fits = widestLine(font, lines) <= available;
    return font;
}
