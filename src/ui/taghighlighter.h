#pragma once

#include "core/text/htmllexer.h"

#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTimer>
#include <utility>
#include <vector>

class QPlainTextEdit;
class QTextBlock;
class QTextDocument;

/// Colours the HTML of an editing area for display only. Only the lines on
/// screen get colours (as additional layout formats, colour alone, so the
/// text, its font and every position stay as they are). Each line's end
/// state is kept, so a change that alters the lines below (typing "<!--")
/// recolours what is on screen at once and carries the rest down in small
/// background slices or as the lines scroll into view.
class TagHighlighter : public QObject {
    Q_OBJECT

public:
    explicit TagHighlighter(QPlainTextEdit* editor);

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    /// True when every line's state is known: no background work is left.
    bool isSettled() const { return m_validUntil >= int(m_states.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using State = htmllexer::State;

    void contentsChanged(int position, int removed, int added);
    /// A whole new text (a load, a whole-text command) is lexed at once from
    /// the text the editing area hands over: one pass over contiguous
    /// characters costs a fraction of reading every line back from the
    /// widget in the background.
    void lexIncomingText(int position, int added);
    /// Lexes lines from the first stale one up to `endBlock` (exclusive)
    /// until `budgetNs` has passed.
    void advance(int endBlock, qint64 budgetNs);
    /// The state the line starts in: known, or the best guess while the
    /// lines above are still being lexed.
    State inState(int block) const;
    /// Colours the lines on screen that lack colours or have them from a
    /// state that has since changed.
    void colourVisible();
    bool visibleNeedColour() const;
    /// The columns that get colours, [first, end): without word wrap, a
    /// stretch around those on screen. Every coloured stretch splits a line
    /// into one more piece for the toolkit to shape and draw, which a line of
    /// a thousand characters and more makes costly on every keystroke.
    std::pair<int, int> columnWindow() const;
    /// The first line on screen and how many lines fit.
    int firstVisible() const;
    int visibleCount() const;
    /// Sets the block's colours; false when there was nothing to change.
    bool setColours(const QTextBlock& block, State in);
    void clearColours();
    void backgroundSlice();
    void makeFormats();

    QPlainTextEdit* m_editor;
    QTextDocument* m_doc;
    /// Each line's end state, or kUnknown.
    std::vector<State> m_states;
    /// The start state each line's colours were made from, or kUncoloured.
    std::vector<State> m_colouredFrom;
    /// Lines before this one have end states that hold.
    int m_validUntil = 0;
    /// Lines before this one (from m_validUntil on) changed and are lexed
    /// again whatever they held; from it on a line whose end state comes out
    /// as before ends the walk.
    int m_dirtyEnd = 0;
    bool m_enabled = false;
    /// The columns the lines' colours were made for.
    std::pair<int, int> m_columns { 0, 0 };
    QTimer m_background;
    QTextCharFormat m_formats[htmllexer::kKindCount];
};
