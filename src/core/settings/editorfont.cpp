#include "core/settings/editorfont.h"

#include "core/settings/settingsstore.h"

#include <QWidget>

QFont editorFont(const SettingsStore& settings)
{
    QFont font;
    // One family, commas and all: QFont(QString) would split the name at
    // its commas, and Apply would write back only the first part.
    font.setFamily(settings.editorFontName);
    // Where the named font is missing, a fixed-pitch one stands in.
    font.setStyleHint(QFont::TypeWriter);
    // Size 0 (a stored 256, say) means no size: the family's default stays.
    if (settings.editorFontSize > 0)
        font.setPointSize(settings.editorFontSize);
    font.setBold(settings.editorFontBold);
    font.setItalic(settings.editorFontItalic);
    font.setUnderline(settings.editorFontUnderline);
    font.setStrikeOut(settings.editorFontStrikeOut);
    return font;
}

void applyEditorFont(QWidget& memo, const SettingsStore& settings)
{
    memo.setFont(editorFont(settings));
}
