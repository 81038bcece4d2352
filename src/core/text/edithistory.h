#pragma once

#include "core/encoding/textencoding.h"

#include <QString>

#include <deque>

/// A selection in document positions: the anchor and the caret, which is
/// the end that moves.
struct TextSelection {
    qsizetype anchor = 0;
    qsizetype caret = 0;
};

inline bool operator==(TextSelection a, TextSelection b) { return a.anchor == b.anchor && a.caret == b.caret; }
inline bool operator!=(TextSelection a, TextSelection b) { return !(a == b); }

/// One change of the text: at `position`, `removed` gave way to `inserted`.
/// Texts are in the widget's form ('\n' for a line break, nothing where the
/// pieces of a long line join); positions and lengths count document
/// characters, a line break as two.
struct EditStep {
    qsizetype position = 0;
    QString removed;
    QString inserted;
    qsizetype removedLength = 0;
    qsizetype insertedLength = 0;
    TextSelection before; ///< the selection the step started from
    TextSelection after;  ///< the selection it left
    /// Typed (keys, input method): joins the typing step before it the way
    /// the text widget groups its own undo steps.
    bool typing = false;
    /// A conversion's step also changes the document's encoding.
    bool changesEncoding = false;
    DocumentEncoding encodingBefore;
    DocumentEncoding encodingAfter;
};

/// The undo and redo history of the editing area: steps in the order they
/// happened, with a position between the ones done and the ones undone.
/// It keeps at most `bound` document characters of removed and inserted
/// text; the oldest steps go first, but the newest step always stays, so a
/// single larger step can be undone until the next one.
class EditHistory {
public:
    static constexpr qsizetype kDefaultBound = 64 * 1024 * 1024;

    explicit EditHistory(qsizetype bound = kDefaultBound)
        : m_bound(bound)
    {
    }

    void clear();
    /// Adds a step after the ones done; the undone ones are gone.
    void record(EditStep step);
    /// The next typing step starts a step of its own.
    void seal() { m_sealed = true; }

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    /// The step to take back, now counted as undone; null when none.
    const EditStep* undo();
    /// The step to do again, now counted as done; null when none.
    const EditStep* redo();
    /// Moves back over a step that could not be taken back after all.
    void cancelUndo() { ++m_done; }
    void cancelRedo() { --m_done; }

    /// The step undo would take back next; null when none.
    const EditStep* lastDone() const { return m_done > 0 ? &m_steps[m_done - 1] : nullptr; }
    /// Counts every step recorded, so a caller can tell whether its edit
    /// became a step of its own.
    quint64 recordings() const { return m_recordings; }
    /// The step undo would take back next, to be completed; null when none.
    EditStep* lastDoneStep() { return m_done > 0 ? &m_steps[m_done - 1] : nullptr; }
    /// Document characters of removed and inserted text kept.
    qsizetype size() const { return m_size; }
    size_t steps() const { return m_steps.size(); }

private:
    /// Adds typing to the step before it where the widget would.
    bool merge(EditStep& last, const EditStep& step) const;

    std::deque<EditStep> m_steps;
    size_t m_done = 0;
    qsizetype m_size = 0;
    qsizetype m_bound;
    bool m_sealed = true;
    quint64 m_recordings = 0;
};
