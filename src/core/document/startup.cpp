#include "core/document/startup.h"

#include "core/document/appcontext.h"
#include "core/document/diskfile.h"
#include "core/document/documentjournal.h"
#include "core/document/savedtextsnapshot.h"
#include "core/encoding/cp1251.h"
#include "core/platform/apperror.h"
#include "core/platform/branding.h"
#include "core/platform/messageboxes.h"
#include "core/platform/programlauncher.h"
#include "core/platform/registry.h"
#include "core/platform/systemdirs.h"
#include "core/settings/editorfont.h"
#include "core/settings/highlightsetting.h"
#include "core/settings/inifile.h"
#include "core/text/editorbuffer.h"

#include <QFileInfo>
#include <utility>

namespace startup {

QString settingsBaseName()
{
    return QStringLiteral("Brannoc Quillet.ini");
}

QString completePath(const QString& directory)
{
    if (directory.isEmpty() || directory.endsWith(u'/'))
        return directory;
    return directory + u'/';
}

unsigned char toByte(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    // toInt also takes surrounding blanks; the settings value must be the
    // number alone.
    if (!ok || text.trimmed() != text)
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return static_cast<unsigned char>(static_cast<unsigned int>(value) & 0xFFu);
}

bool isBoldStyle(const QString& text)
{
    return text != QStringLiteral("FALSE");
}

namespace {

/// A text value with the references that writing put in for characters
/// outside the code page decoded, so it reads back as it was typed.
QString textValue(const IniFile& ini, const QString& section, const QString& key, const QString& defaultValue)
{
    return cp1251::decodeReferences(ini.value(section, key, defaultValue));
}

/// A font number; one that is not a number gives the key's default.
unsigned char fontNumber(const IniFile& ini, const QString& key, const QString& defaultValue, QStringList& errors)
{
    try {
        return toByte(ini.value(QStringLiteral("FONT"), key, defaultValue));
    } catch (const AppError& error) {
        errors.append(error.message());
        return toByte(defaultValue);
    }
}

} // namespace

QStringList readSettings(const IniFile& ini, SettingsStore& settings)
{
    const QString font = QStringLiteral("FONT");
    const QString user = QStringLiteral("USER");
    const QString paths = QStringLiteral("PATHS");
    QStringList errors;
    settings.editorFontName = textValue(ini, font, QStringLiteral("name"), QStringLiteral("Courier New"));
    settings.editorFontSize = fontNumber(ini, QStringLiteral("size"), QStringLiteral("10"), errors);
    // The file knows regular and bold only.
    settings.editorFontBold = isBoldStyle(ini.value(font, QStringLiteral("style"), QStringLiteral("FALSE")));
    settings.editorFontItalic = false;
    settings.editorFontUnderline = false;
    settings.editorFontStrikeOut = false;
    settings.editorFontCharset = fontNumber(ini, QStringLiteral("charset"), QStringLiteral("1"), errors);
    settings.userName = textValue(ini, user, QStringLiteral("name"), QStringLiteral("тов. Безымянный"));
    settings.userMail = textValue(ini, user, QStringLiteral("mail"), QStringLiteral("@"));
    settings.netscapePath = textValue(ini, paths, QStringLiteral("netscape"),
                                      QStringLiteral("C:\\Program Files\\Netscape\\Communicator\\Program\\netscape.exe"));
    settings.msiePath = textValue(ini, paths, QStringLiteral("msie"),
                                  QStringLiteral("C:\\Program Files\\Internet Explorer\\Iexplore.exe"));
    settings.browser3Path = textValue(ini, paths, QStringLiteral("browser3"), QString());
    settings.workshopCommand = textValue(ini, paths, QStringLiteral("workshop"), QString());
    settings.highlightTags = highlightsetting::isOn(ini.value(highlightsetting::section(), highlightsetting::key()));
    return errors;
}

bool holdsOptions(const IniFile& ini)
{
    const QString font = QStringLiteral("FONT");
    const QString user = QStringLiteral("USER");
    const QString paths = QStringLiteral("PATHS");
    const std::pair<QString, QString> keys[] = {
        { font, QStringLiteral("name") },       { font, QStringLiteral("size") },
        { font, QStringLiteral("style") },      { font, QStringLiteral("charset") },
        { user, QStringLiteral("name") },       { user, QStringLiteral("mail") },
        { paths, QStringLiteral("netscape") },  { paths, QStringLiteral("msie") },
        { paths, QStringLiteral("browser3") },  { paths, QStringLiteral("workshop") },
        { paths, QStringLiteral("extended") },
    };
    for (const auto& [section, key] : keys) {
        if (ini.contains(section, key))
            return true;
    }
    return false;
}

QString joinCommandLine(const QStringList& arguments)
{
    QString fileName;
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            break;
        if (!fileName.isEmpty())
            fileName += u' ';
        fileName += argument;
    }
    return fileName;
}

QString fallbackExtendedEditor(const IniFile& ini, AppContext& context)
{
    const QString extended = textValue(ini, QStringLiteral("PATHS"), QStringLiteral("extended"), QString());
    if (!extended.isEmpty())
        return extended;
    try {
        if (context.platform.registry)
            return context.platform.registry->extendedEditorCommand();
    } catch (...) {
        // A failing look-up leaves the command empty.
    }
    return {};
}

void handOverLargeFile(AppContext& context, const QString& fileName)
{
    UserPrompts& prompts = *context.platform.prompts;
    const QString& command = context.settings.workshopCommand;
    if (!DocumentState::namesNoFile(fileName) && !command.isEmpty()) {
        const Answer answer = messageboxes::askWarning(
            prompts,
            messageboxes::twoLines(QStringLiteral("Файл слишком велик."),
                                   QStringLiteral("Открыть файл вы расширенном редакторе?")),
            { Answer::Yes, Answer::No }, Answer::Yes, Answer::No);
        // The name is one argument as it stands: quotes added around it
        // would be split off again, and a quote inside it would end them.
        if (answer != Answer::No)
            context.platform.launcher->startWithArgument(command, fileName);
        return;
    }
    messageboxes::showPlain(prompts, QStringLiteral("Невозможно загрузить файл \"") + fileName + u'"');
}

} // namespace startup

void runStartupSequence(AppContext& context, const QStringList& arguments)
{
    using namespace startup;
    UserPrompts& prompts = *context.platform.prompts;

    // The directory is taken whole: cutting a long path would put the
    // settings into some other folder.
    const QString directory = completePath(context.platform.dirs->windowsDirectory());
    context.settings.settingsFileName = directory + settingsBaseName();

    bool readable = true;
    const IniFile ini = IniFile::load(context.settings.settingsFileName, &readable);
    // A file that the highlighting switch wrote alone still leaves the
    // browsers unset: the greeting keeps telling where to set them.
    const bool onlyHighlighting = readable && ini.contains(highlightsetting::section(), highlightsetting::key())
        && !holdsOptions(ini);
    if (!QFileInfo::exists(context.settings.settingsFileName) || onlyHighlighting) {
        messageboxes::showInformation(
            prompts, messageboxes::twoLines(QStringLiteral("Greetings for first start!"),
                                            QStringLiteral("Используйте меню Вид->Настройки для конфигурирования программы")));
    }

    // A bad number costs only its own key: start-up goes on with the rest.
    for (const QString& error : readSettings(ini, context.settings))
        messageboxes::showError(prompts, error);
    context.doc.fileName = DocumentState::untitledFileName();

    if (context.settings.workshopCommand.isEmpty())
        context.settings.workshopCommand = fallbackExtendedEditor(ini, context);
    context.settings.foundWorkshopCommand = context.settings.workshopCommand;

    applyEditorFont(*context.memo1, context.settings);
    // Before the document: a page that goes in with highlighting on is
    // lexed in one pass as it goes in, not read back line by line later.
    context.window->showHighlighting(context.settings.highlightTags);

    const QString fileName = joinCommandLine(arguments);
    if (fileName.isEmpty())
        return;
    context.doc.fileName = fileName;

    QByteArray loaded;
    try {
        loaded = context.memo1->loadFromFile(fileName);
    } catch (const AppError& error) {
        if (error.message() != EditorBuffer::capacityMessage()) {
            // The name stays for a file that does not exist yet, so Save
            // creates it; a file that exists but cannot be read must never be
            // overwritten by the empty text, so that document is untitled.
            if (QFileInfo::exists(fileName))
                context.doc.fileName = DocumentState::untitledFileName();
            throw;
        }
        handOverLargeFile(context, fileName);
        // The big file is not in the editing area: an untitled document makes
        // sure that no Save or preview writes the empty text over it.
        context.doc.fileName = DocumentState::untitledFileName();
        context.doc.launchWroteFile = false;
        context.doc.modified = false;
        context.memo2->setBytes({});
        return;
    }

    diskfile::remember(context.doc, fileName);
    context.memo2->setBytes(loaded, context.memo1->encoding(), context.memo1->textLength());
    // The text stands as loaded: the journal record its going in made is
    // obsolete, and would otherwise be written out in full as the start-up
    // command ends.
    if (context.journal)
        context.journal->documentReset();
    context.doc.launchWroteFile = false;
    context.window->setTitle(branding::documentWindowTitle(fileName));
    context.saveDlgFileName = fileName;
    context.doc.modified = false;
}
