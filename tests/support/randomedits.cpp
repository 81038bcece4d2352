#include "support/randomedits.h"

#include "core/document/appcontext.h"
#include "core/document/documentcommands.h"
#include "core/document/documentjournal.h"
#include "core/document/savedtextsnapshot.h"
#include "core/encoding/cp1251.h"
#include "core/journal/journalformat.h"
#include "core/text/displayblocks.h"
#include "core/text/editorbuffer.h"
#include "support/dragstart.h"
#include "support/scriptedprompts.h"
#include "tools/textcommands.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QVBoxLayout>

#include <optional>
#include <tuple>

namespace randomedits {

int Choices::below(int n)
{
    if (n <= 1 || exhausted())
        return 0;
    unsigned value = m_data[m_at++];
    if (n > 256 && !exhausted())
        value = value << 8 | m_data[m_at++];
    return int(value % unsigned(n));
}

void Model::replaceSelection(const QString& with)
{
    const qsizetype start = selStart();
    text.replace(start, selEnd() - start, with);
    place(start + with.size());
}

int Model::lineCount() const
{
    if (text.isEmpty())
        return 0;
    const int breaks = int(text.count(QStringLiteral("\r\n")));
    return breaks + 1 - (text.endsWith(QStringLiteral("\r\n")) ? 1 : 0);
}

qsizetype Model::valid(qsizetype position) const
{
    position = qBound<qsizetype>(0, position, text.size());
    if (position > 0 && position < text.size() && text.at(position - 1) == u'\r' && text.at(position) == u'\n')
        --position;
    // Nor inside a character outside the BMP.
    if (position > 0 && position < text.size() && text.at(position - 1).isHighSurrogate() && text.at(position).isLowSurrogate())
        --position;
    return position;
}

qsizetype Model::step(qsizetype position, int direction) const
{
    if (direction < 0) {
        if (position == 0)
            return 0;
        const bool pair = position >= 2 && text.at(position - 2).isHighSurrogate() && text.at(position - 1).isLowSurrogate();
        return pair || (position >= 2 && text.mid(position - 2, 2) == QStringLiteral("\r\n")) ? position - 2 : position - 1;
    }
    if (position >= text.size())
        return position;
    const bool pair = position + 1 < text.size() && text.at(position).isHighSurrogate() && text.at(position + 1).isLowSurrogate();
    return pair || text.mid(position, 2) == QStringLiteral("\r\n") ? position + 2 : position + 1;
}

namespace {

// Any text from outside as the document holds it: every line break CRLF.
QString crlf(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            out.append(QStringLiteral("\r\n"));
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            out.append(c);
        }
    }
    return out;
}

// Each run of spaces within a line becomes one space.
QString collapseSpaces(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u' ' && i > 0 && text.at(i - 1) == u' ')
            continue;
        out.append(text.at(i));
    }
    return out;
}

const QString kAlphabet = QStringLiteral("ab <>1") + QChar(0x0416); // Ж

// Characters outside the BMP, and others Windows-1251 lacks: one key each.
const QStringList kWideCharacters = { QString::fromUtf8("😀"), QString::fromUtf8("𐍈"), QString::fromUtf8("é"),
                                      QString::fromUtf8("中") };

// The editing area with the platform's drag replaced by `onDrag`.
class DrivenMemo : public EditorBuffer {
public:
    using EditorBuffer::EditorBuffer;
    std::function<Qt::DropAction(QDrag*)> onDrag;

protected:
    Qt::DropAction runDrag(QDrag* drag) override { return onDrag ? onDrag(drag) : Qt::IgnoreAction; }
};

} // namespace

class Session {
public:
    Session(Choices& choices)
        : choices(choices)
        // In memory where there is such a folder: the journal syncs at every check.
        , state((QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath()) + QStringLiteral("/quillet-edits-XXXXXX"))
    {
        auto* layout = new QVBoxLayout(&window);
        memo = new DrivenMemo(&window);
        layout->addWidget(memo);
        window.resize(420, 300);
        window.show();
        ctx.memo1 = memo;
        ctx.memo2 = &snapshot;
        ctx.platform.prompts = &prompts;
        ctx.doc.fileName = DocumentState::untitledFileName();
        // What the main window's change notification does.
        QObject::connect(memo, &EditorBuffer::changed, memo, [this] { ctx.doc.modified = true; });
        journal = std::make_unique<DocumentJournal>(ctx, DocumentJournal::folderIn(state.path()));
        commands = std::make_unique<TextCommands>(ctx);
    }

    // The choices ----------------------------------------------------------
    QChar character() { return kAlphabet.at(choices.below(int(kAlphabet.size()))); }
    QString shortText(int most)
    {
        QString out;
        for (int n = choices.below(most + 1); n > 0; --n)
            out.append(choices.chance(15) ? QStringLiteral("\r\n") : QString(character()));
        return out;
    }
    // A line of about the display bound, shorter or up to past twice it,
    // with runs of spaces for space removal to find.
    QString longLine()
    {
        static const int lengths[] = { 1500, 3000, 4000, 4097, 5000, 6000, 8192, 8193, 9500 };
        const int length = lengths[choices.below(int(std::size(lengths)))];
        QString out;
        out.reserve(length);
        const QString pattern = choices.chance(50) ? QStringLiteral("ab  c ") : QStringLiteral("<P>word");
        while (out.size() < length)
            out.append(pattern);
        out.truncate(length);
        return out;
    }
    QString someText(bool allowLong)
    {
        QString out;
        for (int lines = choices.below(4); lines >= 0; --lines) {
            out.append(allowLong && choices.chance(40) ? longLine() : shortText(12));
            if (lines > 0)
                out.append(QStringLiteral("\r\n"));
        }
        return out;
    }
    qsizetype position()
    {
        const qsizetype size = model.text.size();
        // Often near a place where a long line is cut, where the pieces join.
        if (size > 1024 && choices.chance(40)) {
            const qsizetype piece = 1 + choices.below(int(qMin<qsizetype>(size / 1024, 16)));
            return model.valid(piece * 1024 + choices.below(5) - 2);
        }
        return model.valid(size < 2 ? choices.below(int(size) + 1) : qsizetype(choices.below(int(size) + 1)));
    }

    // The editor -------------------------------------------------------------
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(memo, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(memo, &release);
    }
    void select(qsizetype anchor, qsizetype caret)
    {
        QTextCursor cursor(memo->document());
        cursor.setPosition(memo->toWidgetPosition(anchor));
        cursor.setPosition(memo->toWidgetPosition(caret), QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
        model.anchor = anchor;
        model.caret = caret;
    }
    // The selection as the editor reports it, in document positions.
    std::pair<qsizetype, qsizetype> editorSelection() const
    {
        const QTextCursor cursor = memo->textCursor();
        return { memo->toDocumentPosition(cursor.anchor()), memo->toDocumentPosition(cursor.position()) };
    }
    void takeEditorSelection()
    {
        std::tie(model.anchor, model.caret) = editorSelection();
    }
    // A document opened or created: no undo reaches past it.
    // Undo and redo of a conversion bring its encoding back too; the model
    // keeps texts only, so it follows the editor's encoding there.
    void followEncoding()
    {
        utf8 = memo->encoding().isUtf8();
        mark = memo->encoding().byteOrderMark;
    }
    void barrier()
    {
        history = { model.text };
        undone.clear();
    }
    void documentReset()
    {
        journal->documentReset();
        resetText = model.text;
    }

    // Checks -------------------------------------------------------------------
    QString compare() const
    {
        const QString text = memo->text();
        if (text != model.text) {
            qsizetype at = 0;
            while (at < qMin(text.size(), model.text.size()) && text.at(at) == model.text.at(at))
                ++at;
            return QStringLiteral("text differs at %1 (editor %2 characters, model %3): editor \"%4\", model \"%5\"")
                .arg(at)
                .arg(text.size())
                .arg(model.text.size())
                .arg(text.mid(qMax<qsizetype>(0, at - 10), 30).toHtmlEscaped(), model.text.mid(qMax<qsizetype>(0, at - 10), 30).toHtmlEscaped());
        }
        if (memo->textLength() != model.text.size())
            return QStringLiteral("length %1, model %2").arg(memo->textLength()).arg(model.text.size());
        if (memo->lineCount() != model.lineCount())
            return QStringLiteral("%1 lines, model %2").arg(memo->lineCount()).arg(model.lineCount());
        const auto [anchor, caret] = editorSelection();
        if (anchor != model.anchor || caret != model.caret)
            return QStringLiteral("selection %1-%2, model %3-%4").arg(anchor).arg(caret).arg(model.anchor).arg(model.caret);
        return {};
    }
    QString compareJournal()
    {
        journal->waitIdle();
        const QByteArray bytes = memo->toBytes();
        const QByteArray expected = utf8 ? (mark ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + model.text.toUtf8()
                                         : cp1251::encode(model.text);
        if (bytes != expected)
            return QStringLiteral("the editor's bytes differ from the model's");
        const journalformat::Content content = journalformat::read(readJournal());
        if (!content.hasText)
            return model.text == resetText ? QString() : QStringLiteral("the journal holds no text, the editor an edited one");
        if (content.encoding.isUtf8() != utf8)
            return QStringLiteral("the journal's encoding is not the document's");
        const QString journaled = journalformat::decodedText(content);
        if (journaled == model.text)
            return {};
        qsizetype at = 0;
        while (at < qMin(journaled.size(), model.text.size()) && journaled.at(at) == model.text.at(at))
            ++at;
        return QStringLiteral("journal replays to %1 characters, the editor holds %2; first difference at %3: journal \"%4\", editor \"%5\"")
            .arg(journaled.size())
            .arg(model.text.size())
            .arg(at)
            .arg(journaled.mid(qMax<qsizetype>(0, at - 10), 30).toHtmlEscaped(),
                 model.text.mid(qMax<qsizetype>(0, at - 10), 30).toHtmlEscaped());
    }
    // Text from outside as the document takes it: in Windows-1251 each
    // character the code page lacks becomes "&#N;" (N its code point).
    QString admit(const QString& text) const
    {
        if (utf8)
            return text;
        QString out;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (cp1251::isEncodable(c)) {
                out.append(c);
            } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                out.append(QStringLiteral("&#%1;").arg(uint(QChar::surrogateToUcs4(c, text.at(i + 1)))));
                ++i;
            } else {
                out.append(QStringLiteral("&#%1;").arg(uint(c.unicode())));
            }
        }
        return out;
    }
    QByteArray readJournal() const
    {
        QFile file(journal->path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    Choices& choices;
    QTemporaryDir state;
    QWidget window;
    DrivenMemo* memo = nullptr;
    SavedTextSnapshot snapshot;
    ScriptedPrompts prompts;
    AppContext ctx;
    std::unique_ptr<DocumentJournal> journal;
    std::unique_ptr<TextCommands> commands;
    Model model;
    bool utf8 = false; // the document's encoding, as the model keeps it
    bool mark = false; // a UTF-8 document's file starts with the byte-order mark
    QString resetText;
    std::vector<QString> history; // the texts undo may return to, oldest first
    std::vector<QString> undone;  // the texts redo may return to, the next last
    QStringList log;
};

namespace {

void typeCharacter(Session& s)
{
    const QChar c = s.character();
    if (c.unicode() < 0x80)
        s.key(Qt::Key(c.toUpper().unicode()), {}, QString(c));
    else
        s.key(Qt::Key_unknown, {}, QString(c));
    s.model.replaceSelection(QString(c));
    s.log.append(QStringLiteral("type '%1'").arg(c));
}

// A selection that holds no character (only a join) acts as the caret.
void backspaceOrDelete(Session& s, bool backspace)
{
    Model& m = s.model;
    s.key(backspace ? Qt::Key_Backspace : Qt::Key_Delete);
    if (m.selStart() != m.selEnd()) {
        m.replaceSelection({});
    } else {
        const qsizetype other = m.step(m.caret, backspace ? -1 : 1);
        const qsizetype from = qMin(other, m.caret);
        m.text.remove(from, qAbs(other - m.caret));
        m.place(from);
    }
    s.log.append(backspace ? QStringLiteral("Backspace") : QStringLiteral("Delete"));
}

void selectRange(Session& s)
{
    const qsizetype anchor = s.position();
    const qsizetype caret = s.choices.chance(50) ? s.position() : s.model.valid(anchor + s.choices.below(2100) - 50);
    s.select(anchor, caret);
    // The same place seen from the end of the piece before a join, as a
    // mouse can leave it: a selection of nothing but a join.
    QTextCursor cursor = s.memo->textCursor();
    const bool atJoin = cursor.positionInBlock() == 0 && cursor.blockNumber() > 0
        && displayblocks::continuesLine(cursor.block());
    if (atJoin && s.choices.chance(50)) {
        cursor.setPosition(cursor.position() - 1, QTextCursor::KeepAnchor);
        s.memo->setTextCursor(cursor);
        s.log.append(QStringLiteral("select %1-%2, the caret before the join").arg(anchor).arg(caret));
        return;
    }
    s.log.append(QStringLiteral("select %1-%2").arg(anchor).arg(caret));
}

void arrow(Session& s)
{
    const bool shift = s.choices.chance(60);
    const bool left = s.choices.chance(50);
    Model& m = s.model;
    // Without Shift an arrow on a selection collapses it in a way of the
    // widget's own: it is only pressed on a caret.
    if (!shift && s.memo->textCursor().hasSelection())
        return;
    s.key(left ? Qt::Key_Left : Qt::Key_Right, shift ? Qt::ShiftModifier : Qt::NoModifier);
    m.caret = m.step(m.caret, left ? -1 : 1);
    if (!shift)
        m.anchor = m.caret;
    s.log.append(QStringLiteral("%1%2").arg(shift ? QStringLiteral("Shift+") : QString(), left ? QStringLiteral("Left") : QStringLiteral("Right")));
}

void cut(Session& s)
{
    Model& m = s.model;
    const QString selected = m.text.mid(m.selStart(), m.selEnd() - m.selStart());
    if (s.choices.chance(50))
        s.key(Qt::Key_X, Qt::ControlModifier);
    else
        s.memo->cutToClipboard();
    s.log.append(QStringLiteral("cut %1-%2").arg(m.selStart()).arg(m.selEnd()));
    m.replaceSelection({});
    if (!selected.isEmpty() && crlf(QGuiApplication::clipboard()->text()) != selected)
        s.log.append(QStringLiteral("MISMATCH: the clipboard does not hold the cut text"));
}

void paste(Session& s)
{
    if (s.choices.chance(60)) {
        const QString text = s.choices.chance(30) ? s.longLine() : s.shortText(8);
        // Lone CR and LF from another program.
        QString fromOutside = text;
        if (s.choices.chance(30))
            fromOutside.replace(QStringLiteral("\r\n"), s.choices.chance(50) ? QStringLiteral("\n") : QStringLiteral("\r"));
        QGuiApplication::clipboard()->setText(fromOutside);
    }
    const QString text = crlf(QGuiApplication::clipboard()->text());
    if (s.choices.chance(50))
        s.key(Qt::Key_V, Qt::ControlModifier);
    else
        s.memo->pasteFromClipboard();
    // An empty clipboard pastes nothing and leaves the selection.
    if (!text.isEmpty())
        s.model.replaceSelection(s.admit(text));
    s.log.append(QStringLiteral("paste %1 characters at %2").arg(text.size()).arg(s.model.selStart()));
}

void enter(Session& s)
{
    s.log.append(QStringLiteral("Enter at %1").arg(s.model.selStart()));
    s.key(Qt::Key_Return, {}, QStringLiteral("\r"));
    s.model.replaceSelection(QStringLiteral("\r\n"));
}

// Pressed on the caret's end of the selection and dropped at a place made
// visible for it: moved within the text, copied, or moved out to another program.
void drag(Session& s)
{
    Model& m = s.model;
    if (m.selStart() == m.selEnd())
        return;
    EditorBuffer* memo = s.memo;
    memo->ensureCursorVisible();
    // The press lands on the selected character beside the caret.
    const QTextCursor caret = memo->textCursor();
    const bool forward = caret.position() > caret.anchor();
    if (forward ? caret.positionInBlock() == 0 : caret.atBlockEnd())
        return;
    QTextCursor beside = caret;
    beside.setPosition(caret.position() + (forward ? -1 : 1));
    const QPoint from = (memo->cursorRect(caret).center() + memo->cursorRect(beside).center()) / 2;
    if (!memo->viewport()->rect().contains(from))
        return;
    enum { Move, Copy, Out } const kind = s.choices.chance(70) ? Move : s.choices.chance(50) ? Copy : Out;
    const qsizetype wanted = s.position();
    std::optional<qsizetype> droppedAt;
    bool dragged = false;
    s.memo->onDrag = [&](QDrag* drag) {
        dragged = true;
        if (kind == Out)
            return Qt::MoveAction;
        // The view scrolls to the place as it would under the pointer; the selection stays.
        const QTextCursor selection = memo->textCursor();
        QTextCursor target(memo->document());
        target.setPosition(memo->toWidgetPosition(wanted));
        memo->setTextCursor(target);
        memo->ensureCursorVisible();
        const int horizontal = memo->horizontalScrollBar()->value();
        const int vertical = memo->verticalScrollBar()->value();
        memo->setTextCursor(selection);
        memo->horizontalScrollBar()->setValue(horizontal);
        memo->verticalScrollBar()->setValue(vertical);
        const QPoint at = memo->cursorRect(target).center();
        droppedAt = memo->toDocumentPosition(memo->cursorForPosition(at).position());
        const Qt::KeyboardModifiers keys = kind == Copy ? Qt::ControlModifier : Qt::NoModifier;
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enterEvent(at, actions, drag->mimeData(), Qt::LeftButton, keys);
        QApplication::sendEvent(memo->viewport(), &enterEvent);
        QDropEvent drop(at, actions, drag->mimeData(), Qt::LeftButton, keys);
        drop.setDropAction(kind == Copy ? Qt::CopyAction : Qt::MoveAction);
        QApplication::sendEvent(memo->viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    };
    const QPoint to = from + QPoint(0, QApplication::startDragDistance() + 5);
    pressAndMove(memo->viewport(), from, to);
    // The platform's drag takes the release: none reaches the text.
    s.memo->onDrag = nullptr;

    const qsizetype start = m.selStart();
    const qsizetype end = m.selEnd();
    const QString moved = m.text.mid(start, end - start);
    if (!dragged) {
        s.log.append(QStringLiteral("MISMATCH: a press on the selection started no drag"));
        return;
    }
    if (kind == Out) {
        m.replaceSelection({});
        s.log.append(QStringLiteral("drag %1-%2 out").arg(start).arg(end));
        return;
    }
    if (!droppedAt) {
        s.log.append(QStringLiteral("MISMATCH: a press on the selection started no drag"));
        return;
    }
    const qsizetype at = *droppedAt;
    if (kind == Copy) {
        m.text.insert(at, moved);
        m.place(at + moved.size());
    } else if (at >= start && at <= end) {
        m.place(end); // dropped on itself: the text stays
    } else {
        m.text.remove(start, end - start);
        const qsizetype to = at > end ? at - moved.size() : at;
        m.text.insert(to, moved);
        m.place(to + moved.size());
    }
    s.log.append(QStringLiteral("drag %1-%2 %3 to %4").arg(start).arg(end).arg(kind == Copy ? QStringLiteral("copied") : QStringLiteral("moved")).arg(at));
}

// A commit of an input method, now and then after a composition, replacing
// characters before the caret within its block.
void commit(Session& s)
{
    Model& m = s.model;
    QString text = s.shortText(3);
    if (text.isEmpty())
        text = QString(s.character());
    int replaced = 0;
    if (m.anchor == m.caret && s.choices.chance(30))
        replaced = qMin(s.choices.below(3), s.memo->textCursor().positionInBlock());
    if (s.choices.chance(40)) {
        QInputMethodEvent preedit(QStringLiteral("pre"), {});
        QApplication::sendEvent(s.memo, &preedit);
        // A composition starting on a selection removes it at once: that
        // text stands, and is a step of its own before the commit.
        if (m.selStart() != m.selEnd()) {
            m.replaceSelection({});
            s.history.push_back(m.text);
            s.undone.clear();
        }
    }
    QInputMethodEvent event;
    event.setCommitString(text, -replaced, replaced);
    QApplication::sendEvent(s.memo, &event);
    if (replaced > 0)
        m.anchor = m.caret - replaced;
    m.replaceSelection(text);
    s.log.append(QStringLiteral("commit %1 characters over %2").arg(text.size()).arg(replaced));
}

void undo(Session& s)
{
    s.key(Qt::Key_Z, Qt::ControlModifier);
    s.followEncoding();
    const QString text = s.memo->text();
    std::vector<QString>& history = s.history;
    s.log.append(QStringLiteral("undo"));
    // The widget's history may hold steps that change nothing (an undo
    // after an undone paste and new typing does): a step may stay put.
    if (text == history.back()) {
        s.takeEditorSelection();
        return;
    }
    for (size_t i = history.size() - 1; i-- > 0;) {
        if (history[i] == text) {
            for (size_t j = history.size() - 1; j > i; --j)
                s.undone.push_back(history[j]);
            history.resize(i + 1);
            s.model.text = text;
            s.takeEditorSelection();
            return;
        }
    }
    s.log.append(QStringLiteral("MISMATCH: undo gave a text that never stood"));
}

void redo(Session& s)
{
    if (s.choices.chance(50))
        s.key(Qt::Key_Y, Qt::ControlModifier);
    else
        s.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    s.followEncoding();
    const QString text = s.memo->text();
    s.log.append(QStringLiteral("redo"));
    if (text == s.history.back()) {
        s.takeEditorSelection();
        return;
    }
    // Typing grouped into one step redoes several of the model's at once.
    for (size_t i = s.undone.size(); i-- > 0;) {
        if (s.undone[i] == text) {
            for (size_t j = s.undone.size(); j-- > i;)
                s.history.push_back(s.undone[j]);
            s.undone.resize(i);
            s.model.text = text;
            s.takeEditorSelection();
            return;
        }
    }
    s.log.append(QStringLiteral("MISMATCH: redo gave a text that was never undone"));
}

void removeSpaces(Session& s)
{
    Model& m = s.model;
    const QStringList lines = m.text.split(QStringLiteral("\r\n"));
    QStringList collapsed;
    bool anyLine = false;
    for (const QString& line : lines) {
        anyLine = anyLine || !line.isEmpty();
        collapsed.append(collapseSpaces(line));
    }
    s.commands->removeSpaces();
    if (anyLine)
        m.text = collapsed.join(QStringLiteral("\r\n"));
    m.place(m.text.size());
    s.log.append(QStringLiteral("space removal"));
}

void clearAll(Session& s)
{
    s.commands->clearAll();
    s.model.text.clear();
    s.model.place(0);
    s.log.append(QStringLiteral("clear all"));
}

// A command that puts a whole new text in (a re-read, Replace All, a recovery).
void wholeText(Session& s)
{
    const QString text = s.someText(true);
    s.memo->setText(text);
    s.model.text = text;
    s.model.place(0);
    s.log.append(QStringLiteral("whole text of %1 characters").arg(text.size()));
}

// New: the text cleared, the skeleton put in, the journal started afresh.
void newDocument(Session& s)
{
    const QString skeleton = QStringLiteral("<HTML>\r\n<BODY>\r\n\r\n</BODY>\r\n</HTML>");
    s.memo->clearText();
    s.memo->setEncoding({});
    s.utf8 = s.mark = false;
    s.memo->setText(skeleton);
    s.memo->clearHistory();
    s.ctx.doc.modified = true;
    s.model.text = skeleton;
    s.model.place(0);
    s.barrier();
    s.documentReset();
    s.log.append(QStringLiteral("new document"));
}

// Open of a file: loaded, the snapshot taken, the journal started afresh.
void load(Session& s)
{
    QString text = s.someText(true);
    if (s.choices.chance(30))
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString path = s.state.filePath(QStringLiteral("page.htm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(cp1251::encode(text));
    file.close();
    s.snapshot.setBytes(s.memo->loadFromFile(path));
    s.utf8 = s.mark = false; // Windows-1251 bytes, or ASCII declaring nothing
    s.ctx.doc.modified = false;
    s.model.text = crlf(text);
    s.model.place(0);
    s.barrier();
    s.documentReset();
    s.log.append(QStringLiteral("open a file of %1 characters").arg(text.size()));
}

// A markup command: the selection wrapped, or a fragment put in its place.
void command(Session& s)
{
    Model& m = s.model;
    QString text;
    if (s.choices.chance(30)) {
        s.memo->selectAllText();
        m.anchor = 0;
        m.caret = m.text.size();
    }
    if (s.choices.chance(60))
        text = QStringLiteral("<B>") + m.text.mid(m.selStart(), m.selEnd() - m.selStart()) + QStringLiteral("</B>");
    else
        text = s.choices.chance(20) ? s.longLine() : s.shortText(6);
    s.memo->setSelText(text);
    m.replaceSelection(text);
    s.log.append(QStringLiteral("command puts in %1 characters").arg(text.size()));
}

// A character outside the BMP or Windows-1251 typed as one key.
void typeWide(Session& s)
{
    const QString c = kWideCharacters.at(s.choices.below(int(kWideCharacters.size())));
    s.key(Qt::Key_unknown, {}, c);
    s.model.replaceSelection(s.admit(c));
    s.log.append(QStringLiteral("type '%1'").arg(c));
}

// A paste of text with such characters.
void pasteWide(Session& s)
{
    const QString text = s.shortText(4) + kWideCharacters.at(s.choices.below(int(kWideCharacters.size())))
        + s.shortText(4);
    QGuiApplication::clipboard()->setText(text);
    if (s.choices.chance(50))
        s.key(Qt::Key_V, Qt::ControlModifier);
    else
        s.memo->pasteFromClipboard();
    s.model.replaceSelection(s.admit(crlf(text)));
    s.log.append(QStringLiteral("paste %1 characters with one outside Windows-1251").arg(text.size()));
}

// Open of a UTF-8 page, with or without the mark: loaded as UTF-8.
void loadUtf8(Session& s)
{
    QString text = s.someText(true);
    for (int n = 1 + s.choices.below(3); n > 0; --n) {
        qsizetype at = s.choices.below(int(text.size()) + 1);
        // Never between the halves of one inserted before.
        if (at > 0 && at < text.size() && text.at(at).isLowSurrogate())
            --at;
        text.insert(at, kWideCharacters.at(s.choices.below(int(kWideCharacters.size()))));
    }
    if (s.choices.chance(30))
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool mark = s.choices.chance(30);
    const QString path = s.state.filePath(QStringLiteral("page-utf8.htm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write((mark ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8());
    file.close();
    s.snapshot.setBytes(s.memo->loadFromFile(path), s.memo->encoding(), s.memo->textLength());
    s.ctx.doc.modified = false;
    s.utf8 = true;
    s.mark = mark;
    s.model.text = crlf(text);
    s.model.place(0);
    s.barrier();
    s.documentReset();
    s.log.append(QStringLiteral("open a UTF-8 file of %1 characters%2").arg(text.size()).arg(mark ? QStringLiteral(", marked") : QString()));
    if (!s.memo->encoding().isUtf8() || s.memo->encoding().byteOrderMark != mark)
        s.log.append(QStringLiteral("MISMATCH: the UTF-8 file did not open as UTF-8"));
}

// "Кодировка": the document converted to the other encoding.
void convert(Session& s)
{
    Model& m = s.model;
    const qsizetype start = m.selStart();
    s.ctx.journal = s.journal.get();
    DocumentCommands(s.ctx).convertTo(s.utf8 ? Charset::Windows1251 : Charset::Utf8);
    s.log.append(s.utf8 ? QStringLiteral("converted to Windows-1251") : QStringLiteral("converted to UTF-8"));
    s.utf8 = !s.utf8;
    s.mark = false;
    // The characters stay; in Windows-1251 those it lacks become references.
    const QString converted = s.admit(m.text);
    if (converted != m.text) {
        m.text = converted;
        m.place(m.valid(qMin(start, m.text.size())));
    }
}

void toggleWrap(Session& s)
{
    const bool wrap = s.memo->lineWrapMode() == QPlainTextEdit::NoWrap;
    s.memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    s.memo->setWordWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    s.log.append(wrap ? QStringLiteral("word wrap on") : QStringLiteral("word wrap off"));
}

void checkJournal(Session& s)
{
    s.log.append(QStringLiteral("journal checked"));
    const QString mismatch = s.compareJournal();
    if (!mismatch.isEmpty())
        s.log.append(QStringLiteral("MISMATCH: ") + mismatch);
}

} // namespace

const std::vector<Operation>& operations()
{
    // Typing and the keys come more often than the commands.
    static const std::vector<Operation> table = {
        { "type", true, typeCharacter },
        { "type", true, typeCharacter },
        { "type", true, typeCharacter },
        { "Enter", true, enter },
        { "Backspace", true, [](Session& s) { backspaceOrDelete(s, true); } },
        { "Delete", true, [](Session& s) { backspaceOrDelete(s, false); } },
        { "select", true, selectRange },
        { "select", true, selectRange },
        { "arrow", true, arrow },
        { "cut", true, cut },
        { "paste", true, paste },
        { "drag", true, drag },
        { "input method", true, commit },
        { "undo", true, undo },
        { "undo", true, undo },
        { "redo", true, redo },
        { "space removal", true, removeSpaces },
        { "clear all", true, clearAll },
        { "whole text", true, wholeText },
        { "new", false, newDocument },
        { "open", false, load },
        { "command", true, command },
        { "word wrap", true, toggleWrap },
        { "journal", true, checkJournal },
        { "type outside Windows-1251", true, typeWide },
        { "paste outside Windows-1251", true, pasteWide },
        { "open UTF-8", false, loadUtf8 },
        { "conversion", true, convert },
    };
    return table;
}

QString run(const uint8_t* data, size_t size, int maxSteps)
{
    Choices choices(data, size);
    Session s(choices);
    const bool wrap = choices.chance(50);
    if (wrap)
        toggleWrap(s);
    const QString initial = s.someText(choices.chance(70));
    s.memo->setText(initial);
    s.memo->clearHistory();
    s.snapshot.setBytes(cp1251::encode(initial));
    s.model.text = initial;
    s.barrier();
    s.documentReset();
    s.ctx.doc.modified = false;
    s.log.append(QStringLiteral("start with %1 characters").arg(initial.size()));

    const auto failure = [&](const QString& what) {
        const QStringList steps = s.log.mid(qMax<qsizetype>(0, s.log.size() - 25));
        return what + QStringLiteral("\nlast steps:\n  ") + steps.join(QStringLiteral("\n  "));
    };
    const std::vector<Operation>& table = operations();
    for (int step = 0; step < maxSteps && !choices.exhausted(); ++step) {
        const Operation& operation = table[size_t(choices.below(int(table.size())))];
        const QString before = s.model.text;
        operation.apply(s);
        if (!s.log.isEmpty() && s.log.last().startsWith(QStringLiteral("MISMATCH")))
            return failure(s.log.last());
        if (operation.undoable && s.model.text != before && s.model.text != s.history.back()) {
            s.history.push_back(s.model.text);
            s.undone.clear();
        }
        const QString mismatch = s.compare();
        if (!mismatch.isEmpty())
            return failure(QStringLiteral("after %1: %2").arg(QString::fromLatin1(operation.name), mismatch));
    }
    const QString mismatch = s.compareJournal();
    return mismatch.isEmpty() ? QString() : failure(QStringLiteral("at the end: ") + mismatch);
}

} // namespace randomedits
