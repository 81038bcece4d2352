#pragma once

#include "core/encoding/textencoding.h"

#include <QByteArray>
#include <QObject>

/// The hidden `Memo2`: the document's text as last loaded from or saved to
/// its file, kept as the file's bytes (the cheapest faithful copy) with the
/// encoding they are in.
class SavedTextSnapshot : public QObject {
    Q_OBJECT

public:
    explicit SavedTextSnapshot(QObject* parent = nullptr)
        : QObject(parent)
    {
        setObjectName(QStringLiteral("Memo2"));
    }

    const QByteArray& bytes() const { return m_bytes; }
    DocumentEncoding encoding() const { return m_encoding; }
    /// Length of the text in document characters; -1 when not known.
    qsizetype length() const { return m_length; }
    /// `length`, when known, spares counting it: in Windows-1251 it is the size.
    void setBytes(const QByteArray& bytes, DocumentEncoding encoding = {}, qsizetype length = -1)
    {
        m_bytes = bytes;
        m_encoding = encoding;
        m_length = encoding.isUtf8() ? length : bytes.size();
    }

private:
    QByteArray m_bytes;
    DocumentEncoding m_encoding;
    qsizetype m_length = 0;
};
