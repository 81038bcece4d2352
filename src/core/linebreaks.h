#pragma once

#include <QByteArray>
#include <QString>

/// Line-break rules of documents: on load every lone carriage return and every
/// lone line feed becomes CRLF; nothing else changes.
namespace linebreaks {

/// The document's line break, carriage return and line feed.
inline QString crlf() { return QStringLiteral("\r\n"); }

/// Length the bytes have once every lone CR and every lone LF is CRLF,
/// without building that text.
qsizetype normalisedLength(const QByteArray& bytes);

/// Decodes Windows-1251 bytes into the editing widget's form: one '\n' per
/// document line break (CRLF, lone CR or lone LF).
QString decodeToEditorText(const QByteArray& bytes);

/// Turns a text's line breaks (CRLF, lone CR, lone LF) into single '\n'
/// characters, the editing widget's form.
QString toEditorText(const QString& text);

} // namespace linebreaks
