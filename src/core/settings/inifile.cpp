#include "core/settings/inifile.h"

#include "core/encoding/cp1251.h"
#include "core/platform/filewriter.h"

#include <QFile>
#include <QFileInfo>
#include <QStringView>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

/// One line of the file: [start, contentEnd) is its text, [contentEnd, end)
/// its line break (empty on a last line without one).
struct Line {
    qsizetype start = 0;
    qsizetype contentEnd = 0;
    qsizetype end = 0;
};

/// Reads lines one after another; "\r\n", "\n" and a lone "\r" end a line.
class LineReader {
public:
    explicit LineReader(const QString& text)
        : m_text(text)
    {
    }

    bool next(Line& line)
    {
        const qsizetype size = m_text.size();
        if (m_pos >= size)
            return false;
        line.start = m_pos;
        qsizetype i = m_pos;
        while (i < size && !isBreak(m_text[i]))
            ++i;
        line.contentEnd = i;
        if (i < size) {
            if (m_text[i] == u'\r' && i + 1 < size && m_text[i + 1] == u'\n')
                i += 2;
            else
                ++i;
        }
        line.end = i;
        m_pos = i;
        return true;
    }

private:
    const QString& m_text;
    qsizetype m_pos = 0;
};

/// [from, to) with blanks and tabs removed at both ends.
void trim(const QString& text, qsizetype& from, qsizetype& to)
{
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
}

QString trimmed(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    trim(text, from, to);
    return text.mid(from, to - from);
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

/// What a scan of the file found for one section and key.
struct Lookup {
    bool keyFound = false;
    qsizetype valueStart = 0;   ///< after '=' and the blanks that follow it
    qsizetype valueEnd = 0;     ///< before the trailing blanks
    qsizetype lineContentEnd = 0;
    bool sectionFound = false;
    Line lastFilledLine;        ///< last non-blank line of the first matching section
};

Lookup lookUp(const QString& text, QStringView section, QStringView key)
{
    Lookup result;
    LineReader reader(text);
    Line line;
    bool inSection = false;
    bool inFirstSection = false;
    while (reader.next(line)) {
        qsizetype from = line.start;
        qsizetype to = line.contentEnd;
        trim(text, from, to);
        if (from == to)
            continue;
        const QChar first = text[from];
        if (first == u'[') {
            qsizetype nameEnd = from + 1;
            while (nameEnd < to && text[nameEnd] != u']')
                ++nameEnd;
            qsizetype nameStart = from + 1;
            trim(text, nameStart, nameEnd);
            inSection = sameName(QStringView(text).mid(nameStart, nameEnd - nameStart), section);
            inFirstSection = inSection && !result.sectionFound;
            if (inFirstSection) {
                result.sectionFound = true;
                result.lastFilledLine = line;
            }
            continue;
        }
        if (inFirstSection)
            result.lastFilledLine = line;
        if (!inSection || first == u';')
            continue;
        const qsizetype eq = QStringView(text).mid(from, to - from).indexOf(u'=');
        if (eq < 0)
            continue;
        qsizetype keyStart = from;
        qsizetype keyEnd = from + eq;
        trim(text, keyStart, keyEnd);
        if (!sameName(QStringView(text).mid(keyStart, keyEnd - keyStart), key))
            continue;
        qsizetype valueStart = from + eq + 1;
        qsizetype valueEnd = to;
        trim(text, valueStart, valueEnd);
        result.keyFound = true;
        result.valueStart = valueStart;
        result.valueEnd = valueEnd;
        result.lineContentEnd = line.contentEnd;
        return result;
    }
    return result;
}

/// The line break new lines get: the file's own when its first line ends in
/// a bare line feed, else CR LF.
QString lineBreakOf(const QString& text)
{
    LineReader reader(text);
    Line line;
    if (reader.next(line) && line.end - line.contentEnd == 1 && text[line.contentEnd] == u'\n')
        return QStringLiteral("\n");
    return QStringLiteral("\r\n");
}

} // namespace

namespace {

/// A UTF-8 byte-order mark, put at the start by some editors. It is no text
/// of the profile, but a write keeps it where it was.
const QByteArray kByteOrderMark("\xEF\xBB\xBF");

} // namespace

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    if (!bytes.startsWith(kByteOrderMark))
        return IniFile(cp1251::decode(bytes));
    IniFile ini(cp1251::decode(bytes.mid(kByteOrderMark.size())));
    ini.m_byteOrderMark = true;
    return ini;
}

IniFile IniFile::load(const QString& path, bool* ok)
{
    if (ok)
        *ok = true;
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    // Devices and pipes could block or never end; only regular files are read.
    if (!info.isFile() || info.size() > kMaxFileSize) {
        if (ok)
            *ok = false;
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    return fromBytes(file.read(kMaxFileSize));
}

QString IniFile::readValue(const QString& path, const QString& section, const QString& key,
                           const QString& defaultValue)
{
    return load(path).value(section, key, defaultValue);
}

bool IniFile::writeValue(const QString& path, const QString& section, const QString& key,
                         const QString& value, QString* error)
{
    return update(path, [&](IniFile& ini) { ini.setValue(section, key, value); }, error);
}

bool IniFile::update(const QString& path, const std::function<void(IniFile&)>& change, QString* error)
{
    bool readable = true;
    IniFile ini = load(path, &readable);
    if (!readable) {
        // Writing an empty profile over a file that could not be read would lose it.
        if (error) {
            QFile probe(path);
            *error = probe.open(QIODevice::ReadOnly) ? QStringLiteral("Not a regular file or too large")
                                                     : probe.errorString();
        }
        return false;
    }
    change(ini);
    return ini.save(path, error);
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Lookup found = lookUp(m_text, trimmed(section), trimmed(key));
    if (!found.keyFound)
        return defaultValue;
    return m_text.mid(found.valueStart, qMin<qsizetype>(found.valueEnd - found.valueStart, kMaxValueLength));
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    return lookUp(m_text, trimmed(section), trimmed(key)).keyFound;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    // Characters outside the code page are stored as character references,
    // so what is held here is exactly what the file will hold.
    QString oneLine = cp1251::escapeUnencodable(value);
    for (QChar& c : oneLine) {
        if (isBreak(c))
            c = u' ';
    }
    const QString sectionName = trimmed(cp1251::escapeUnencodable(section));
    const QString keyName = trimmed(cp1251::escapeUnencodable(key));
    const Lookup found = lookUp(m_text, sectionName, keyName);
    if (found.keyFound) {
        m_text.replace(found.valueStart, found.lineContentEnd - found.valueStart, oneLine);
        return;
    }
    const QString br = lineBreakOf(m_text);
    const QString keyLine = keyName + u'=' + oneLine + br;
    if (found.sectionFound) {
        const Line& last = found.lastFilledLine;
        if (last.end == last.contentEnd) // the file's last line, without a line break
            m_text.insert(last.end, br + keyLine);
        else
            m_text.insert(last.end, keyLine);
        return;
    }
    if (!m_text.isEmpty() && !isBreak(m_text.back()))
        m_text += br;
    m_text += u'[' + sectionName + u']' + br + keyLine;
}

QByteArray IniFile::toBytes() const
{
    const QByteArray text = cp1251::encode(m_text);
    return m_byteOrderMark ? kByteOrderMark + text : text;
}

bool IniFile::save(const QString& path, QString* error) const
{
    return filewriter::writeFile(path, toBytes(), error);
}
