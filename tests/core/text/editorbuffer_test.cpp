#include "core/platform/apperror.h"
#include "core/encoding/cp1251.h"
#include "core/text/displayblocks.h"
#include "core/text/editorbuffer.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

const QString CRLF = QStringLiteral("\r\n");

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

// Text: reading and writing -------------------------------------------------

TEST(EditorBufferText, WriteAndReadBackWithCrlfBreaks)
{
    struct Case {
        const char* written;
        const char* read;
        qsizetype length;
    };
    const Case cases[] = {
        { "", "", 0 },
        { "abc", "abc", 3 },
        { "a\r\nb", "a\r\nb", 4 },
        { "a\nb", "a\r\nb", 4 },         // lone LF becomes a line break
        { "a\rb", "a\r\nb", 4 },         // lone CR as well
        { "a\r\n", "a\r\n", 3 },
        { "\r\n\r\n", "\r\n\r\n", 4 },
        { "a\r\r\nb", "a\r\n\r\nb", 6 }, // CR CR LF: a lone CR, then CRLF
        { "Привет,\r\nмир", "Привет,\r\nмир", 12 },
    };
    for (const Case& c : cases) {
        EditorBuffer memo;
        memo.setText(s(c.written));
        EXPECT_EQ(memo.text(), s(c.read)) << c.written;
        EXPECT_EQ(memo.textLength(), c.length) << c.written;
        EXPECT_EQ(memo.text().size(), c.length) << c.written;
    }
}

TEST(EditorBufferText, WritingLeavesCaretAtStartAndFiresChange)
{
    EditorBuffer memo;
    memo.setText(QStringLiteral("first"));
    memo.setSelStart(3);
    QSignalSpy changes(&memo, &EditorBuffer::changed);
    memo.setText(QStringLiteral("one\r\ntwo"));
    EXPECT_GE(changes.count(), 1);
    EXPECT_EQ(memo.selStart(), 0);
    EXPECT_EQ(memo.selLength(), 0);
    EXPECT_EQ(memo.getSelText(), QString());
}

// QTextDocument::toPlainText() turns the no-break space into a space and
// U+2028 into a line feed; the buffer must read its blocks raw.
TEST(EditorBufferText, SpecialCharactersReadBackUnchanged)
{
    const QString text = QStringLiteral("a") + QChar(0x00A0) + QChar(0x0000) + QChar(0xF898) + QChar(0x00AD)
        + QStringLiteral("\tb") + QChar(0x0B) + QChar(0x0C) + QChar(0x1F) + QStringLiteral("z");
    EditorBuffer memo;
    memo.setText(text);
    EXPECT_EQ(memo.text(), text);
    memo.setSelStart(1);
    memo.setSelLength(3);
    EXPECT_EQ(memo.getSelText(), text.mid(1, 3));
}

TEST(EditorBufferText, ClearEmptiesTheText)
{
    EditorBuffer memo;
    memo.setText(QStringLiteral("a\r\nb"));
    QSignalSpy changes(&memo, &EditorBuffer::changed);
    memo.clearText();
    EXPECT_EQ(memo.text(), QString());
    EXPECT_GE(changes.count(), 1);
}

// Positions ------------------------------------------------------------------

TEST(EditorBufferPositions, DocumentAndWidgetPositionsAgree)
{
    // "ab" CRLF "" CRLF "cde": document positions 0..9, widget positions 0..7.
    EditorBuffer memo;
    memo.setText(QStringLiteral("ab\r\n\r\ncde"));
    struct Case {
        qsizetype document;
        int widget;
    };
    const Case toWidget[] = {
        { -5, 0 }, { 0, 0 }, { 1, 1 }, { 2, 2 },
        { 3, 2 },            // inside the first CRLF: end of line 0
        { 4, 3 }, { 5, 3 },  // empty line, and inside its CRLF
        { 6, 4 }, { 9, 7 },
        { 10, 7 }, { 1000, 7 }, // past the end: the end
    };
    for (const Case& c : toWidget)
        EXPECT_EQ(memo.toWidgetPosition(c.document), c.widget) << c.document;
    const Case toDocument[] = { { 0, 0 }, { 2, 2 }, { 4, 3 }, { 6, 4 }, { 9, 7 } };
    for (const Case& c : toDocument)
        EXPECT_EQ(memo.toDocumentPosition(c.widget), c.document) << c.widget;
}

TEST(EditorBufferPositions, SelStartAndSelLength)
{
    EditorBuffer memo;
    memo.setText(QStringLiteral("one\r\ntwo\r\nthree"));
    memo.setSelStart(5);
    EXPECT_EQ(memo.selStart(), 5);
    EXPECT_EQ(memo.selLength(), 0);
    EXPECT_EQ(memo.getSelText(), QString());

    memo.setSelLength(3);
    EXPECT_EQ(memo.selStart(), 5);
    EXPECT_EQ(memo.selLength(), 3);
    EXPECT_EQ(memo.getSelText(), QStringLiteral("two"));

    // Across a line break the selection holds CRLF and the break counts two.
    memo.setSelStart(1);
    memo.setSelLength(6);
    EXPECT_EQ(memo.getSelText(), QStringLiteral("ne\r\ntw"));
    EXPECT_EQ(memo.selLength(), 6);

    // The caret stands at the selection's end.
    EXPECT_EQ(memo.toDocumentPosition(memo.textCursor().position()), 7);

    // Writing SelStart drops the selection.
    memo.setSelStart(0);
    EXPECT_EQ(memo.selLength(), 0);

    // A length beyond the end stops at the end; a negative one selects nothing.
    memo.setSelStart(10);
    memo.setSelLength(100);
    EXPECT_EQ(memo.getSelText(), QStringLiteral("three"));
    memo.setSelLength(-3);
    EXPECT_EQ(memo.selLength(), 0);
    EXPECT_EQ(memo.selStart(), 10);
}

TEST(EditorBufferPositions, PositionInsideLineBreakStandsAtLineEnd)
{
    EditorBuffer memo;
    memo.setText(QStringLiteral("ab\r\ncd"));
    memo.setSelStart(3); // between CR and LF
    EXPECT_EQ(memo.selStart(), 2);
    memo.setSelStart(0);
    memo.setSelLength(3); // ends inside the break: the break is not half selected
    EXPECT_EQ(memo.getSelText(), QStringLiteral("ab"));
    memo.setSelLength(4);
    EXPECT_EQ(memo.getSelText(), QStringLiteral("ab\r\n"));
}

TEST(EditorBufferPositions, SelectAllSelectsEverything)
{
    EditorBuffer memo;
    memo.setText(QStringLiteral("ab\r\ncd\r\n"));
    memo.selectAllText();
    EXPECT_EQ(memo.selStart(), 0);
    EXPECT_EQ(memo.selLength(), 8);
    EXPECT_EQ(memo.getSelText(), QStringLiteral("ab\r\ncd\r\n"));
}

// SetSelText -----------------------------------------------------------------

TEST(EditorBufferSetSelText, ReplacesOrInsertsAndLeavesCaretAfter)
{
    struct Case {
        const char* text;
        qsizetype start;
        qsizetype length;
        const char* insert;
        const char* result;
        qsizetype caret;
    };
    const Case cases[] = {
        { "abc", 1, 0, "XY", "aXYbc", 3 },             // insertion at the caret
        { "abc", 0, 3, "<B>abc</B>", "<B>abc</B>", 10 },
        { "ab\r\ncd", 1, 4, "", "ad", 1 },              // replacing across a break removes it
        { "ab\r\ncd", 2, 0, "x\r\ny", "abx\r\ny\r\ncd", 6 },
        { "ab", 2, 0, "\n", "ab\r\n", 4 },             // a lone LF arrives as CRLF
        { "", 0, 0, "Ёж", "Ёж", 2 },
    };
    for (const Case& c : cases) {
        EditorBuffer memo;
        memo.setText(s(c.text));
        memo.setSelStart(c.start);
        memo.setSelLength(c.length);
        QSignalSpy changes(&memo, &EditorBuffer::changed);
        memo.setSelText(s(c.insert));
        EXPECT_EQ(memo.text(), s(c.result)) << c.text << " / " << c.insert;
        EXPECT_EQ(memo.selStart(), c.caret) << c.text << " / " << c.insert;
        EXPECT_EQ(memo.selLength(), 0);
        EXPECT_GE(changes.count(), 1);
    }
}

TEST(EditorBufferSetSelText, UnencodableCharactersBecomeReferences)
{
    EditorBuffer memo;
    memo.setSelText(s("x中y"));
    EXPECT_EQ(memo.text(), QStringLiteral("x&#20013;y"));
    EXPECT_EQ(memo.selStart(), 10);
}

TEST(EditorBufferSetSelText, ScrollsTheCaretIntoView)
{
    EditorBuffer memo;
    memo.resize(300, 200);
    memo.show();
    QString lines;
    for (int i = 0; i < 500; ++i)
        lines += QStringLiteral("line %1\r\n").arg(i);
    memo.setText(lines);
    QScrollBar* bar = memo.verticalScrollBar();
    ASSERT_EQ(bar->value(), 0);
    memo.setSelStart(memo.textLength());
    EXPECT_EQ(bar->value(), 0) << "writing SelStart must not scroll";
    memo.setSelText(QStringLiteral("end"));
    EXPECT_GT(bar->value(), 400) << "SetSelText scrolls the caret into view";

    memo.setSelStart(0);
    bar->setValue(0);
    memo.setSelStart(memo.toDocumentPosition(memo.document()->findBlockByNumber(300).position()));
    EXPECT_EQ(bar->value(), 0);
    memo.setSelLength(4);
    EXPECT_GT(bar->value(), 250) << "writing SelLength scrolls the caret into view";
}

// Lines ----------------------------------------------------------------------

// Undo -------------------------------------------------------------------------

// Every command's edit is one step: undo brings back the text and the
// selection before it, redo the text after it, also where long lines are
// shown in pieces and when the whole text is replaced.
TEST(EditorBufferUndo, CommandEditsUndoAndRedoWithTheirSelections)
{
    const QString longLine = QString(3 * displayblocks::kBound, u'a') + QStringLiteral("b");
    const QString pieces = QStringLiteral("x\r\n") + longLine + QStringLiteral("\r\nyz");
    const qsizetype join = 3 + displayblocks::kPiece;
    enum Edit { SelText, WholeText, Line };
    struct Case {
        const char* name;
        QString initial;
        TextSelection selection;
        Edit edit;
        QString text;
        QString after;
    };
    const Case cases[] = {
        { "insert at the caret", QStringLiteral("abc"), { 1, 1 }, SelText, QStringLiteral("<P>"), QStringLiteral("a<P>bc") },
        { "replace a selection made backwards", QStringLiteral("abc"), { 3, 1 }, SelText, QStringLiteral("<B>bc</B>"),
          QStringLiteral("a<B>bc</B>") },
        { "replace over a line break", QStringLiteral("ab\r\ncd"), { 1, 5 }, SelText, QStringLiteral("-"), QStringLiteral("a-d") },
        { "insert line breaks", QStringLiteral("ab"), { 1, 1 }, SelText, QStringLiteral("\r\n\r\n"), QStringLiteral("a\r\n\r\nb") },
        { "replace a line", QStringLiteral("ab\r\ncd\r\nef"), { 0, 0 }, Line, QStringLiteral("X"), QStringLiteral("ab\r\nX\r\nef") },
        { "the whole text", QStringLiteral("ab\r\ncd"), { 2, 0 }, WholeText, QStringLiteral("new"), QStringLiteral("new") },
        { "clear all", QStringLiteral("ab\r\ncd"), { 4, 4 }, WholeText, QString(), QString() },
        { "from a join into the next line", pieces, { join, pieces.size() - 1 }, SelText, QStringLiteral("p\r\nq"),
          QString(pieces).replace(join, pieces.size() - 1 - join, QStringLiteral("p\r\nq")) },
        { "a line break into a piece", pieces, { join + 5, join + 5 }, SelText, QStringLiteral("\r\n"),
          QString(pieces).insert(join + 5, QStringLiteral("\r\n")) },
        { "a whole text of long lines", QStringLiteral("ab"), { 1, 1 }, WholeText, pieces, pieces },
        { "a long line's text as a whole", pieces, { 0, 0 }, WholeText, QStringLiteral("c"), QStringLiteral("c") },
        { "the long line", pieces, { 0, 0 }, Line, QStringLiteral("L"), QStringLiteral("x\r\nL\r\nyz") },
    };
    for (const Case& c : cases) {
        EditorBuffer memo;
        memo.setText(c.initial);
        memo.clearHistory();
        memo.setSelection(c.selection);
        QSignalSpy changes(&memo, &EditorBuffer::changed);
        switch (c.edit) {
        case SelText: memo.setSelText(c.text); break;
        case WholeText: memo.setText(c.text); break;
        case Line: memo.setLine(1, c.text); break;
        }
        ASSERT_TRUE(memo.text() == c.after) << c.name;
        const TextSelection after = memo.selection();
        const qsizetype editChanges = changes.count();
        ASSERT_TRUE(memo.canUndo()) << c.name;
        memo.undoStep();
        EXPECT_TRUE(memo.text() == c.initial) << c.name;
        EXPECT_TRUE(memo.toBytes() == cp1251::encode(c.initial)) << c.name;
        EXPECT_EQ(memo.lineCount(), c.initial.isEmpty() ? 0 : c.initial.count(CRLF) + 1) << c.name;
        if (c.edit != Line)
            EXPECT_EQ(memo.selection(), c.selection) << c.name;
        EXPECT_FALSE(memo.canUndo()) << c.name;
        EXPECT_GT(editChanges, 0) << c.name;
        EXPECT_GT(changes.count(), editChanges) << c.name; // the undo is noticed too
        memo.redoStep();
        EXPECT_TRUE(memo.text() == c.after) << c.name;
        EXPECT_EQ(memo.selection(), after) << c.name;
        EXPECT_FALSE(memo.canRedo()) << c.name;
    }
}

// A change no step follows (made on the toolkit's document directly) leaves
// nothing to undo at positions that may have moved; loading and clearing
// start an empty history.
TEST(EditorBufferUndo, HistoryEndsWhereNoStepFollows)
{
    EditorBuffer memo;
    memo.setSelText(QStringLiteral("typed"));
    ASSERT_TRUE(memo.canUndo());
    memo.insertPlainText(QStringLiteral("!"));
    EXPECT_FALSE(memo.canUndo());
    memo.undoStep();
    EXPECT_EQ(memo.text(), QStringLiteral("typed!"));
    memo.setText(QStringLiteral("replaced"));
    ASSERT_TRUE(memo.canUndo());
    memo.clearText();
    EXPECT_FALSE(memo.canUndo());
    EXPECT_FALSE(memo.document()->isUndoRedoEnabled());
}

// Reads of megabytes take the document's characters at once; they give the
// same text as the short reads, line breaks as CRLF, and undo brings such a
// text back whole.
TEST(EditorBufferUndo, MegabyteReadsAndStepsKeepEveryLineBreak)
{
    QString text;
    for (int i = 0; text.size() < 1200 * 1024; ++i)
        text += QStringLiteral("line %1 \u0436\r\n").arg(i);
    EditorBuffer memo;
    memo.setText(text);
    memo.selectAllText();
    EXPECT_TRUE(memo.getSelText() == text);
    memo.setSelStart(7);
    memo.setSelLength(text.size() - 20);
    EXPECT_TRUE(memo.getSelText() == text.mid(7, text.size() - 20));
    memo.selectAllText();
    memo.setSelText(QStringLiteral("<B>") + text + QStringLiteral("</B>"));
    memo.undoStep();
    EXPECT_TRUE(memo.text() == text);
    memo.undoStep();
    EXPECT_TRUE(memo.text().isEmpty());
}

// An undo that would pass the capacity is refused like any edit: the text
// and the history stay as they were.
TEST(EditorBufferUndo, UndoPastTheCapacityChangesNothing)
{
    EditorBuffer memo;
    memo.setText(QStringLiteral("abcdef"));
    memo.setText(QStringLiteral("x"));
    memo.setCapacity(3);
    EXPECT_THROW(memo.undoStep(), AppError);
    EXPECT_EQ(memo.text(), QStringLiteral("x"));
    EXPECT_TRUE(memo.canUndo());
    EXPECT_FALSE(memo.canRedo());
}

// Every selection of a small text with empty lines, reading it back must give
// the same characters as the whole text cut at the same positions. A position
// inside a CRLF stands at the end of its line, and the length counts from the
// start as it then reads.
TEST(EditorBufferPositions, EverySelectionReadsLikeTheTextCut)
{
    const QString text = QStringLiteral("ab\r\n\r\nc\r\nde\r\n");
    EditorBuffer memo;
    memo.setText(text);
    auto snap = [&](qsizetype p) { return p < text.size() && text.at(p) == u'\n' ? p - 1 : p; };
    for (qsizetype start = 0; start <= text.size(); ++start) {
        for (qsizetype length = 0; start + length <= text.size(); ++length) {
            memo.setSelStart(start);
            memo.setSelLength(length);
            const qsizetype from = snap(start);
            const qsizetype to = qMax(from, snap(qMin(from + length, text.size())));
            EXPECT_EQ(memo.getSelText(), text.mid(from, to - from)) << start << "+" << length;
            EXPECT_EQ(memo.selLength(), to - from) << start << "+" << length;
        }
    }
}

// Long lines ---------------------------------------------------------------------

// A line longer than the bound is kept in several blocks joined without a
// break. Edits at and across the joins, made the way commands make them,
// must leave exactly the text a plain string edit gives, with lines, lengths
// and positions counted by document lines.
TEST(EditorBufferLongLines, EditsAtJoinsKeepTheDocumentText)
{
    const int bound = displayblocks::kBound;
    QString longLine;
    for (int i = 0; longLine.size() < 3 * bound + 100; ++i)
        longLine += QString::number(i % 10) + (i % 7 == 0 ? s("ж ") : QStringLiteral("a"));
    const QString initial = QStringLiteral("head\r\n") + longLine + QStringLiteral("\r\ntail");
    const qsizetype join = 6 + displayblocks::kPiece; // where the first piece of the long line ends
    struct Case {
        const char* name;
        qsizetype start, length;
        QString insert;
        bool wrapInBold; // the insert is "<B>" + selection + "</B>", as the wrap commands build it
    };
    const Case cases[] = {
        { "insert at a join", join, 0, QStringLiteral("xy"), false },
        { "line break at a join", join, 0, QStringLiteral("1\r\n2"), false },
        { "delete across a join", join - 3, 7, QString(), false },
        { "delete two joins", join - 1, displayblocks::kPiece + 2, QString(), false },
        { "wrap across a join", join - 5, 10, QString(), true },
        { "wrap the whole long line", 6, longLine.size(), QString(), true },
        { "long insert with breaks at a join", join, 0, longLine + QStringLiteral("\r\n") + longLine, false },
        { "join the long line to the next", 6 + longLine.size(), 2, QString(), false },
        { "replace across lines", 2, 2 * bound, QStringLiteral("\r\n"), false },
    };
    for (const Case& c : cases) {
        EditorBuffer memo;
        memo.setText(initial);
        ASSERT_GT(memo.document()->blockCount(), 3) << "the long line is shown in pieces";
        memo.setSelStart(c.start);
        memo.setSelLength(c.length);
        const QString selected = initial.mid(c.start, c.length);
        EXPECT_EQ(memo.getSelText(), selected) << c.name;
        const QString insert = c.wrapInBold ? QStringLiteral("<B>") + selected + QStringLiteral("</B>") : c.insert;
        memo.setSelText(insert);
        QString expected = initial;
        expected.replace(c.start, c.length, insert);
        EXPECT_TRUE(memo.text() == expected) << c.name;
        EXPECT_EQ(memo.textLength(), expected.size()) << c.name;
        EXPECT_EQ(memo.selStart(), c.start + insert.size()) << c.name;
        EXPECT_EQ(memo.toBytes(), cp1251::encode(expected)) << c.name;
        const QStringList lines = expected.split(CRLF);
        ASSERT_EQ(memo.lineCount(), lines.size()) << c.name;
        for (int i = 0; i < lines.size(); ++i)
            EXPECT_EQ(memo.line(i), lines[i]) << c.name << " line " << i;
        for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next())
            EXPECT_LE(block.length() - 1, 2 * bound) << c.name;
        // Every position outside a line break reads back as set.
        for (qsizetype p = 0; p <= expected.size(); p += 97)
            if (p == 0 || expected.at(p - 1) != u'\r') {
                memo.setSelStart(p);
                EXPECT_EQ(memo.selStart(), p) << c.name << " at " << p;
            }
        // Assigning a line replaces the whole document line, every piece.
        memo.setLine(1, QStringLiteral("short"));
        QStringList shortened = lines;
        shortened[1] = QStringLiteral("short");
        EXPECT_TRUE(memo.text() == shortened.join(CRLF)) << c.name;
    }
}

TEST(EditorBufferLongLines, OnlyLinesLongerThanTheBoundArePiecedWhateverTheWrap)
{
    const int bound = displayblocks::kBound;
    const QString atBound(bound, u'a');
    for (const auto mode : { QPlainTextEdit::NoWrap, QPlainTextEdit::WidgetWidth }) {
        EditorBuffer memo;
        memo.setLineWrapMode(mode);
        memo.setText(atBound + CRLF + atBound + QStringLiteral("b"));
        EXPECT_EQ(memo.document()->firstBlock().length() - 1, bound) << int(mode);
        EXPECT_EQ(memo.document()->blockCount(), 1 + (bound + displayblocks::kPiece) / displayblocks::kPiece)
            << int(mode);
        EXPECT_EQ(memo.lineCount(), 2) << int(mode);
        memo.setLineWrapMode(mode == QPlainTextEdit::NoWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        EXPECT_TRUE(memo.text() == atBound + CRLF + atBound + QStringLiteral("b")) << int(mode);
    }
}
