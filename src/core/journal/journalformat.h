#pragma once

#include "core/encoding/textencoding.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringView>
#include <functional>

/// The edit journal's file format. A journal is a sequence of records, each
///   type (1 byte) | payload length (u32) | time (ms since the epoch, i64) |
///   payload | CRC-32 of everything before it (u32), integers little-endian.
/// Records are only ever appended, so a crash can tear the last one: reading
/// stops at the first record that is short or fails its checksum, and what
/// came before stands.
namespace journalformat {

enum RecordType : char {
    Document = 'D', ///< payload: the document's key, UTF-8 (empty: untitled)
    State = 'S',    ///< payload: see LaunchState
    FullText = 'F', ///< payload: the whole text, Windows-1251 bytes
    Edit = 'E',     ///< payload: position (u64), removed length (u64), inserted bytes
    Encoding = 'C', ///< payload: the document's encoding, the snapshot's (one byte each)
};

/// Texts in the journal: a Windows-1251 document's as its bytes, one per
/// character; a UTF-8 document's as UTF-16LE, two bytes per character, so
/// that an edit's position still finds its byte without decoding. A journal
/// without an encoding record (all older ones) is Windows-1251 throughout.

/// Bytes a record adds around its payload.
constexpr qint64 kOverhead = 1 + 4 + 8 + 4;

/// CRC-32 (the zlib polynomial), continued from `crc` (0 to start).
quint32 crc32(quint32 crc, const char* data, qint64 length);

QByteArray documentRecord(const QString& key, qint64 timeMs);
/// What a preview or extended-editor launch left behind: whether it wrote
/// the document's file, the fingerprint of the bytes it wrote there, and the
/// saved-text snapshot that closing with No restores. Stored as one byte
/// (0: not written; 2: written, then the fingerprint's length as one byte,
/// the fingerprint and the snapshot; 1, an older form: written, then the
/// snapshot, fingerprint unknown).
struct LaunchState {
    bool wroteFile = false;
    QByteArray fingerprint;
    QByteArray snapshot;
    DocumentEncoding snapshotEncoding; ///< kept in the encoding record
};

QByteArray stateRecord(const LaunchState& launch, qint64 timeMs);
/// Needed only when the document or its snapshot is not Windows-1251.
QByteArray encodingRecord(DocumentEncoding text, DocumentEncoding snapshot, qint64 timeMs);
QByteArray fullTextRecord(const QByteArray& text, qint64 timeMs);
QByteArray editRecord(qint64 position, qint64 removed, const QByteArray& inserted, qint64 timeMs);

/// Bytes per character of the journal's texts for a document in `encoding`.
inline int characterWidth(DocumentEncoding encoding) { return encoding.isUtf8() ? 2 : 1; }

/// The editing widget's text ('\n' line breaks) as the journal holds it,
/// with CRLF.
QByteArray encodeEditorText(QStringView text, DocumentEncoding encoding = {});

/// A file's bytes (CRLF breaks, a mark if any) as the journal holds them.
QByteArray journalText(const QByteArray& fileBytes, DocumentEncoding encoding);

/// Writes a full-text record of an editor-form text through `write` (false on
/// failure) in pieces, so a long text is never held twice in memory.
bool writeFullTextRecord(QStringView editorText, qint64 timeMs,
                         const std::function<bool(const char*, qint64)>& write, DocumentEncoding encoding = {});

/// What a journal holds, read up to its first damaged record.
struct Content {
    QString key;                ///< the document's key
    bool hasDocument = false;   ///< a document record was read
    bool hasText = false;       ///< a full text was read: there is text to recover
    QByteArray text;            ///< the text after the last valid edit, as the journal holds it
    DocumentEncoding encoding;  ///< the document's encoding
    LaunchState launch;
    qint64 lastTimeMs = 0;      ///< time of the last valid record
    qint64 validLength = 0;     ///< bytes up to the end of the last valid record
    int records = 0;
};

/// The text of a journal's content.
QString decodedText(const Content& content);

/// Reads a journal from the device's current position to its end.
Content read(QIODevice& device);
Content read(const QByteArray& bytes);

} // namespace journalformat
