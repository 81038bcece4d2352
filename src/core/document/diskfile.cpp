#include "core/document/diskfile.h"

#include "core/document/documentstate.h"
#include "core/platform/messageboxes.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>

namespace {

QByteArray fingerprint(const QByteArray& bytes)
{
    return QByteArray::number(bytes.size()) + ':' + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

FileStamp FileStamp::of(const QString& path)
{
    FileStamp stamp;
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

namespace diskfile {

void remember(DocumentState& doc, const QString& path)
{
    doc.stampedFile = path;
    doc.stamp = FileStamp::of(path);
}

void rememberLaunchWrite(DocumentState& doc, const QString& path, const QByteArray& bytes)
{
    remember(doc, path);
    doc.launchFile = path;
    doc.launchFingerprint = fingerprint(bytes);
}

void recoverLaunchWrite(DocumentState& doc, const QString& path, const QByteArray& fingerprint)
{
    if (fingerprint.isEmpty()) {
        // A journal from before fingerprints were kept: the file as it is.
        QFile written(path);
        if (written.open(QIODevice::ReadOnly))
            rememberLaunchWrite(doc, path, written.readAll());
        return;
    }
    doc.launchFile = path;
    doc.launchFingerprint = fingerprint;
    if (holdsLaunchBytes(doc, path)) {
        remember(doc, path);
    } else {
        doc.stampedFile = path;
        doc.stamp = FileStamp {}; // matches no existing file: a save asks
    }
}

bool holdsLaunchBytes(const DocumentState& doc, const QString& path)
{
    if (doc.launchFile.isEmpty() || doc.launchFile != path)
        return false;
    QFile file(path);
    // The size alone tells most changes without reading the file.
    if (!file.open(QIODevice::ReadOnly) || !doc.launchFingerprint.startsWith(QByteArray::number(file.size()) + ':'))
        return false;
    const QByteArray bytes = file.readAll();
    return file.error() == QFileDevice::NoError && fingerprint(bytes) == doc.launchFingerprint;
}

bool mayOverwrite(const DocumentState& doc, UserPrompts& prompts, const QString& path)
{
    if (path != doc.stampedFile)
        return true;
    const FileStamp now = FileStamp::of(path);
    // A file that is gone has nothing to lose.
    if (!now.exists || now == doc.stamp)
        return true;
    const QString question = messageboxes::twoLines(QStringLiteral("Файл %1 изменён другой программой.").arg(path),
                                                    QStringLiteral("Перезаписать?"));
    return messageboxes::askConfirm(prompts, question, { Answer::Yes, Answer::No }, Answer::No, Answer::No)
        == Answer::Yes;
}

bool sameFile(const QString& first, const QString& second)
{
    if (first == second)
        return true;
    const FileStamp a = FileStamp::of(first);
    const FileStamp b = FileStamp::of(second);
    return a.exists && b.exists && a.device == b.device && a.inode == b.inode;
}

} // namespace diskfile
