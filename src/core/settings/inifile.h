#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

/// An ini-style profile file read and written by the Windows profile rules:
/// "[section]" headers, then "key=value" lines. Sections and keys match
/// regardless of letter case, a value is read up to 1023 characters, and a
/// missing file, section or key gives the caller's default. Writing replaces
/// a value in place or adds the key (and its section) and keeps every other
/// line byte for byte. The text is Windows-1251.
///
/// Any bytes at all are accepted: binary junk, NUL bytes, no final line
/// break, very long lines, repeated sections and lines without '='. A UTF-8
/// byte-order mark at the start is skipped on reading and kept on writing.
class IniFile {
public:
    /// The longest value a read returns; longer values are cut.
    static constexpr int kMaxValueLength = 1023;
    /// Larger files are not read (they yield defaults) and not written.
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

    IniFile() = default;

    /// The profile held in these bytes.
    static IniFile fromBytes(const QByteArray& bytes);

    /// The profile in the file `path`. A missing file gives an empty profile.
    /// `ok` (when given) is false when the file exists but cannot be read, or
    /// is not a regular file or is too large; the profile is then empty too.
    static IniFile load(const QString& path, bool* ok = nullptr);

    /// One read from a file, as the profile functions do it.
    static QString readValue(const QString& path, const QString& section, const QString& key,
                             const QString& defaultValue);

    /// One write to a file: reads it (or starts empty when it is missing),
    /// sets the value and writes it back whole. False, with the system's
    /// reason in `error`, when the file cannot be read or written; the file
    /// then keeps its old content.
    static bool writeValue(const QString& path, const QString& section, const QString& key,
                           const QString& value, QString* error = nullptr);

    /// Several writes to a file at once: reads it (or starts empty when it is
    /// missing), lets `change` set its values in memory and replaces the file
    /// in one write, so a failure leaves all of them unwritten. Fails like
    /// writeValue.
    static bool update(const QString& path, const std::function<void(IniFile&)>& change,
                       QString* error = nullptr);

    /// The value of `key` in `section`, trimmed of blanks and tabs and cut to
    /// kMaxValueLength characters; `defaultValue` when there is none. With
    /// repeated sections the first line that has the key counts.
    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;

    bool contains(const QString& section, const QString& key) const;

    /// Sets the value: the key's line is rewritten in place, or a new line
    /// is added at the end of the section, or a new section at the end of the
    /// file. Line breaks inside `value` become blanks, so a value can never
    /// add lines of its own.
    void setValue(const QString& section, const QString& key, const QString& value);

    /// The file's bytes.
    QByteArray toBytes() const;

    /// Writes the bytes into `path` through the file-writing layer.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    explicit IniFile(QString text)
        : m_text(std::move(text))
    {
    }

    QString m_text; ///< the bytes decoded one to one, so positions are byte offsets
    bool m_byteOrderMark = false; ///< the file starts with a UTF-8 byte-order mark, not part of m_text
};
