#pragma once

#include <QString>

/// How the file commands take a chosen path apart. A path is used exactly as
/// the open-file dialog returns it; these functions only look at it.
namespace filepaths {

/// Everything after the last backslash, colon or '/' (the whole path when it
/// has none of them). The '/' is there so that a path on this platform gives
/// its file name, as a path with backslashes does.
QString fileNamePart(const QString& path);

/// The text from the last full stop to the end, when that full stop follows
/// the last backslash, colon and '/'; empty otherwise.
QString extension(const QString& path);

/// The text with the letters A to Z made lower case and nothing else changed.
QString asciiLower(const QString& text);

/// True when the path names an Internet shortcut: its extension is ".url"
/// in any letter case.
bool isInternetShortcut(const QString& path);

} // namespace filepaths
