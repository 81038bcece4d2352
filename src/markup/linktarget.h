#pragma once

#include <QString>

/// Where a link to the chosen file points: the file's own path, or for an
/// Internet shortcut (".url" in any letter case) the "URL" value of its
/// section "InternetShortcut". A shortcut without that key, or one that
/// cannot be read, gives the maker's web address; an empty value stays empty.
QString linkTarget(const QString& path);
