#pragma once

#include <QByteArray>
#include <QString>

#include <array>

/// Windows-1251 single-byte code page. Every byte 0x00-0xFF has a character:
/// the one byte the code page leaves undefined (0x98) maps to a private-use
/// code point, so any file survives a load and a save byte for byte.
namespace cp1251 {

/// The private-use character that stands for the undefined byte 0x98.
constexpr char16_t kUndefinedByteChar = 0xF898;

/// Decodes bytes one to one into characters.
QString decode(const QByteArray& bytes);

/// The character of every byte value, for loops that decode as they go.
const std::array<char16_t, 256>& characters();

/// Encodes characters one to one into bytes. A character outside the code
/// page is written as an HTML numeric character reference ("&#20013;"), so no
/// text is ever lost or replaced by '?'.
QByteArray encode(const QString& text);

/// True when the character has a byte in the code page.
bool isEncodable(QChar c);

/// Replaces every character outside the code page by its HTML numeric
/// character reference (surrogate pairs become one reference). Text that is
/// already encodable comes back unchanged.
QString escapeUnencodable(const QString& text);

/// The reverse of escapeUnencodable: a reference "&#N;" (decimal, no leading
/// zero) that names a character outside the code page becomes that character.
/// Others stay as they are, since escapeUnencodable never writes them: a
/// typed "&#65;" reads back as typed.
QString decodeReferences(const QString& text);

} // namespace cp1251
