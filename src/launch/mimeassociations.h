#pragma once

#include <QString>
#include <QStringList>

/// The freedesktop MIME associations: which application opens a MIME type by
/// default (mimeapps.list, then mimeinfo.cache) and that application's
/// command (the Exec line of its desktop entry). Widget-free, reads files only.
class MimeAssociations {
public:
    /// The places to look, each list most important first.
    /// configDirs: $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS.
    /// dataDirs: $XDG_DATA_HOME, then $XDG_DATA_DIRS (their "applications"
    /// subfolders hold the desktop entries, mimeapps.list and mimeinfo.cache).
    /// desktops: $XDG_CURRENT_DESKTOP's names in lower case, for the
    /// desktop-specific "NAME-mimeapps.list" files.
    MimeAssociations(QStringList configDirs, QStringList dataDirs, QStringList desktops = {});

    /// The places from the environment, with the standard defaults:
    /// ~/.config, /etc/xdg, ~/.local/share, /usr/local/share:/usr/share.
    static MimeAssociations fromEnvironment();

    /// The desktop-file id (e.g. "org.example.Editor.desktop") of the
    /// application that opens `mimeType`: the first installed one named under
    /// [Default Applications], else under [Added Associations] and not under
    /// [Removed Associations], else in mimeinfo.cache. Empty when none.
    QString defaultApplication(const QString& mimeType) const;

    /// Every installed application associated with `mimeType`, in the order
    /// they are tried: those under [Default Applications], then under
    /// [Added Associations] and not under [Removed Associations], then those
    /// in mimeinfo.cache; each once.
    QStringList applications(const QString& mimeType) const;

    /// The file of an installed desktop entry, or empty. "a-b.desktop" may
    /// also be "a/b.desktop" in an applications folder.
    QString desktopEntryPath(const QString& desktopId) const;

    /// The Exec line of the default application for `mimeType`, whole and with
    /// its field codes ("%f", "%U") still in it; empty when none.
    QString defaultCommand(const QString& mimeType) const;

    /// The Exec key of a desktop entry's [Desktop Entry] group, with only the
    /// escapes of string values undone ("\s", "\n", "\t", "\r", "\\"); the
    /// quoting of arguments is left as written. Empty when missing.
    static QString execLine(const QString& desktopEntryFile);

    /// The Icon key and the Name key in `language` ("ru_RU": Name[ru_RU],
    /// then Name[ru], then Name) of a desktop entry.
    static QString iconOf(const QString& desktopEntryFile);
    static QString nameOf(const QString& desktopEntryFile, const QString& language);

    /// The mimeapps.list files in order of importance.
    QStringList mimeAppsLists() const;

private:
    bool isInstalled(const QString& desktopId) const;

    QStringList m_configDirs;
    QStringList m_dataDirs;
    QStringList m_desktops;
};
