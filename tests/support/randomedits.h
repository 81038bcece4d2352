#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

/// Random edits of the editing area checked against a model: a plain string
/// edited by the same operations. After every step the editor's text and
/// selection must equal the model's; at checkpoints and at the end the
/// journal, replayed, must give the editor's bytes. The run's choices come
/// from a byte string, so a fuzzer's input and a fixed seed drive the same
/// code.
namespace randomedits {

/// The choices of one run; exhausted bytes end it.
class Choices {
public:
    Choices(const uint8_t* data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }
    bool exhausted() const { return m_at >= m_size; }
    /// A number in [0, n); 0 once the bytes are exhausted.
    int below(int n);
    /// True in `percent` of the cases.
    bool chance(int percent) { return below(100) < percent; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

/// The model: the document's text (CRLF line breaks) and its selection in
/// document positions.
struct Model {
    QString text;
    qsizetype anchor = 0;
    qsizetype caret = 0;

    qsizetype selStart() const { return qMin(anchor, caret); }
    qsizetype selEnd() const { return qMax(anchor, caret); }
    void place(qsizetype position) { anchor = caret = position; }
    /// Replaces the selection; the caret stands after the new text.
    void replaceSelection(const QString& with);
    /// Lines as the document counts them.
    int lineCount() const;
    /// The position itself, or the start of the line break it falls into.
    qsizetype valid(qsizetype position) const;
    /// The position one character (a line break counts as one) further.
    qsizetype step(qsizetype position, int direction) const;
};

class Session;

/// One kind of edit: it acts on the editor and on the model alike.
/// `undoable`: it enters the editor's undo history (typing, paste, drags,
/// commands); otherwise it starts a new document and clears that history.
struct Operation {
    const char* name;
    bool undoable;
    std::function<void(Session&)> apply;
};

/// Every operation the run draws from. New kinds of edits are added here.
const std::vector<Operation>& operations();

/// Runs the edits the bytes choose and returns the first mismatch, with the
/// steps that led to it; empty when editor, model and journal agree.
/// Needs a QApplication.
QString run(const uint8_t* data, size_t size, int maxSteps = 200);

} // namespace randomedits
