#include "markup/markupcommands.h"

#include "core/document/appcontext.h"
#include "core/text/editorbuffer.h"
#include "markup/filepaths.h"
#include "markup/fragments.h"
#include "markup/linktarget.h"

namespace {

FileDialogSpec openDialog(const char* filter)
{
    FileDialogSpec request;
    request.filter = QString::fromUtf8(filter);
    request.filterIndex = 1;
    request.fileMustExist = false; // a typed name of a file that does not exist is taken as it is
    return request;
}

/// A file path or web address as it may stand between the double quotes of
/// an attribute. Windows paths never hold a double quote, but names on this
/// platform and the address in a downloaded shortcut can; one left as it is
/// would end the value early and let the rest become markup of its own.
QString quotedValue(QString text)
{
    return text.replace(u'"', QLatin1String("&quot;"));
}

const Fragment& rowOf(const char* command)
{
    const Fragment* row = findFragment(QLatin1String(command));
    Q_ASSERT(row);
    return *row;
}

} // namespace

MarkupCommands::MarkupCommands(AppContext& context)
    : m_ctx(context)
    , m_openImage(openDialog("All formats|*.gif; *.jp*|GIF image|*.gif|JPEG image|*.jp*"))
    , m_openLinked(openDialog("HTML file|*.*htm*; *.asp;*.php*|URL form file|*.url|"
                              "Arhive|*.zip; *.ar?; *.rar; *.lzh|Any file|*.*"))
{
}

QHash<QString, QString> MarkupCommands::variables() const
{
    return { { QStringLiteral("UserName"), m_ctx.settings.userName } };
}

void MarkupCommands::applyRow(const Fragment& row, QHash<QString, QString> vars)
{
    const auto text = composeFragment(row, m_ctx.memo1->getSelText(), vars);
    if (text)
        m_ctx.memo1->setSelText(*text);
}

void MarkupCommands::apply(const QString& command)
{
    const Fragment* row = findFragment(command);
    if (row)
        applyRow(*row, variables());
}

QString MarkupCommands::chooseFile(FileDialogSpec& dialog)
{
    return chooseOpenFile(*m_ctx.platform.prompts, dialog).value_or(QString());
}

void MarkupCommands::imageFromFile()
{
    // The dialog comes first; the selection is looked at only afterwards.
    const QString path = chooseFile(m_openImage);
    if (path.isEmpty())
        return;
    applyRow(rowOf("Find1"), { { QStringLiteral("P"), quotedValue(path) },
                               { QStringLiteral("N"), quotedValue(filepaths::fileNamePart(path)) } });
}

void MarkupCommands::linkToFile()
{
    const QString path = chooseFile(m_openLinked);
    if (path.isEmpty())
        return;
    applyRow(rowOf("Linkfile1"), { { QStringLiteral("T"), quotedValue(linkTarget(path)) } });
}
