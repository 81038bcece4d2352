#pragma once

// What the editing area's two source files share: the arithmetic of the
// widget's text form and the edit under way that becomes a history step.

#include "core/encoding/linebreaks.h"
#include "core/text/displayblocks.h"
#include "core/text/editorbuffer.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace editorbufferinternals {

using linebreaks::documentLength;

// Reads longer than this copy the document's characters at once.
constexpr int kLargeRead = 1024 * 1024;

} // namespace editorbufferinternals

// The edit under way, in widget positions as they stood before it.
struct EditorBuffer::Capture {
    bool typing = true;
    TextSelection before;
    int from = 0;                  // the window kept
    int to = 0;
    qsizetype documentFrom = 0;    // document position of `from`
    qsizetype lengthBefore = 0;    // document length before the edit
    QString window;                // its characters, '\n' at every block end
    std::vector<int> joins;        // offsets in `window` of the ends that join pieces
    int low = 0;                   // the range changed so far, in current positions
    int high = -1;
    int growth = 0;                // characters added minus removed so far
};

class EditorBuffer::CaptureScope {
public:
    CaptureScope(EditorBuffer& memo, bool typing)
        : m_memo(memo)
    {
        m_memo.beginCapture(typing);
    }
    CaptureScope(EditorBuffer& memo, bool typing, int from, int to)
        : m_memo(memo)
    {
        m_memo.beginCapture(typing, from, to);
    }
    ~CaptureScope() { m_memo.endCapture(); }
    CaptureScope(const CaptureScope&) = delete;
    CaptureScope& operator=(const CaptureScope&) = delete;

private:
    EditorBuffer& m_memo;
};
