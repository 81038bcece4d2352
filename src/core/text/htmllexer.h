#pragma once

#include <QList>
#include <QStringView>

/// Splits one line of HTML source into coloured runs for display. A line is
/// lexed from the state the previous line ended in, so comments, quoted
/// values, tags and SCRIPT/STYLE blocks may span lines. The lexer only
/// looks; it never changes the text.
namespace htmllexer {

/// What a run of characters is.
enum class Kind : unsigned char {
    Tag,       ///< "<", "</", the tag name, "/>" and ">"
    Attribute, ///< an attribute's name inside a tag
    Value,     ///< an attribute's value, its quotes included
    Reference, ///< a character reference such as &nbsp; or &#20013;
    Comment,   ///< <!-- ... -->
    Embedded,  ///< the content of a SCRIPT or STYLE block
    Doctype,   ///< <!DOCTYPE ...> and other <! or <? declarations
};
constexpr int kKindCount = 7;

struct Run {
    int start;
    int length;
    Kind kind;
    bool operator==(const Run& other) const
    {
        return start == other.start && length == other.length && kind == other.kind;
    }
};

/// The state between two lines, small enough for one byte. kText is the state
/// at the start of a document.
using State = unsigned char;
constexpr State kText = 0;

/// Lexes `line` from state `in` and returns the state at its end. When
/// `runs` is given, the coloured runs are appended to it in order; text that
/// is none of the kinds above gets no run.
State lexLine(QStringView line, State in, QList<Run>* runs = nullptr);

} // namespace htmllexer
