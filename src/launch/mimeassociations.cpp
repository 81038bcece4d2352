#include "launch/mimeassociations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

/// Larger files are not association files; they are skipped rather than read.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

/// A desktop-entry style key file: groups of case-sensitive keys, UTF-8.
/// Only the first occurrence of a group or key counts.
class KeyFile {
public:
    explicit KeyFile(const QString& path)
    {
        const QFileInfo info(path);
        if (!info.isFile() || info.size() > kMaxFileSize)
            return;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QString text = QString::fromUtf8(file.read(kMaxFileSize));
        QHash<QString, QString>* group = nullptr;
        for (QStringView line : QStringView(text).split(u'\n')) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            if (line.startsWith(u'[')) {
                const qsizetype close = line.indexOf(u']');
                const QString name = line.mid(1, close < 0 ? -1 : close - 1).toString();
                group = m_groups.contains(name) ? nullptr : &m_groups[name];
                continue;
            }
            const qsizetype eq = line.indexOf(u'=');
            if (!group || eq <= 0)
                continue;
            const QString key = line.left(eq).trimmed().toString();
            if (!group->contains(key))
                group->insert(key, line.mid(eq + 1).trimmed().toString());
        }
    }

    bool has(const QString& group, const QString& key) const
    {
        const auto it = m_groups.constFind(group);
        return it != m_groups.constEnd() && it->contains(key);
    }

    QString value(const QString& group, const QString& key) const
    {
        return m_groups.value(group).value(key);
    }

    /// A ';'-separated list value.
    QStringList list(const QString& group, const QString& key) const
    {
        QStringList items;
        for (const QString& item : value(group, key).split(u';', Qt::SkipEmptyParts)) {
            const QString trimmedItem = item.trimmed();
            if (!trimmedItem.isEmpty())
                items.append(trimmedItem);
        }
        return items;
    }

private:
    QHash<QString, QHash<QString, QString>> m_groups;
};

QStringList pathList(const QString& variable, const QString& fallback)
{
    QString value = qEnvironmentVariable(variable.toLatin1().constData());
    if (value.isEmpty())
        value = fallback;
    QStringList dirs;
    for (const QString& dir : value.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir)) // relative entries are invalid and ignored
            dirs.append(dir);
    }
    return dirs;
}

QString homeDir(const QString& variable, const QString& fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable.toLatin1().constData());
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + u'/' + fallbackBelowHome;
}

/// The general escapes of a string value; any other backslash stays.
QString unescapeString(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            out.append(c);
            continue;
        }
        const QChar next = raw[i + 1];
        switch (next.unicode()) {
        case u's': out.append(u' '); break;
        case u'n': out.append(u'\n'); break;
        case u't': out.append(u'\t'); break;
        case u'r': out.append(u'\r'); break;
        case u'\\': out.append(u'\\'); break;
        default: out.append(c); out.append(next); break;
        }
        ++i;
    }
    return out;
}

/// The ways an id can be stored: "a-b-c.desktop" is also "a/b-c.desktop",
/// "a/b/c.desktop" and "a-b/c.desktop" below an applications folder.
void idPaths(const QString& id, qsizetype from, QStringList& out)
{
    out.append(id);
    // Ids with very many dashes: enough guesses. The bound is checked before
    // every further guess, or each pending level would still add one guess
    // per dash (a long line of dashes would then take gigabytes).
    for (qsizetype dash = id.indexOf(u'-', from); dash >= 0 && out.size() <= 64; dash = id.indexOf(u'-', dash + 1)) {
        QString split = id;
        split[dash] = u'/';
        idPaths(split, dash + 1, out);
    }
}

} // namespace

MimeAssociations::MimeAssociations(QStringList configDirs, QStringList dataDirs, QStringList desktops)
    : m_configDirs(std::move(configDirs))
    , m_dataDirs(std::move(dataDirs))
    , m_desktops(std::move(desktops))
{
}

MimeAssociations MimeAssociations::fromEnvironment()
{
    QStringList config { homeDir(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral(".config")) };
    config += pathList(QStringLiteral("XDG_CONFIG_DIRS"), QStringLiteral("/etc/xdg"));
    QStringList data { homeDir(QStringLiteral("XDG_DATA_HOME"), QStringLiteral(".local/share")) };
    data += pathList(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/local/share:/usr/share"));
    QStringList desktops;
    for (const QString& name : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        desktops.append(name.toLower());
    return MimeAssociations(config, data, desktops);
}

QStringList MimeAssociations::mimeAppsLists() const
{
    QStringList folders = m_configDirs;
    for (const QString& data : m_dataDirs)
        folders.append(data + QStringLiteral("/applications"));
    QStringList files;
    for (const QString& folder : folders) {
        for (const QString& desktop : m_desktops)
            files.append(folder + u'/' + desktop + QStringLiteral("-mimeapps.list"));
        files.append(folder + QStringLiteral("/mimeapps.list"));
    }
    return files;
}

QString MimeAssociations::desktopEntryPath(const QString& desktopId) const
{
    if (desktopId.isEmpty() || desktopId.contains(QStringLiteral("..")) || desktopId.startsWith(u'/'))
        return {};
    QStringList candidates;
    idPaths(desktopId, 0, candidates);
    for (const QString& data : m_dataDirs) {
        for (const QString& candidate : candidates) {
            const QString path = data + QStringLiteral("/applications/") + candidate;
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return {};
}

bool MimeAssociations::isInstalled(const QString& desktopId) const
{
    const QString path = desktopEntryPath(desktopId);
    if (path.isEmpty())
        return false;
    // A user hides a system entry by a copy with Hidden=true in a more
    // important folder; the first file found is the one that counts.
    const KeyFile entry(path);
    return entry.value(QStringLiteral("Desktop Entry"), QStringLiteral("Hidden")) != QStringLiteral("true");
}

QString MimeAssociations::defaultApplication(const QString& mimeType) const
{
    return applications(mimeType).value(0);
}

QStringList MimeAssociations::applications(const QString& mimeType) const
{
    QStringList found;
    if (mimeType.isEmpty())
        return found;
    const QString defaults = QStringLiteral("Default Applications");
    const QString added = QStringLiteral("Added Associations");
    const QString removedGroup = QStringLiteral("Removed Associations");
    const auto take = [&](const QString& id) {
        if (!found.contains(id) && isInstalled(id))
            found.append(id);
    };

    QList<KeyFile> lists;
    for (const QString& path : mimeAppsLists())
        lists.append(KeyFile(path));

    for (const KeyFile& list : lists) {
        for (const QString& id : list.list(defaults, mimeType))
            take(id);
    }

    // A removal in a file hides the association in that file and in every
    // less important one.
    QStringList removed;
    for (const KeyFile& list : lists) {
        removed += list.list(removedGroup, mimeType);
        for (const QString& id : list.list(added, mimeType)) {
            if (!removed.contains(id))
                take(id);
        }
    }

    for (const QString& data : m_dataDirs) {
        const KeyFile cache(data + QStringLiteral("/applications/mimeinfo.cache"));
        for (const QString& id : cache.list(QStringLiteral("MIME Cache"), mimeType)) {
            if (!removed.contains(id))
                take(id);
        }
    }
    return found;
}

QString MimeAssociations::execLine(const QString& desktopEntryFile)
{
    const KeyFile entry(desktopEntryFile);
    return unescapeString(entry.value(QStringLiteral("Desktop Entry"), QStringLiteral("Exec")));
}

QString MimeAssociations::iconOf(const QString& desktopEntryFile)
{
    return KeyFile(desktopEntryFile).value(QStringLiteral("Desktop Entry"), QStringLiteral("Icon"));
}

QString MimeAssociations::nameOf(const QString& desktopEntryFile, const QString& language)
{
    const KeyFile entry(desktopEntryFile);
    const QString group = QStringLiteral("Desktop Entry");
    QStringList keys;
    if (!language.isEmpty()) {
        keys.append(QStringLiteral("Name[%1]").arg(language));
        keys.append(QStringLiteral("Name[%1]").arg(language.section(u'_', 0, 0)));
    }
    keys.append(QStringLiteral("Name"));
    for (const QString& key : keys) {
        if (entry.has(group, key))
            return unescapeString(entry.value(group, key));
    }
    return {};
}

QString MimeAssociations::defaultCommand(const QString& mimeType) const
{
    const QString id = defaultApplication(mimeType);
    if (id.isEmpty())
        return {};
    return execLine(desktopEntryPath(id));
}
