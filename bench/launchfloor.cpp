// The floor of a start-up with a page: a bare QPlainTextEdit that reads the
// file, decodes its Windows-1251 bytes (or with --utf8, QString::fromUtf8
// alone) and shows them in the editor's font and window size. Nothing else:
// no menus, no settings, no highlighting.
//
//   quillet_launch_floor [--utf8] FILE
#include "core/encoding/linebreaks.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QPlainTextEdit edit;
    // The editor's default font, with its stand-in rule where the face is
    // missing, so both show the same face.
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    edit.setFont(font);
    edit.resize(600, 410);
    const bool utf8 = argc > 2 && qstrcmp(argv[1], "--utf8") == 0;
    if (argc > 1) {
        QFile file(QFile::decodeName(argv[utf8 ? 2 : 1]));
        if (file.open(QIODevice::ReadOnly))
            edit.setPlainText(utf8 ? QString::fromUtf8(file.readAll()) : linebreaks::decodeToEditorText(file.readAll()));
    }
    edit.show();
    return QApplication::exec();
}
