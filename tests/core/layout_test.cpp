// The code's one-way rule: a folder of src includes only from itself and
// from the folders below it, so each can be read, built and tested without
// those above. A quoted include that names no known folder counts against
// it too, or a bare "name.h" could slip past.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QStringList kCore { QStringLiteral("core/platform"), QStringLiteral("core/encoding"),
    QStringLiteral("core/text"), QStringLiteral("core/settings"), QStringLiteral("core/journal"),
    QStringLiteral("core/document") };

// Each folder and the folders it may include from.
QHash<QString, QStringList> allowedIncludes()
{
    const QString platform = kCore[0], encoding = kCore[1], text = kCore[2], settings = kCore[3],
                  journal = kCore[4];
    QHash<QString, QStringList> allowed {
        { platform, {} },
        { encoding, {} },
        { text, { platform, encoding } },
        { settings, { platform, encoding } },
        { journal, { platform, encoding, text } },
        { kCore[5], { platform, encoding, text, settings, journal } },
    };
    for (const char* middle : { "markup", "tools", "launch" })
        allowed.insert(QString::fromLatin1(middle), kCore);
    allowed.insert(QStringLiteral("ui"), kCore + QStringList { "markup", "tools", "launch" });
    allowed.insert(QStringLiteral("app"), allowed.value(QStringLiteral("ui")) + QStringList { "ui" });
    return allowed;
}

// "file: include" for every include under `srcRoot` that climbs, and for
// every file in a folder the rule does not know.
QStringList includeViolations(const QString& srcRoot)
{
    static const QRegularExpression quoted(QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"));
    const QHash<QString, QStringList> allowed = allowedIncludes();
    const QDir root(srcRoot);
    QStringList violations;
    QDirIterator it(srcRoot, { QStringLiteral("*.cpp"), QStringLiteral("*.h") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = root.relativeFilePath(path);
        const QString folder = name.section(u'/', 0, -2);
        if (!allowed.contains(folder)) {
            violations << name + QStringLiteral(": in a folder without a place in the order");
            continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            violations << name + QStringLiteral(": unreadable");
            continue;
        }
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            const QRegularExpressionMatch match = quoted.match(line);
            if (!match.hasMatch())
                continue;
            const QString target = match.captured(1).section(u'/', 0, -2);
            if (target != folder && !allowed.value(folder).contains(target))
                violations << name + QStringLiteral(": ") + match.captured(1);
        }
    }
    violations.sort();
    return violations;
}

void write(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

TEST(Layout, NoIncludeClimbsToAFolderAbove)
{
    const QStringList violations = includeViolations(QStringLiteral(QUILLET_SOURCE_DIR "/src"));
    EXPECT_TRUE(violations.isEmpty()) << violations.join(u'\n').toStdString();
}

TEST(Layout, TheCheckFindsClimbsBareNamesAndUnknownFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = dir.filePath(QStringLiteral("src"));
    write(src + "/core/text/buffer.h", "#include \"core/platform/a.h\"\n#include \"core/journal/log.h\"\n");
    write(src + "/core/settings/store.cpp", "#include \"core/settings/store.h\"\n#include \"store2.h\"\n");
    write(src + "/core/platform/a.h", "#  include \"core/encoding/cp.h\"\n#include <QString>\n");
    write(src + "/tools/find.cpp", "#include \"core/document/state.h\"\n#include \"ui/window.h\"\n");
    write(src + "/core/extra/x.h", "");
    EXPECT_EQ(includeViolations(src),
        (QStringList { "core/extra/x.h: in a folder without a place in the order",
            "core/platform/a.h: core/encoding/cp.h", "core/settings/store.cpp: store2.h",
            "core/text/buffer.h: core/journal/log.h", "tools/find.cpp: ui/window.h" }));
}
