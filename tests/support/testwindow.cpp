#include "support/testwindow.h"

#include "core/text/editorbuffer.h"

#include <QFile>

TestWindow::TestWindow(const QStringList& arguments, bool withSettingsFile)
{
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    fake.dirs.directory = dir.path();
    if (withSettingsFile)
        writeFile(dir.filePath(QStringLiteral("Brannoc Quillet.ini")), "[USER]\r\nname=Tester\r\n");
    window = std::make_unique<Tmain>(fake.platform(), arguments);
}

TestWindow::~TestWindow() = default;

void TestWindow::setText(const QString& text)
{
    memo().setText(text);
    memo().clearHistory();
    ctx().doc.modified = false;
}

void TestWindow::select(qsizetype start, qsizetype length)
{
    memo().setSelStart(start);
    memo().setSelLength(length);
}

std::pair<qsizetype, qsizetype> TestWindow::selection()
{
    return { memo().selStart(), memo().selLength() };
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
