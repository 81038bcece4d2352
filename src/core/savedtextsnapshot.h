#pragma once

#include <QByteArray>
#include <QObject>

/// The hidden `Memo2`: the document's text as last loaded from or saved to
/// its file, kept as the file's bytes (the cheapest faithful copy).
class SavedTextSnapshot : public QObject {
    Q_OBJECT

public:
    explicit SavedTextSnapshot(QObject* parent = nullptr)
        : QObject(parent)
    {
        setObjectName(QStringLiteral("Memo2"));
    }

    const QByteArray& bytes() const { return m_bytes; }
    void setBytes(const QByteArray& bytes) { m_bytes = bytes; }

private:
    QByteArray m_bytes;
};
