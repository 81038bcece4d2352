#include "tools/findreplace.h"

#include "core/document/appcontext.h"
#include "core/text/editorbuffer.h"
#include "tools/matchscan.h"
#include "tools/replacedialog.h"

FindReplace::FindReplace(AppContext& context, QWidget* dialogParent)
    : m_ctx(context)
    , m_dialog(new ReplaceDlg(dialogParent))
{
    // Until the window says otherwise the buttons run the commands directly.
    m_onFind = [this] { find(); };
    m_onReplace = [this] { replace(); };
    QObject::connect(m_dialog, &ReplaceDlg::findNext, m_dialog, [this] { m_onFind(); });
    QObject::connect(m_dialog, &ReplaceDlg::replaceRequested, m_dialog, [this] { m_onReplace(); });
}

FindReplace::~FindReplace()
{
    // The dialog belongs to the window, which may outlive this object briefly.
    QObject::disconnect(m_dialog, nullptr, m_dialog, nullptr);
}

void FindReplace::setHandlers(std::function<void()> onFind, std::function<void()> onReplace)
{
    m_onFind = std::move(onFind);
    m_onReplace = std::move(onReplace);
}

void FindReplace::show()
{
    m_dialog->showOrRaise();
}

void FindReplace::find()
{
    EditorBuffer* memo = m_ctx.memo1;
    const std::optional<matchscan::Match> match = matchscan::scan(
        *memo->document(), m_dialog->findText(), [memo](int position) { return memo->toDocumentPosition(position); });
    if (!match)
        return;
    // The editing area takes the focus and its window becomes active; the
    // dialog stays open beside it.
    if (m_ctx.window)
        m_ctx.window->activate();
    memo->setFocus();
    memo->setSelStart(match->offset);
    memo->setSelLength(match->length);
}

void FindReplace::replace()
{
    EditorBuffer* memo = m_ctx.memo1;
    if (memo->selLength() == 0)
        return;
    // Only a match is replaced, compared as the scan compares: any other
    // selection (a paragraph the user marked) stays, and the press only scans.
    if (memo->getSelText() == m_dialog->findText())
        memo->setSelText(m_dialog->replaceText());
    find();
}
