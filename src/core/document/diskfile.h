#pragma once

#include <QByteArray>
#include <QString>

struct DocumentState;
class UserPrompts;

/// What a file on disk looked like at one moment: enough to tell whether
/// another program has written it since.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    static FileStamp of(const QString& path);
    bool operator==(const FileStamp& other) const
    {
        return exists == other.exists && device == other.device && inode == other.inode && size == other.size
            && modifiedNs == other.modifiedNs;
    }
};

/// What the editor knows of the document's file between its own writes, so
/// that it never overwrites another program's work unasked.
namespace diskfile {

/// Notes the file as this editor has just loaded or written it.
void remember(DocumentState& doc, const QString& path);

/// Notes that a preview or extended-editor launch has just written `bytes`
/// into `path`.
void rememberLaunchWrite(DocumentState& doc, const QString& path, const QByteArray& bytes);

/// After a crash: the journal says a launch wrote `path`, with bytes of this
/// `fingerprint` (empty when the journal does not know it). When the file no
/// longer holds those bytes another program has written it since, so closing
/// with No leaves it alone and saving asks first.
void recoverLaunchWrite(DocumentState& doc, const QString& path, const QByteArray& fingerprint);

/// True when `path` still holds exactly the bytes the last launch wrote there.
bool holdsLaunchBytes(const DocumentState& doc, const QString& path);

/// Before this editor writes `path`: when another program has changed it
/// since the editor last loaded or wrote it, asks whether to overwrite it.
/// False when the answer is No: nothing may be written.
bool mayOverwrite(const DocumentState& doc, UserPrompts& prompts, const QString& path);

/// True when both names lead to one existing file.
bool sameFile(const QString& first, const QString& second);

} // namespace diskfile
