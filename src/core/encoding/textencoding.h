#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

/// The character sets a document's file may be in.
enum class Charset : quint8 {
    Windows1251, ///< single byte, byte for byte; the default
    Utf8,
};

/// How a document's text becomes its file's bytes.
struct DocumentEncoding {
    Charset charset = Charset::Windows1251;
    /// UTF-8 only: the file starts with the byte-order mark EF BB BF.
    bool byteOrderMark = false;

    bool isUtf8() const { return charset == Charset::Utf8; }
    bool operator==(const DocumentEncoding& other) const
    {
        return charset == other.charset && byteOrderMark == other.byteOrderMark;
    }
    bool operator!=(const DocumentEncoding& other) const { return !(*this == other); }
};

/// Deciding a file's encoding from its bytes, and the `<meta>` charset
/// declaration of a page.
namespace textencoding {

/// The UTF-8 byte-order mark.
inline QByteArrayView utf8Mark() { return QByteArrayView("\xEF\xBB\xBF", 3); }

/// Offset of the first byte that does not belong to a well-formed UTF-8
/// sequence (overlong forms, surrogates, code points above U+10FFFF and cut
/// sequences are not), or -1 when all of them are well-formed. With
/// `enoughSequences` > 0 it gives up, returning -1, once that many multi-byte
/// sequences were well-formed: a guess, for deciding early.
qsizetype firstInvalidUtf8(QByteArrayView bytes, qsizetype enoughSequences = 0);

/// The encoding of a file's bytes: a byte-order mark followed by valid UTF-8;
/// else valid UTF-8 with a byte above 0x7F; else pure ASCII declaring UTF-8
/// in a `<meta>` within its first 1024 bytes; else Windows-1251.
/// `decoded`, when given and the answer is UTF-8 (mark or not), receives the
/// text after the mark, already decoded, so a file is decoded once.
DocumentEncoding detect(const QByteArray& bytes, QString* decoded = nullptr);

/// The bytes, the mark left out, as UTF-8 text; nullopt when they are not
/// valid UTF-8.
std::optional<QString> decodeUtf8(const QByteArray& bytes);

/// The text of a file's bytes in `encoding` (a UTF-8 mark left out); bytes
/// that are not valid UTF-8 become U+FFFD. Line breaks stay as they are.
QString decode(const QByteArray& bytes, DocumentEncoding encoding);

/// The file's bytes of a text: Windows-1251 with `&#N;` for the characters
/// it lacks, or UTF-8 with the mark when the encoding has one.
QByteArray encode(QStringView text, DocumentEncoding encoding);

/// Text from outside as a document in `encoding` admits it: UTF-8 admits
/// every character as it is; Windows-1251 turns the characters it lacks
/// into `&#N;`. Line breaks stay as they are.
QString admitted(const QString& text, DocumentEncoding encoding);

/// The charset value of a `<meta>` declaration, where it stands in the text.
struct CharsetDeclaration {
    qsizetype start = 0;
    qsizetype length = 0;
    QString value; ///< as written
};

/// Where the text declares its charset: in a `<meta charset=...>` or in the
/// content of a `<meta http-equiv="Content-Type">`, the tag wholly within
/// the first 1024 characters. The first such declaration counts.
std::optional<CharsetDeclaration> findCharsetDeclaration(QStringView text);

/// True for "utf-8" and "utf8", in any case.
bool namesUtf8(QStringView charsetName);

/// The name a declaration gets for a charset: "windows-1251" or "utf-8".
QString declarationName(Charset charset);

} // namespace textencoding
