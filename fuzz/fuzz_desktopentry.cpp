// The freedesktop association files the launcher reads: mimeapps.list and
// desktop entries, any bytes at all. Nothing may crash or hang, and a plain
// Exec value comes back as written.
#include "fuzzcheck.h"
#include "launch/mimeassociations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

QTemporaryDir* g_dir = nullptr;

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A private folder on tmpfs where there is one; rewritten for each input.
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/quillet-fuzz-XXXXXX")
                                                                    : QDir::tempPath() + QStringLiteral("/quillet-fuzz-XXXXXX");
    g_dir = new QTemporaryDir(base);
    QDir(g_dir->path()).mkpath(QStringLiteral("config"));
    QDir(g_dir->path()).mkpath(QStringLiteral("data/applications/org"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString root = g_dir->path();
    const QByteArray list = QByteArray::fromStdString(in.ConsumeRandomLengthString(4096));
    const QByteArray entry = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
    put(root + QStringLiteral("/config/mimeapps.list"), list);
    // Installed entries under the ids the list may name, plain and split at a dash.
    put(root + QStringLiteral("/data/applications/app.desktop"), entry);
    put(root + QStringLiteral("/data/applications/org/app.desktop"), entry);
    put(root + QStringLiteral("/data/applications/mimeinfo.cache"), list);

    const MimeAssociations associations({ root + QStringLiteral("/config") }, { root + QStringLiteral("/data") },
                                        { QStringLiteral("gnome") });
    for (const char* type : { "text/html", "application/x-vqlfile", "" })
        (void)associations.defaultCommand(QString::fromLatin1(type));
    (void)MimeAssociations::execLine(root + QStringLiteral("/data/applications/app.desktop"));

    // A value without escapes, line breaks or outer blanks is read back as written.
    QString plain = QString::fromUtf8(entry).left(200);
    plain.remove(u'\\').remove(u'\n').remove(u'\r');
    plain = plain.trimmed();
    put(root + QStringLiteral("/data/applications/plain.desktop"),
        QByteArray("[Desktop Entry]\nName=x\nExec=") + plain.toUtf8() + "\n");
    FUZZ_CHECK(MimeAssociations::execLine(root + QStringLiteral("/data/applications/plain.desktop")) == plain);
    return 0;
}
