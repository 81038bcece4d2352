#include "tools/textcommands.h"

#include "core/document/appcontext.h"
#include "core/encoding/linebreaks.h"
#include "core/platform/messageboxes.h"
#include "core/text/displayblocks.h"
#include "core/text/editorbuffer.h"
#include "tools/spaceremoval.h"

#include <QTextBlock>
#include <QTextDocument>

TextCommands::TextCommands(AppContext& context)
    : m_ctx(context)
{
}

void TextCommands::copy()
{
    // Without a selection the clipboard keeps what it held.
    if (m_ctx.memo1->selLength() > 0)
        m_ctx.memo1->copyToClipboard();
}

void TextCommands::paste()
{
    m_ctx.memo1->pasteFromClipboard();
}

void TextCommands::cut()
{
    if (m_ctx.memo1->selLength() > 0)
        m_ctx.memo1->cutToClipboard();
}

void TextCommands::clearAll()
{
    const Answer answer = messageboxes::askConfirm(*m_ctx.platform.prompts, QStringLiteral("Удалить весь текст?"),
                                                   { Answer::Yes, Answer::No }, Answer::Yes, Answer::No);
    if (answer == Answer::Yes)
        m_ctx.memo1->setText(QString());
}

void TextCommands::selectAll()
{
    m_ctx.memo1->selectAllText();
}

void TextCommands::removeSpaces()
{
    EditorBuffer* memo = m_ctx.memo1;
    const QTextDocument* doc = memo->document();
    // Every line is written back, so the text counts as changed as soon as
    // one line is not empty; the result goes in as one replacement.
    QString result;
    result.reserve(memo->textLength());
    bool anyLine = false;
    QString line;
    auto putLine = [&] {
        anyLine = anyLine || !line.isEmpty();
        result.append(spaceremoval::hasRepeatedSpaces(line) ? spaceremoval::removeRepeatedSpaces(line) : line);
    };
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        // A long line shown in several blocks is one line: a run of spaces
        // may cross the join.
        if (block != doc->begin() && displayblocks::continuesLine(block)) {
            line.append(block.text());
            continue;
        }
        if (block != doc->begin()) {
            putLine();
            result.append(linebreaks::crlf());
        }
        line = block.text();
    }
    putLine();
    if (anyLine)
        memo->setText(result);
    memo->setSelStart(memo->textLength());
    memo->ensureCursorVisible();
}
