#include "ui/uoptions.h"

#include "core/document/appcontext.h"
#include "core/platform/apperror.h"
#include "core/platform/messageboxes.h"
#include "core/platform/privatefolder.h"
#include "core/settings/editorfont.h"
#include "core/settings/highlightsetting.h"
#include "core/settings/inifile.h"
#include "core/text/editorbuffer.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

namespace {

QLabel* label(QWidget* parent, const QString& text, int x, int y, int width)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, width, 16);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int x, int y, int width)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(x, y, width, 21);
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int y, int width, int height)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, width, height);
    // Return presses the focused button; from a field it reaches the default one.
    b->setAutoDefault(true);
    return b;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QString& caption, int x, int y, int width)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setGeometry(x, y, width, 21);
    return b;
}

/// A chosen program path with blanks is quoted: the browser and extended
/// editor settings are command texts, split at blanks when started.
QString asCommand(const QString& program)
{
    if (program.contains(u' ') && !program.startsWith(u'"'))
        return u'"' + program + u'"';
    return program;
}

/// The font dialog can select installed families only: given a name that is
/// not installed it preselects an unrelated family, and OK would then change
/// the editor font to it. It starts from the family the editor shows instead.
QFont fontForDialog(const QFont& font)
{
    if (QFontDatabase::families().contains(font.family(), Qt::CaseInsensitive))
        return font;
    QFont shown = font;
    shown.setFamily(QFontInfo(font).family());
    return shown;
}

/// The extended editor's keys. Start-up reads "workshop" before "extended",
/// so both get the command. A command start-up found through the desktop
/// stays unwritten while the field still shows it, so later changes to the
/// association are seen; once a key holds a command it is always kept in step.
void setExtendedEditor(IniFile& ini, const QString& command, const QString& found)
{
    const QString paths = QStringLiteral("PATHS");
    const QString extended = QStringLiteral("extended");
    const QString workshop = QStringLiteral("workshop");
    const bool stored = !ini.value(paths, extended).isEmpty() || !ini.value(paths, workshop).isEmpty();
    if (command == found && !stored)
        return;
    ini.setValue(paths, extended, command);
    if (ini.contains(paths, workshop))
        ini.setValue(paths, workshop, command);
}

} // namespace

TOptionfrm::TOptionfrm(AppContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_ctx(context)
{
    setObjectName(QStringLiteral("Optionfrm"));
    setWindowTitle(QStringLiteral("Quillet options"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(405, 281);
    m_openDialog.filter = programFilter();
    buildControls();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TOptionfrm::buildControls()
{
    auto* user = new QGroupBox(QStringLiteral("Личные настройки пользователя"), this);
    user->setObjectName(QStringLiteral("GroupBox1"));
    user->setGeometry(8, 4, 389, 50);
    label(user, QStringLiteral("Имя"), 10, 23, 30);
    UserNameEd = edit(user, "UserNameEd", 44, 20, 150);
    label(user, QStringLiteral("Email"), 204, 23, 34);
    UserMailEd = edit(user, "UserMailEd", 240, 20, 139);

    auto* programs = new QGroupBox(QStringLiteral("Расположение программ"), this);
    programs->setObjectName(QStringLiteral("GroupBox2"));
    programs->setGeometry(8, 58, 389, 126);
    label(programs, QStringLiteral("Netscape browser"), 10, 23, 140);
    NClocationEd = edit(programs, "NClocationEd", 152, 20, 198);
    Button1 = button(programs, "Button1", QStringLiteral("..."), 354, 20, 25, 21);
    label(programs, QStringLiteral("Microsoft browser"), 10, 49, 140);
    IElocationEd = edit(programs, "IElocationEd", 152, 46, 198);
    Button2 = button(programs, "Button2", QStringLiteral("..."), 354, 46, 25, 21);
    label(programs, QStringLiteral("Иной browser"), 10, 75, 140);
    AddBrEd = edit(programs, "AddBrEd", 152, 72, 198);
    Button3 = button(programs, "Button3", QStringLiteral("..."), 354, 72, 25, 21);
    label(programs, QStringLiteral("Расширенный редактор"), 10, 101, 140);
    VHEd = edit(programs, "VHEd", 152, 98, 198);
    SpeedButton1 = speedButton(programs, "SpeedButton1", QStringLiteral("..."), 354, 98, 25);

    auto* editor = new QGroupBox(QStringLiteral("Свойства редактора"), this);
    editor->setObjectName(QStringLiteral("GroupBox3"));
    editor->setGeometry(8, 188, 389, 52);
    label(editor, QStringLiteral("Шрифт"), 8, 24, 48);
    FontBox = new QComboBox(editor);
    FontBox->setObjectName(QStringLiteral("FontBox"));
    FontBox->setEditable(true);
    FontBox->setGeometry(58, 20, 192, 22);
    SpeedButton2 = speedButton(editor, "SpeedButton2", QStringLiteral("Дополнительно..."), 258, 20, 121);
    SpeedButton2->setFixedHeight(22);

    Button4 = button(this, "Button4", QStringLiteral("Cancel"), 234, 248, 75, 25);
    AppyBtn = button(this, "AppyBtn", QStringLiteral("Apply"), 318, 248, 75, 25);
    AppyBtn->setDefault(true);

    connect(Button1, &QPushButton::clicked, this, &TOptionfrm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TOptionfrm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TOptionfrm::BitBtn4Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TOptionfrm::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TOptionfrm::BitBtn3Click);
    connect(AppyBtn, &QPushButton::clicked, this, &TOptionfrm::BitBtn1Click);
    connect(Button4, &QPushButton::clicked, this, &TOptionfrm::Button4Click);
}

void TOptionfrm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TOptionfrm::FormShow()
{
    const SettingsStore& s = m_ctx.settings;
    m_dialogFont = editorFont(s);
    m_dialogSize = s.editorFontSize;
    m_dialogCharset = s.editorFontCharset;

    UserNameEd->setText(s.userName);
    UserMailEd->setText(s.userMail);
    NClocationEd->setText(s.netscapePath);
    IElocationEd->setText(s.msiePath);
    AddBrEd->setText(s.browser3Path);
    VHEd->setText(s.workshopCommand);
    // Long paths show their beginning, as a fresh field does.
    for (QLineEdit* field : { UserNameEd, UserMailEd, NClocationEd, IElocationEd, AddBrEd, VHEd })
        field->setCursorPosition(0);

    m_openDialog.fileName = s.browser3Path;

    FontBox->clear();
    FontBox->addItems(QFontDatabase::families());
    FontBox->setEditText(s.editorFontName);
}

std::optional<QString> TOptionfrm::browse()
{
    // Programs here have no .exe or .com ending: the dialog starts on "All"
    // each time; only the name chosen last is kept.
    m_openDialog.filterIndex = 2;
    return chooseOpenFile(*m_ctx.platform.prompts, m_openDialog);
}

void TOptionfrm::Button1Click()
{
    if (const auto chosen = browse()) {
        m_ctx.settings.netscapePath = asCommand(*chosen);
        NClocationEd->setText(m_ctx.settings.netscapePath);
    }
}

void TOptionfrm::Button2Click()
{
    if (const auto chosen = browse()) {
        m_ctx.settings.msiePath = asCommand(*chosen);
        IElocationEd->setText(m_ctx.settings.msiePath);
    }
}

void TOptionfrm::BitBtn4Click()
{
    if (const auto chosen = browse()) {
        m_ctx.settings.browser3Path = asCommand(*chosen);
        AddBrEd->setText(m_ctx.settings.browser3Path);
    }
}

void TOptionfrm::SpeedButton1Click()
{
    // The extended editor's command is taken from the field by Apply.
    if (const auto chosen = browse())
        VHEd->setText(asCommand(*chosen));
}

void TOptionfrm::BitBtn3Click()
{
    const auto chosen = m_ctx.platform.prompts->chooseFont(fontForDialog(m_dialogFont));
    if (!chosen)
        return;
    m_dialogFont = *chosen;
    m_dialogSize = chosen->pointSize() > 0 ? chosen->pointSize() : qRound(chosen->pointSizeF());
    SettingsStore& s = m_ctx.settings;
    s.editorFontName = chosen->family();
    s.editorFontCharset = m_dialogCharset;
    s.editorFontSize = static_cast<unsigned char>(static_cast<unsigned int>(m_dialogSize) & 0xFFu);
    s.editorFontBold = chosen->bold();
    s.editorFontItalic = chosen->italic();
    s.editorFontUnderline = chosen->underline();
    s.editorFontStrikeOut = chosen->strikeOut();
    FontBox->setEditText(chosen->family());
}

void TOptionfrm::writeSettingsFile()
{
    const QString& file = m_ctx.settings.settingsFileName;
    const SettingsStore& s = m_ctx.settings;
    const bool exactlyBold = m_dialogFont.bold() && !m_dialogFont.italic() && !m_dialogFont.underline()
        && !m_dialogFont.strikeOut();
    const struct {
        const char* section;
        const char* key;
        QString value;
    } keys[] = {
        { "FONT", "name", m_dialogFont.family() },
        { "FONT", "charset", QString::number(m_dialogCharset) },
        { "FONT", "size", QString::number(m_dialogSize) },
        { "FONT", "style", exactlyBold ? QStringLiteral("TRUE") : QStringLiteral("FALSE") },
        { "USER", "name", s.userName },
        { "USER", "mail", s.userMail },
        { "PATHS", "netscape", s.netscapePath },
        { "PATHS", "msie", s.msiePath },
        { "PATHS", "browser3", s.browser3Path },
    };
    // Composed in memory and written once: a failure leaves the file as it was.
    const auto compose = [&](IniFile& ini) {
        for (const auto& key : keys)
            ini.setValue(QString::fromLatin1(key.section), QString::fromLatin1(key.key), key.value);
        setExtendedEditor(ini, s.workshopCommand, s.foundWorkshopCommand);
        ini.setValue(highlightsetting::section(), highlightsetting::key(), highlightsetting::valueFor(s.highlightTags));
    };
    makePrivateFolder(QFileInfo(file).absolutePath());
    if (!IniFile::update(file, compose))
        throw AppError(QStringLiteral("Unable to write to %1").arg(file));
}

void TOptionfrm::BitBtn1Click()
{
    SettingsStore& s = m_ctx.settings;
    s.msiePath = IElocationEd->text();
    s.netscapePath = NClocationEd->text();
    s.browser3Path = AddBrEd->text();
    s.userMail = UserMailEd->text();
    s.userName = UserNameEd->text();
    s.workshopCommand = VHEd->text();
    try {
        writeSettingsFile();
    } catch (const AppError& error) {
        messageboxes::showError(*m_ctx.platform.prompts, error.message());
        return;
    }
    applyEditorFont(*m_ctx.memo1, s);
    accept();
}

void TOptionfrm::Button4Click()
{
    reject();
}
