#include "ui/taghighlighter.h"

#include "core/text/editorbuffer.h"
#include "ui/tagcolours.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <limits>

namespace {

constexpr htmllexer::State kUnknown = 0xFF;
constexpr htmllexer::State kUncoloured = 0xFF;
/// Colours that no longer fit the line's text (it changed under them).
constexpr htmllexer::State kStale = 0xFE;

/// Time the lexer may take in one go: on screen before a paint, and per
/// background slice, so a keystroke never waits longer behind it.
constexpr qint64 kForegroundBudgetNs = 3'000'000;
constexpr qint64 kSliceBudgetNs = 4'000'000;

} // namespace

TagHighlighter::TagHighlighter(QPlainTextEdit* editor)
    : QObject(editor)
    , m_editor(editor)
    , m_doc(editor->document())
    , m_states(size_t(m_doc->blockCount()), kUnknown)
    , m_colouredFrom(size_t(m_doc->blockCount()), kUncoloured)
{
    m_background.setSingleShot(true);
    m_background.setInterval(0);
    connect(&m_background, &QTimer::timeout, this, &TagHighlighter::backgroundSlice);
    connect(m_doc, &QTextDocument::contentsChange, this, &TagHighlighter::contentsChanged);
    connect(m_editor->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { colourVisible(); });
    connect(m_editor->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { colourVisible(); });
    // A page key scrolls without the scroll bar's signal; this one comes as
    // the view moves, before the new lines are laid out and painted.
    connect(m_editor, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
        if (dy != 0)
            colourVisible();
    });
    m_editor->viewport()->installEventFilter(this);
    makeFormats();
}

void TagHighlighter::makeFormats()
{
    const QColor background = m_editor->palette().color(QPalette::Base);
    for (int kind = 0; kind < htmllexer::kKindCount; ++kind)
        m_formats[kind].setForeground(tagcolours::colourFor(htmllexer::Kind(kind), background));
}

void TagHighlighter::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled) {
        makeFormats();
        colourVisible();
        if (!isSettled())
            m_background.start();
    } else {
        m_background.stop();
        clearColours();
    }
}

bool TagHighlighter::eventFilter(QObject* watched, QEvent* event)
{
    // Whatever else brought new lines on screen (a larger window, a smaller
    // font, word wrap) is coloured before it is painted: painting it plain
    // first would lay out and draw those lines twice.
    if (m_enabled && event->type() == QEvent::Paint && visibleNeedColour())
        colourVisible();
    else if (m_enabled && event->type() == QEvent::Resize && visibleNeedColour())
        QTimer::singleShot(0, this, [this] { colourVisible(); });
    return QObject::eventFilter(watched, event);
}

void TagHighlighter::contentsChanged(int position, int /*removed*/, int added)
{
    const int count = m_doc->blockCount();
    const int delta = count - int(m_states.size());
    const QTextBlock first = m_doc->findBlock(position);
    const int from = first.isValid() ? first.blockNumber() : count - 1;
    const QTextBlock last = m_doc->findBlock(position + added);
    const int to = std::max(from, last.isValid() ? last.blockNumber() : count - 1);
    if (to - delta < from) {
        // Not a change this bookkeeping can follow: start again.
        m_states.assign(size_t(count), kUnknown);
        m_colouredFrom.assign(size_t(count), kStale);
        m_validUntil = 0;
        m_dirtyEnd = 0;
    } else {
        // Old lines [from, to - delta] became [from, to].
        if (delta > 0) {
            m_states.insert(m_states.begin() + from + 1, size_t(delta), kUnknown);
            m_colouredFrom.insert(m_colouredFrom.begin() + from + 1, size_t(delta), kUncoloured);
        } else if (delta < 0) {
            m_states.erase(m_states.begin() + from + 1, m_states.begin() + from + 1 - delta);
            m_colouredFrom.erase(m_colouredFrom.begin() + from + 1, m_colouredFrom.begin() + from + 1 - delta);
        }
        for (int block = from; block <= to; ++block) {
            m_states[size_t(block)] = kUnknown;
            if (m_colouredFrom[size_t(block)] != kUncoloured)
                m_colouredFrom[size_t(block)] = kStale;
        }
        // A changed range the walk has passed is forgotten.
        const int oldEnd = m_validUntil >= m_dirtyEnd ? 0 : m_dirtyEnd;
        const int shiftedEnd = oldEnd > to - delta ? oldEnd + delta : oldEnd;
        m_dirtyEnd = std::max(shiftedEnd, to + 1);
        m_validUntil = std::min(m_validUntil, from);
    }
    if (!m_enabled)
        return;
    lexIncomingText(position, added);
    // Still inside the change: the layout takes the new colours with it.
    colourVisible();
    if (!isSettled())
        m_background.start();
}

void TagHighlighter::advance(int endBlock, qint64 budgetNs)
{
    endBlock = std::min(endBlock, int(m_states.size()));
    if (m_validUntil >= endBlock)
        return;
    QElapsedTimer clock;
    clock.start();
    QTextBlock block = m_doc->findBlockByNumber(m_validUntil);
    int lexed = 0;
    while (m_validUntil < endBlock && block.isValid()) {
        const int number = m_validUntil;
        const State in = number == 0 ? htmllexer::kText : m_states[size_t(number - 1)];
        const State before = m_states[size_t(number)];
        const State out = htmllexer::lexLine(block.text(), in);
        m_states[size_t(number)] = out;
        ++m_validUntil;
        block = block.next();
        if (number >= m_dirtyEnd && before == out) {
            // The lines below start as they did, so their states hold up to
            // the first one never lexed.
            const auto unknown = std::find(m_states.begin() + m_validUntil, m_states.end(), kUnknown);
            const int next = int(unknown - m_states.begin());
            if (next != m_validUntil) {
                m_validUntil = next;
                block = m_doc->findBlockByNumber(next);
            }
        }
        if (++lexed % 64 == 0 && clock.nsecsElapsed() > budgetNs)
            break;
    }
}

void TagHighlighter::lexIncomingText(int position, int added)
{
    const auto* buffer = qobject_cast<const EditorBuffer*>(m_editor);
    if (!buffer || position != 0)
        return;
    // The change put in the whole text, and it is the one the editing area
    // handed over, line for line: a long line in pieces makes it longer.
    const QString& text = buffer->incomingText();
    const int characters = m_doc->characterCount() - 1;
    if (added < characters || text.size() != characters)
        return;
    std::vector<State> states;
    states.reserve(m_states.size());
    State state = htmllexer::kText;
    for (qsizetype from = 0;;) {
        const qsizetype next = text.indexOf(u'\n', from);
        const qsizetype end = next < 0 ? text.size() : next;
        state = htmllexer::lexLine(QStringView(text).mid(from, end - from), state);
        states.push_back(state);
        if (next < 0)
            break;
        from = next + 1;
    }
    if (states.size() != m_states.size())
        return;
    m_states = std::move(states);
    m_validUntil = int(m_states.size());
}

htmllexer::State TagHighlighter::inState(int block) const
{
    if (block <= 0)
        return htmllexer::kText;
    const State above = m_states[size_t(block - 1)];
    return above == kUnknown ? htmllexer::kText : above;
}

int TagHighlighter::firstVisible() const
{
    // The scroll bar counts display lines from the top; no hit test, so it
    // can be asked in the middle of a change.
    const QTextBlock block = m_doc->findBlockByLineNumber(m_editor->verticalScrollBar()->value());
    return block.isValid() ? block.blockNumber() : std::max(0, int(m_states.size()) - 1);
}

int TagHighlighter::visibleCount() const
{
    const int lineHeight = std::max(1, QFontMetrics(m_editor->font()).lineSpacing());
    return m_editor->viewport()->height() / lineHeight + 2;
}

std::pair<int, int> TagHighlighter::columnWindow() const
{
    if (m_editor->lineWrapMode() != QPlainTextEdit::NoWrap)
        return { 0, std::numeric_limits<int>::max() };
    // Bounds that hold for any font: the first column on screen is at least
    // the scrolled width over the widest character, the last at most the
    // width over the narrowest.
    const QFontMetricsF metrics(m_editor->font());
    const qreal narrowest = std::max<qreal>(
        1, std::min({ metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'.'), metrics.horizontalAdvance(u'l') }));
    const qreal widest = std::max(narrowest, metrics.maxWidth());
    const int scrolled = m_editor->horizontalScrollBar()->value();
    const int first = int(scrolled / widest);
    const int last = int((scrolled + m_editor->viewport()->width()) / narrowest) + 1;
    // In steps, with a step to spare on each side, so that scrolling a few
    // columns recolours nothing.
    const int step = std::max(80, last - first);
    return { std::max(0, (first / step - 1) * step), (last / step + 2) * step };
}

bool TagHighlighter::visibleNeedColour() const
{
    if (columnWindow() != m_columns)
        return true;
    const int first = firstVisible();
    const int end = std::min(first + visibleCount(), int(m_states.size()));
    for (int block = first; block < end; ++block)
        if (m_colouredFrom[size_t(block)] != inState(block))
            return true;
    return false;
}

void TagHighlighter::colourVisible()
{
    if (!m_enabled || int(m_states.size()) != m_doc->blockCount())
        return;
    const std::pair<int, int> columns = columnWindow();
    if (columns != m_columns) {
        m_columns = columns;
        for (State& from : m_colouredFrom)
            if (from != kUncoloured)
                from = kStale;
    }
    const int first = firstVisible();
    const int end = std::min(first + visibleCount(), int(m_states.size()));
    advance(end, kForegroundBudgetNs);
    int changedFrom = -1;
    int changedTo = -1;
    QTextBlock block = m_doc->findBlockByNumber(first);
    for (int number = first; number < end && block.isValid(); ++number, block = block.next()) {
        const State in = inState(number);
        if (m_colouredFrom[size_t(number)] == in)
            continue;
        m_colouredFrom[size_t(number)] = in;
        if (!setColours(block, in))
            continue;
        if (changedFrom < 0)
            changedFrom = block.position();
        changedTo = block.position() + block.length();
    }
    // One call for all: the layout redoes those lines once, when painted.
    if (changedFrom >= 0)
        m_doc->markContentsDirty(changedFrom, changedTo - changedFrom);
}

bool TagHighlighter::setColours(const QTextBlock& block, State in)
{
    QList<htmllexer::Run> runs;
    htmllexer::lexLine(block.text(), in, &runs);
    QTextLayout* layout = block.layout();
    if (runs.isEmpty() && layout->formats().isEmpty())
        return false;
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(runs.size());
    for (const htmllexer::Run& run : runs) {
        const int start = std::max(run.start, m_columns.first);
        const int end = std::min(run.start + run.length, m_columns.second);
        if (end > start)
            ranges.append({ start, end - start, m_formats[int(run.kind)] });
    }
    if (ranges == layout->formats())
        return false;
    layout->setFormats(ranges);
    return true;
}

void TagHighlighter::clearColours()
{
    int changedFrom = -1;
    int changedTo = -1;
    QTextBlock block = m_doc->begin();
    for (size_t number = 0; number < m_colouredFrom.size() && block.isValid(); ++number, block = block.next()) {
        if (m_colouredFrom[number] == kUncoloured)
            continue;
        m_colouredFrom[number] = kUncoloured;
        if (block.layout()->formats().isEmpty())
            continue;
        block.layout()->clearFormats();
        if (changedFrom < 0)
            changedFrom = block.position();
        changedTo = block.position() + block.length();
    }
    if (changedFrom >= 0)
        m_doc->markContentsDirty(changedFrom, changedTo - changedFrom);
}

void TagHighlighter::backgroundSlice()
{
    if (!m_enabled)
        return;
    advance(int(m_states.size()), kSliceBudgetNs);
    colourVisible();
    if (!isSettled())
        m_background.start();
}
