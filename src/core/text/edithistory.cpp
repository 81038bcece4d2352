#include "core/text/edithistory.h"

void EditHistory::clear()
{
    m_steps.clear();
    m_done = 0;
    m_size = 0;
    m_sealed = true;
}

bool EditHistory::merge(EditStep& last, const EditStep& step) const
{
    if (m_sealed || !last.typing || !step.typing || step.before != last.after)
        return false;
    // A line break typed or removed is a step of its own, as in the widget.
    auto hasBreak = [](const EditStep& s) { return s.removed.contains(u'\n') || s.inserted.contains(u'\n'); };
    if (hasBreak(last) || hasBreak(step))
        return false;
    if (step.removed.isEmpty() && !step.inserted.isEmpty() && !last.inserted.isEmpty()
        && step.position == last.position + last.insertedLength) {
        last.inserted += step.inserted;
        last.insertedLength += step.insertedLength;
    } else if (step.inserted.isEmpty() && last.inserted.isEmpty() && !step.removed.isEmpty()
               && !last.removed.isEmpty() && step.position == last.position) {
        // Delete, again and again.
        last.removed += step.removed;
        last.removedLength += step.removedLength;
    } else if (step.inserted.isEmpty() && last.inserted.isEmpty() && !step.removed.isEmpty()
               && !last.removed.isEmpty() && step.position + step.removedLength == last.position) {
        // Backspace, again and again.
        last.removed.prepend(step.removed);
        last.removedLength += step.removedLength;
        last.position = step.position;
    } else {
        return false;
    }
    last.after = step.after;
    return true;
}

void EditHistory::record(EditStep step)
{
    while (m_steps.size() > m_done) {
        m_size -= m_steps.back().removedLength + m_steps.back().insertedLength;
        m_steps.pop_back();
    }
    const bool typing = step.typing;
    ++m_recordings;
    m_size += step.removedLength + step.insertedLength;
    if (m_steps.empty() || !merge(m_steps.back(), step)) {
        m_steps.push_back(std::move(step));
        ++m_done;
    }
    m_sealed = !typing;
    while (m_size > m_bound && m_steps.size() > 1) {
        m_size -= m_steps.front().removedLength + m_steps.front().insertedLength;
        m_steps.pop_front();
        --m_done;
    }
}

const EditStep* EditHistory::undo()
{
    if (!canUndo())
        return nullptr;
    m_sealed = true;
    return &m_steps[--m_done];
}

const EditStep* EditHistory::redo()
{
    if (!canRedo())
        return nullptr;
    m_sealed = true;
    return &m_steps[m_done++];
}
