#pragma once

#include <QByteArray>
#include <QString>

/// Line-break rules of documents: on load every lone carriage return and every
/// lone line feed becomes CRLF; nothing else changes.
namespace linebreaks {

/// The document's line break, carriage return and line feed.
inline QString crlf() { return QStringLiteral("\r\n"); }

/// What decoding found out about a text on the way, so that no second pass
/// has to count it.
struct TextShape {
    qsizetype breaks = 0;      ///< line breaks, each one '\n' in the text
    qsizetype longestLine = 0; ///< characters of the longest line, its break left out
};

/// Decodes Windows-1251 bytes into the editing widget's form: one '\n' per
/// document line break (CRLF, lone CR or lone LF), in one pass over the
/// bytes. `shape`, when given, receives the breaks and the longest line.
QString decodeToEditorText(const QByteArray& bytes, TextShape* shape = nullptr);

/// Turns the line breaks of a decoded text (CRLF, lone CR, lone LF) into
/// '\n' in place, in one pass; `shape`, when given, as above.
void toEditorTextInPlace(QString& text, TextShape* shape = nullptr);

/// Turns a text's line breaks (CRLF, lone CR, lone LF) into single '\n'
/// characters, the editing widget's form.
QString toEditorText(const QString& text);

/// Length in document characters of a text in the widget's form: every
/// '\n' counts two, as the CRLF it stands for.
inline qsizetype documentLength(QStringView editorText)
{
    return editorText.size() + editorText.count(u'\n');
}

} // namespace linebreaks
