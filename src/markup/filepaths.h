#pragma once

#include <QString>

/// How the file commands take a chosen path apart. A path is used exactly as
/// the open-file dialog returns it; these functions only look at it.
namespace filepaths {

/// Everything after the last separator (the whole path when it has none).
/// A path starting with '/' is one of this platform: only '/' separates, and
/// "12:30 shot.jpg" is one name. Any other path separates at backslashes and
/// colons, as on Windows.
QString fileNamePart(const QString& path);

/// The text from the last full stop to the end, when that full stop follows
/// the last separator; empty otherwise.
QString extension(const QString& path);

/// The text with the letters A to Z made lower case and nothing else changed.
QString asciiLower(const QString& text);

/// True when the path names an Internet shortcut: its extension is ".url"
/// in any letter case.
bool isInternetShortcut(const QString& path);

} // namespace filepaths
