#pragma once

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "core/encoding/textencoding.h"
#include "core/text/displayblocks.h"
#include "core/text/edithistory.h"

#include <memory>
#include <optional>
#include <vector>

class QDrag;

/// The editing area `Memo1`: the real text widget, seen through the
/// document's coordinates. Positions count characters from 0 and every line
/// break counts as two (CRLF); the widget itself keeps one block per line.
/// A Windows-1251 document admits only characters of that code page: others
/// are turned into HTML numeric character references on the way in. A UTF-8
/// document admits every character as it is.
///
/// A line longer than displayblocks::kBound is kept in several blocks joined
/// without a line break (DisplayBlocks), so typing in a minified page lays
/// out a few thousand characters, not megabytes. Everything read or counted
/// here joins those blocks again.
class EditorBuffer : public QPlainTextEdit {
    Q_OBJECT

public:
    /// Longest text, in document characters, the buffer holds: no load, edit,
    /// paste or drop makes it longer.
    /// Typing stays instant far beyond it, but loading and whole-text
    /// commands (select all, then wrap) grow with the text: about one second
    /// each at 16 MiB on a busy two-core machine, two to two and a half at
    /// 32 MiB, where the editor no longer feels responsive.
    static constexpr qsizetype kCapacity = 16 * 1024 * 1024;

    explicit EditorBuffer(QWidget* parent = nullptr);
    ~EditorBuffer() override;

    // Selection ------------------------------------------------------------
    QString getSelText() const;
    /// Replaces the selection (or inserts at the caret); caret after the text,
    /// nothing selected, scrolled into view. One undo step. Throws AppError
    /// "Text exceeds memo capacity", changing nothing, when it would not fit.
    void setSelText(const QString& text);
    qsizetype selStart() const;
    /// Empty selection at p; the view does not scroll.
    void setSelStart(qsizetype position);
    qsizetype selLength() const;
    /// Keeps the start, moves the end to start + n, scrolls the caret into view.
    void setSelLength(qsizetype length);
    void selectAllText();

    // Clipboard --------------------------------------------------------------
    void copyToClipboard();
    void cutToClipboard();
    /// Throws AppError, changing nothing, when the clipboard's text would not fit.
    void pasteFromClipboard();

    // Whole text -------------------------------------------------------------
    void clearText();
    /// The whole text with CRLF line breaks, read from the blocks themselves
    /// (never through toPlainText(), which alters no-break spaces).
    QString text() const;
    /// Replaces everything; caret at 0, nothing selected. One undo step.
    /// Throws AppError, changing nothing, when the text would not fit.
    void setText(const QString& text);
    /// Length of the text in document characters.
    qsizetype textLength() const;
    /// Lines as the document counts them: blocks joined without a break are
    /// one line.
    int lineCount() const;
    /// The text between two widget positions in the widget's form: '\n' at
    /// each line break, nothing where a long line's pieces join.
    QString editorText(int from, int to) const;
    QString line(int index) const;
    /// Selects line `index` (without its break) and replaces it as setSelText does.
    void setLine(int index, const QString& text);
    /// Puts the caret, nothing selected, `offset` characters into line
    /// `index` (at most at its end; past the last line, at the text's end)
    /// and scrolls it into view.
    void goToLine(int index, qsizetype offset);

    // Undo and redo ------------------------------------------------------------
    /// Every change of the text is a step of one history, typed or made by
    /// a command; the toolkit's own undo stays off (it keeps no bound, and a
    /// whole-text replacement would clear it).
    /// Takes back the last step done and puts back the selection it started
    /// from. Throws AppError, changing nothing, when the text would not fit.
    void undoStep();
    /// Does the last step undone again and puts back the selection it left.
    void redoStep();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    /// A conversion changed the encoding from `before`: the step its edit
    /// recorded since `recordings` (or a step of its own when the text did
    /// not change) takes the encoding back and forth with it.
    void noteEncodingChange(DocumentEncoding before, quint64 recordings);
    /// The text now stands as loaded or created: nothing before can be undone.
    void clearHistory();
    const EditHistory& history() const { return m_history; }
    /// Anchor and caret in document positions.
    TextSelection selection() const;
    void setSelection(TextSelection selection);

    // Files ------------------------------------------------------------------
    /// Loads the file with lone CR/LF made CRLF, in the encoding its bytes
    /// show (see textencoding::detect) or in `charset` when given, and
    /// returns the text's bytes as toBytes() would (the saved-text
    /// snapshot); the history starts empty. Throws AppError "Cannot open file %s", "Text exceeds memo
    /// capacity" or, for UTF-8 asked of bytes that are not, the message of
    /// notUtf8Message(); the buffer then keeps what it held.
    QByteArray loadFromFile(const QString& fileName, std::optional<Charset> charset = std::nullopt);
    static QString notUtf8Message(const QString& fileName)
    {
        return QStringLiteral("Файл %1 не в кодировке UTF-8.").arg(fileName);
    }
    /// The error text of a file too large for the buffer.
    static QString capacityMessage() { return QStringLiteral("Text exceeds memo capacity"); }
    /// The text's bytes, exactly as SaveToFile writes them.
    QByteArray toBytes() const;

    /// The encoding of the document's file: how text comes in and how
    /// toBytes() writes it. Set by loadFromFile; setting it changes no text.
    DocumentEncoding encoding() const { return m_encoding; }
    void setEncoding(DocumentEncoding encoding) { m_encoding = encoding; }
    /// Text from outside as this document admits it: in Windows-1251 the
    /// characters it lacks become `&#N;`; line breaks stay as they are.
    QString admitted(const QString& text) const;
    /// While a command's text goes in (its change notification runs), that
    /// text in the widget's form; empty otherwise. Spares the journal reading
    /// a whole new text back.
    const QString& incomingText() const { return m_incoming; }
    /// True while the whole text is being replaced: the widget then holds
    /// display blocks whose joins are not marked yet, so nothing may read
    /// the text until textReplaced() says it stands.
    bool replacingText() const { return m_replacing; }

    qsizetype capacity() const { return m_capacity; }
    void setCapacity(qsizetype capacity) { m_capacity = capacity; }

    /// Keys that belong to menu commands: the widget declines them so that the
    /// command runs instead of the widget's own key handling.
    void setClaimedShortcuts(const QList<QKeySequence>& keys) { m_claimed = keys; }

    // Coordinates ------------------------------------------------------------
    qsizetype toDocumentPosition(int widgetPosition) const;
    int toWidgetPosition(qsizetype documentPosition) const;

signals:
    /// Every change of the text, typed or made by a command.
    void changed();
    /// The whole text was replaced (a command's text, a load, clearing) and
    /// every join is marked; incomingText() still holds the new text.
    void textReplaced();
    /// A paste or drop the widget handled itself was refused; `message` is
    /// the error text for the error box.
    void refused(const QString& message);
    /// Whether there is something to undo or redo may have changed.
    void historyChanged();
    /// An undo or redo put back the encoding of a conversion.
    void encodingRestored();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    /// Runs the platform's drag of the selection and returns its action.
    virtual Qt::DropAction runDrag(QDrag* drag);

private:
    struct Capture;
    class CaptureScope;
    /// Edits the toolkit makes itself (keys, input method, clipboard, drops)
    /// become one step each: the text of a window around them is kept
    /// before, and the changed range is followed until the edit ends.
    /// `typing` steps are grouped as the toolkit groups its own.
    void beginCapture(bool typing, int from, int to);
    void beginCapture(bool typing);
    void endCapture();
    void noteChange(int position, int removed, int added);
    void recordStep(EditStep step);
    /// The text, in the widget's form, of `length` document characters at
    /// `position` (widget positions `from` to `to`) that an edit replaces.
    QString textToReplace(qsizetype position, qsizetype length, int from, int to) const;
    /// Replaces `removedLength` document characters at `position` by
    /// `inserted` without recording it, then selects `selection`.
    void applyStep(qsizetype position, qsizetype removedLength, const QString& inserted, qsizetype insertedLength,
                   TextSelection selection);
    /// `cut`: the text has a line longer than the bound, to be shown in pieces.
    void setWidgetText(const QString& editorText, bool cut);
    /// True when replacing the selection by `editorText` (widget form) keeps
    /// the text within the capacity.
    bool fitsInSelection(const QString& editorText) const;
    /// The same for replacing the whole text.
    bool fitsAsWholeText(const QString& editorText) const;
    /// The text between two widget positions, line breaks as `lineBreak`.
    QString rawText(int from, int to, QStringView lineBreak = u"\r\n") const;

    // Long lines in several blocks ------------------------------------------
    /// Key handling that skips the joins between pieces; false when the
    /// widget's own handling is right.
    bool handleKeyAtJoin(QKeyEvent* event);
    /// Runs typing that adds `added` characters at the caret and cuts the
    /// caret's block when it grew past twice the bound, in one undo step.
    template <typename Typing>
    void typeAndSplit(qsizetype added, Typing typing);
    /// Removes the cursor's selection and runs `insert` (which types at the
    /// cursor) as one undo step; the caret is left at the cursor, in view.
    template <typename Insert>
    void replaceSelectionAsOneStep(QTextCursor& cursor, Insert insert);
    /// The same with nothing inserted.
    void removeSelectionAsOneStep(QTextCursor& cursor);
    /// Drags the selection out of the press that started on it. The
    /// widget's own drag would remove a moved selection with the toolkit's
    /// block merge, which gives a selection that starts a block the status
    /// of the block it ends in: a line break would become a join or a join
    /// a line break.
    void dragSelection();

    /// The widget's blocks as document lines, long lines kept in pieces.
    DisplayBlocks m_blocks;

    /// Where a press on the selection was, while it may still become a drag.
    std::optional<QPoint> m_dragPress;
    /// The selection being dragged, while its drag runs; cleared once a drop
    /// in this text has moved it.
    QTextCursor m_dragged;

    /// Text from outside in the widget's form: admitted, '\n' line breaks.
    QString incoming(const QString& text) const;
    /// A widget position moved off the middle of a surrogate pair, back or
    /// forward, so that no character is ever split.
    int wholeCharacter(int widgetPosition, bool forward) const;

    qsizetype m_capacity = kCapacity;
    DocumentEncoding m_encoding;
    QString m_incoming;
    bool m_replacing = false;
    EditHistory m_history;
    std::unique_ptr<Capture> m_capture;
    int m_captureDepth = 0;
    /// Set while an edit records its own step or a step is applied.
    bool m_quiet = false;
    QList<QKeySequence> m_claimed;
};
