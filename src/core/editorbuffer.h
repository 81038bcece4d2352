#pragma once

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>

/// The editing area `Memo1`: the real text widget, seen through the
/// document's coordinates. Positions count characters from 0 and every line
/// break counts as two (CRLF); the widget itself keeps one block per line.
/// Only characters of the Windows-1251 code page ever enter it: others are
/// turned into HTML numeric character references on the way in.
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

    // Selection ------------------------------------------------------------
    QString getSelText() const;
    /// Replaces the selection (or inserts at the caret); caret after the text,
    /// nothing selected, scrolled into view. Not undoable. Throws AppError
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
    /// Replaces everything; caret at 0, nothing selected. Not undoable.
    /// Throws AppError, changing nothing, when the text would not fit.
    void setText(const QString& text);
    /// Length of the text in document characters.
    qsizetype textLength() const;

    // Files ------------------------------------------------------------------
    /// Loads the file byte for byte with lone CR/LF made CRLF. Throws AppError
    /// "Cannot open file %s" or "Text exceeds memo capacity"; the buffer then
    /// keeps what it held.
    void loadFromFile(const QString& fileName);
    /// The error text of a file too large for the buffer.
    static QString capacityMessage() { return QStringLiteral("Text exceeds memo capacity"); }
    /// The text's bytes, exactly as SaveToFile writes them.
    QByteArray toBytes() const;
    /// While a command's text goes in (its change notification runs), that
    /// text in the widget's form; empty otherwise. Spares the journal reading
    /// a whole new text back.
    const QString& incomingText() const { return m_incoming; }

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
    /// A paste or drop the widget handled itself was refused; `message` is
    /// the error text for the error box.
    void refused(const QString& message);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    /// Runs an edit that must not enter the undo history, and clears that
    /// history so earlier typing steps can never be undone at wrong places.
    template <typename Edit>
    void withoutUndo(Edit edit);
    void setWidgetText(const QString& editorText);
    /// True when replacing the selection by `editorText` (widget form) keeps
    /// the text within the capacity.
    bool fitsInSelection(const QString& editorText) const;
    /// The same for replacing the whole text.
    bool fitsAsWholeText(const QString& editorText) const;
    /// The text between two widget positions, line breaks as CRLF.
    QString rawText(int from, int to) const;

    qsizetype m_capacity = kCapacity;
    QString m_incoming;
    QList<QKeySequence> m_claimed;
};
