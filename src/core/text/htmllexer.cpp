#include "core/text/htmllexer.h"

namespace htmllexer {

namespace {

// The state byte: where the lexer stands (low four bits) and, inside a
// start tag, which raw-text element the tag opens (two bits above).
enum Mode : unsigned char {
    InText = 0,
    InComment,
    InTag,          // between attributes
    BeforeValue,    // after "=", before the value
    InDoubleQuoted,
    InSingleQuoted,
    InDeclaration,  // <!DOCTYPE ...>, <!...>, <?...>
    InScript,
    InStyle,
};
enum Element : unsigned char { Ordinary = 0, Script = 1, Style = 2 };

State pack(Mode mode, Element element = Ordinary)
{
    return State(mode | (element << 4));
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\f' || c == u'\r' || c == u'\n';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c)
{
    return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

class Lexer {
public:
    Lexer(QStringView line, QList<Run>* runs)
        : m_line(line)
        , m_runs(runs)
    {
    }

    State run(State in)
    {
        Mode mode = Mode(in & 0x0F);
        Element element = Element((in >> 4) & 0x03);
        while (m_pos < m_line.size()) {
            switch (mode) {
            case InText:
                mode = text(element);
                break;
            case InComment:
                mode = until(u"-->", Kind::Comment) ? InText : InComment;
                break;
            case InDeclaration:
                mode = until(u">", Kind::Doctype) ? InText : InDeclaration;
                break;
            case InScript:
            case InStyle:
                mode = embedded(mode == InScript ? u"script" : u"style") ? InText : mode;
                break;
            case InTag:
                mode = tag(element);
                break;
            case BeforeValue:
                mode = value(element);
                break;
            case InDoubleQuoted:
            case InSingleQuoted:
                mode = until(mode == InDoubleQuoted ? u"\"" : u"'", Kind::Value) ? InTag : mode;
                break;
            }
            if (mode != InTag && mode != BeforeValue && mode != InDoubleQuoted && mode != InSingleQuoted)
                element = Ordinary;
        }
        return pack(mode, element);
    }

private:
    void add(qsizetype start, qsizetype end, Kind kind)
    {
        if (!m_runs || end <= start)
            return;
        if (!m_runs->isEmpty()) {
            Run& last = m_runs->last();
            if (last.kind == kind && last.start + last.length == start) {
                last.length += int(end - start);
                return;
            }
        }
        m_runs->append({ int(start), int(end - start), kind });
    }

    // Colours up to and including `closer`, or to the line's end; true when
    // the closer was found.
    bool until(QStringView closer, Kind kind)
    {
        const qsizetype found = m_line.indexOf(closer, m_pos);
        const qsizetype end = found < 0 ? m_line.size() : found + closer.size();
        add(m_pos, end, kind);
        m_pos = end;
        return found >= 0;
    }

    // Raw text up to its end tag (any case), which the text state then reads.
    bool embedded(QStringView name)
    {
        qsizetype at = m_pos;
        while ((at = m_line.indexOf(u"</", at)) >= 0) {
            const qsizetype after = at + 2 + name.size();
            if (m_line.mid(at + 2, name.size()).compare(name, Qt::CaseInsensitive) == 0
                && (after == m_line.size() || isBlank(m_line[after]) || m_line[after] == u'>'
                    || m_line[after] == u'/'))
                break;
            at += 2;
        }
        const qsizetype end = at < 0 ? m_line.size() : at;
        add(m_pos, end, Kind::Embedded);
        m_pos = end;
        return at >= 0;
    }

    Mode text(Element& element)
    {
        const qsizetype start = m_pos;
        const QChar c = m_line[m_pos];
        const QChar next = m_pos + 1 < m_line.size() ? m_line[m_pos + 1] : QChar();
        if (c == u'&') {
            reference();
            return InText;
        }
        if (c != u'<') {
            // Plain text runs to the next character that may start something.
            ++m_pos;
            while (m_pos < m_line.size() && m_line[m_pos] != u'<' && m_line[m_pos] != u'&')
                ++m_pos;
            return InText;
        }
        if (m_line.mid(m_pos, 4) == u"<!--") {
            m_pos += 4;
            add(start, m_pos, Kind::Comment);
            return InComment;
        }
        if (next == u'!' || next == u'?') {
            m_pos += 2;
            add(start, m_pos, Kind::Doctype);
            return InDeclaration;
        }
        const bool closing = next == u'/';
        const qsizetype nameStart = m_pos + (closing ? 2 : 1);
        if (nameStart >= m_line.size() || !isAsciiLetter(m_line[nameStart])) {
            ++m_pos; // a "<" that opens no tag is text
            return InText;
        }
        qsizetype nameEnd = nameStart;
        while (nameEnd < m_line.size() && !isBlank(m_line[nameEnd]) && m_line[nameEnd] != u'>'
               && m_line[nameEnd] != u'/')
            ++nameEnd;
        const QStringView name = m_line.mid(nameStart, nameEnd - nameStart);
        element = Ordinary;
        if (!closing && name.compare(u"script", Qt::CaseInsensitive) == 0)
            element = Script;
        else if (!closing && name.compare(u"style", Qt::CaseInsensitive) == 0)
            element = Style;
        add(start, nameEnd, Kind::Tag);
        m_pos = nameEnd;
        return InTag;
    }

    void reference()
    {
        const qsizetype start = m_pos;
        qsizetype at = m_pos + 1;
        const auto digitsFrom = [&](qsizetype from, bool (*isDigit)(QChar)) {
            qsizetype end = from;
            while (end < m_line.size() && isDigit(m_line[end]))
                ++end;
            return end > from ? end : -1;
        };
        qsizetype end = -1;
        if (at < m_line.size() && m_line[at] == u'#') {
            ++at;
            if (at < m_line.size() && (m_line[at] == u'x' || m_line[at] == u'X'))
                end = digitsFrom(at + 1, isHexDigit);
            else
                end = digitsFrom(at, isAsciiDigit);
        } else if (at < m_line.size() && isAsciiLetter(m_line[at])) {
            end = at + 1;
            while (end < m_line.size() && (isAsciiLetter(m_line[end]) || isAsciiDigit(m_line[end])))
                ++end;
        }
        // Only a reference closed by ";" is coloured: "AT&T" stays text.
        if (end > 0 && end < m_line.size() && m_line[end] == u';') {
            add(start, end + 1, Kind::Reference);
            m_pos = end + 1;
        } else {
            m_pos = start + 1;
        }
    }

    // Where a tag's ">" leads: into the raw text of SCRIPT or STYLE, else text.
    Mode closeTag(qsizetype length, Element element)
    {
        add(m_pos, m_pos + length, Kind::Tag);
        m_pos += length;
        return element == Script ? InScript : element == Style ? InStyle : InText;
    }

    Mode tag(Element element)
    {
        const QChar c = m_line[m_pos];
        if (isBlank(c)) {
            ++m_pos;
            return InTag;
        }
        if (c == u'>')
            return closeTag(1, element);
        if (c == u'/' && m_pos + 1 < m_line.size() && m_line[m_pos + 1] == u'>')
            return closeTag(2, element);
        if (c == u'=') {
            ++m_pos;
            return BeforeValue;
        }
        if (c == u'"' || c == u'\'')
            return quoted(c);
        qsizetype end = m_pos;
        while (end < m_line.size() && !isBlank(m_line[end]) && m_line[end] != u'=' && m_line[end] != u'>'
               && m_line[end] != u'"' && m_line[end] != u'\''
               && !(m_line[end] == u'/' && end + 1 < m_line.size() && m_line[end + 1] == u'>'))
            ++end;
        if (end == m_pos)
            end = m_pos + 1;
        add(m_pos, end, Kind::Attribute);
        m_pos = end;
        return InTag;
    }

    Mode quoted(QChar quote)
    {
        const qsizetype start = m_pos;
        const qsizetype close = m_line.indexOf(quote, m_pos + 1);
        const qsizetype end = close < 0 ? m_line.size() : close + 1;
        add(start, end, Kind::Value);
        m_pos = end;
        if (close >= 0)
            return InTag;
        return quote == u'"' ? InDoubleQuoted : InSingleQuoted;
    }

    Mode value(Element element)
    {
        const QChar c = m_line[m_pos];
        if (isBlank(c)) {
            ++m_pos;
            return BeforeValue;
        }
        if (c == u'>')
            return closeTag(1, element);
        if (c == u'"' || c == u'\'')
            return quoted(c);
        qsizetype end = m_pos;
        while (end < m_line.size() && !isBlank(m_line[end]) && m_line[end] != u'>')
            ++end;
        add(m_pos, end, Kind::Value);
        m_pos = end;
        return InTag;
    }

    QStringView m_line;
    QList<Run>* m_runs;
    qsizetype m_pos = 0;
};

} // namespace

State lexLine(QStringView line, State in, QList<Run>* runs)
{
    return Lexer(line, runs).run(in);
}

} // namespace htmllexer
