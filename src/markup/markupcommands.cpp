#include "markup/markupcommands.h"

#include "core/appcontext.h"
#include "core/editorbuffer.h"
#include "markup/fragments.h"

MarkupCommands::MarkupCommands(AppContext& context)
    : m_ctx(context)
{
}

QHash<QString, QString> MarkupCommands::variables() const
{
    return { { QStringLiteral("UserName"), m_ctx.settings.userName } };
}

void MarkupCommands::apply(const QString& command)
{
    const Fragment* row = findFragment(command);
    if (!row)
        return;
    const auto text = composeFragment(*row, m_ctx.memo1->getSelText(), variables());
    if (text)
        m_ctx.memo1->setSelText(*text);
}

void MarkupCommands::imageFromFile()
{
}

void MarkupCommands::linkToFile()
{
}
