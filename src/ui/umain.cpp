#include "ui/umain.h"

#include "core/document/documentcommands.h"
#include "core/document/documentjournal.h"
#include "core/document/savedtextsnapshot.h"
#include "core/document/startup.h"
#include "core/platform/apperror.h"
#include "core/platform/branding.h"
#include "core/platform/messageboxes.h"
#include "core/platform/systemdirs.h"
#include "core/settings/highlightsetting.h"
#include "core/text/editorbuffer.h"
#include "launch/launchcommands.h"
#include "markup/markupcommands.h"
#include "tools/findreplace.h"
#include "tools/printing.h"
#include "tools/textcommands.h"
#include "ui/Unit2.h"
#include "ui/commandtable.h"
#include "ui/earlysizing.h"
#include "ui/optionscommand.h"
#include "ui/pagecheckwindow.h"
#include "ui/pictures.h"
#include "ui/taghighlighter.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSet>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

Tmain::Tmain(const Platform& platform, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("main"));
    m_ctx.window = this;
    m_ctx.platform = platform;
    loadPictures();
    buildWindow();
    m_documents = std::make_unique<DocumentCommands>(m_ctx);
    m_markup = std::make_unique<MarkupCommands>(m_ctx);
    m_text = std::make_unique<TextCommands>(m_ctx);
    m_findReplace = std::make_unique<FindReplace>(m_ctx, this);
    m_findReplace->setHandlers([this] { ReplaceDlgFind(); }, [this] { ReplaceDlgReplace(); });
    m_launch = std::make_unique<LaunchCommands>(m_ctx, this);
    m_journal = std::make_unique<DocumentJournal>(m_ctx, DocumentJournal::folderIn(platform.dirs->stateDirectory()));
    m_ctx.journal = m_journal.get();
    // While the editing area is empty: a page loaded at start-up then needs
    // no second layout pass when the window shows.
    earlysizing::deliverPendingSizes(*this);
    FormCreate(arguments);
    // Start-up sets it with the settings, unless it stopped before.
    showHighlighting(m_ctx.settings.highlightTags);
}

Tmain::~Tmain() = default;

void Tmain::showErrorBox(const QString& message)
{
    messageboxes::showError(*m_ctx.platform.prompts, message);
}

void Tmain::setTitle(const QString& title)
{
    setWindowTitle(title);
}

void Tmain::activate()
{
    activateWindow();
}

void Tmain::showHighlighting(bool on)
{
    m_highlightItem->setChecked(on);
    m_highlighter->setEnabled(on);
}

// Window --------------------------------------------------------------------

void Tmain::buildWindow()
{
    setWindowTitle(branding::windowTitleBase());
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* panel = new QWidget(client);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(33);
    auto* bevel = new QFrame(panel);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(0, 0, 4000, 2);
    buildToolbar(panel);
    layout->addWidget(panel);

    m_ctx.memo1 = new EditorBuffer(client);
    layout->addWidget(m_ctx.memo1);
    setCentralWidget(client);
    connect(m_ctx.memo1, &EditorBuffer::changed, this, &Tmain::Memo1Change);
    // Reported once the widget's own event is over, as any other error is.
    connect(m_ctx.memo1, &EditorBuffer::refused, this, &Tmain::showErrorBox, Qt::QueuedConnection);
    m_highlighter = new TagHighlighter(m_ctx.memo1);

    m_ctx.memo2 = new SavedTextSnapshot(this);
    m_ctx.richEdit1 = new QTextEdit(this);
    m_ctx.richEdit1->setObjectName(QStringLiteral("RichEdit1"));
    m_ctx.richEdit1->setPlainText(QStringLiteral("RichEdit1"));
    m_ctx.richEdit1->hide();

    buildMenus();
    buildPopup();
    resize(600, 410);
    centreOnScreen();
}

void Tmain::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setFont(QGuiApplication::font());
    const auto& rows = menuTable();

    QSet<QString> parents;
    for (const MenuRow& row : rows)
        parents.insert(QString::fromUtf8(row.parent));

    QHash<QString, QMenu*> menus;
    QHash<QString, QActionGroup*> radioGroups;
    QList<QKeySequence> claimed;
    for (const MenuRow& row : rows) {
        const QString item = QString::fromUtf8(row.item);
        const QString caption = QString::fromUtf8(row.caption);
        const QString parentName = QString::fromUtf8(row.parent);
        if (parentName == QLatin1String("MainMenu1")) {
            QMenu* menu = bar->addMenu(caption);
            menu->setObjectName(item);
            menu->menuAction()->setObjectName(item + QStringLiteral("Item"));
            menus.insert(item, menu);
            continue;
        }
        QMenu* parentMenu = menus.value(parentName);
        if (parents.contains(item)) {
            QMenu* submenu = parentMenu->addMenu(caption);
            submenu->setObjectName(item);
            submenu->menuAction()->setObjectName(item + QStringLiteral("Item"));
            menus.insert(item, submenu);
            continue;
        }
        QAction* action = caption == QLatin1String("-") ? parentMenu->addSeparator() : parentMenu->addAction(caption);
        action->setObjectName(item);
        if (row.shortcut) {
            const QKeySequence key(QString::fromLatin1(row.shortcut), QKeySequence::PortableText);
            // The first item in menu order that bears a key runs it; a later
            // one only shows the key, so Qt never sees an ambiguous shortcut.
            if (claimed.contains(key)) {
                action->setText(caption + u'\t' + key.toString(QKeySequence::NativeText));
            } else {
                action->setShortcut(key);
                claimed.append(key);
            }
        }
        if (row.checkable) {
            action->setCheckable(true);
            if (row.radio) {
                QActionGroup*& group = radioGroups[parentName];
                if (!group)
                    group = new QActionGroup(parentMenu);
                group->addAction(action);
            }
            if (item == QLatin1String("Win12511"))
                m_windows1251Item = action;
            if (item == QLatin1String("Utf81"))
                m_utf8Item = action;
            if (item == QLatin1String("Wordwrap1"))
                m_wordWrapItem = action;
            if (item == QLatin1String("Highlight1"))
                m_highlightItem = action;
        }
        if (row.handler) {
            const Handler handler = row.handler;
            connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        }
    }
    m_ctx.memo1->setClaimedShortcuts(claimed);
    m_undoItem = bar->findChild<QAction*>(QStringLiteral("Undo1"));
    m_redoItem = bar->findChild<QAction*>(QStringLiteral("Redo1"));
    connect(m_ctx.memo1, &EditorBuffer::historyChanged, this, &Tmain::showHistoryState);
    connect(m_ctx.memo1, &EditorBuffer::encodingRestored, this, &Tmain::showEncoding);
    showHistoryState();
}

void Tmain::showHistoryState()
{
    m_undoItem->setEnabled(m_ctx.memo1->canUndo());
    m_redoItem->setEnabled(m_ctx.memo1->canRedo());
}

void Tmain::buildToolbar(QWidget* panel)
{
    for (const ToolbarRow& row : toolbarTable()) {
        auto* button = new QToolButton(panel);
        const QString item = QString::fromUtf8(row.item);
        button->setObjectName(item);
        button->setGeometry(row.x, 6, row.width, 25);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(QString::fromUtf8(row.hint));
        if (row.face == ButtonFace::Picture) {
            button->setIcon(QIcon(QStringLiteral(":/toolbar/%1.png").arg(item)));
            button->setIconSize(QSize(16, 16));
        } else {
            QFont face(row.face == ButtonFace::Fixed ? QStringLiteral("Courier") : QStringLiteral("Times New Roman"));
            face.setPixelSize(row.face == ButtonFace::Fixed ? 11 : 15);
            face.setBold(row.face == ButtonFace::Bold || row.face == ButtonFace::BoldItalic);
            face.setItalic(row.face == ButtonFace::Italic || row.face == ButtonFace::BoldItalic);
            button->setFont(face);
            button->setText(QString::fromUtf8(row.caption));
            QPalette palette = button->palette();
            palette.setColor(QPalette::ButtonText, Qt::black);
            button->setPalette(palette);
        }
        const Handler handler = row.handler;
        connect(button, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
    }
}

void Tmain::buildPopup()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    for (const PopupRow& row : popupTable()) {
        const QString caption = QString::fromUtf8(row.caption);
        QAction* action = caption == QLatin1String("-") ? m_popup->addSeparator() : m_popup->addAction(caption);
        action->setObjectName(QString::fromUtf8(row.item));
        if (row.handler) {
            const Handler handler = row.handler;
            connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        }
    }
    connect(m_ctx.memo1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_popup->popup(m_ctx.memo1->viewport()->mapToGlobal(pos)); });
}

void Tmain::centreOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void Tmain::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

// Window, editing-area and dialog events -------------------------------------

void Tmain::FormCreate(const QStringList& arguments)
{
    run([&] { runStartupSequence(m_ctx, arguments); });
    // After the settings and the document, before the window shows.
    run([&] { m_journal->startUp(); });
}

void Tmain::afterCommand()
{
    if (m_journal)
        m_journal->checkpoint();
    showEncoding();
}

void Tmain::showEncoding()
{
    const bool utf8 = m_ctx.memo1->encoding().isUtf8();
    m_utf8Item->setChecked(utf8);
    m_windows1251Item->setChecked(!utf8);
}

bool Tmain::FormCloseQuery()
{
    // A failed save inside the close query keeps the window open.
    bool mayClose = false;
    run([&] { mayClose = m_documents->closeQuery(); });
    return mayClose;
}

void Tmain::Memo1Change()
{
    m_ctx.doc.modified = true;
}

void Tmain::ReplaceDlgFind() { run([&] { m_findReplace->find(); }); }
void Tmain::ReplaceDlgReplace() { run([&] { m_findReplace->replace(); }); }
void Tmain::RunWithDocument(const QString& program) { run([&] { m_launch->runWithDocument(program); }); }

// File ------------------------------------------------------------------------

void Tmain::Neweditor1Click() { run([&] { m_launch->newEditor(); }); }
void Tmain::NewDocClick() { run([&] { m_documents->newDocument(); }); }
void Tmain::Newframeset1Click() { run([&] { m_documents->newFrameset(); }); }
void Tmain::OpenBtnClick() { run([&] { m_documents->open(); }); }
void Tmain::Save2Click() { run([&] { m_documents->save(); }); }
void Tmain::SaveBtnClick() { run([&] { m_documents->saveAs(); }); }
void Tmain::PrintMClick() { run([&] { printDocument(m_ctx); }); }
void Tmain::Exit1Click() { close(); }

// Edit ------------------------------------------------------------------------

void Tmain::Copy1Click() { run([&] { m_text->copy(); }); }
void Tmain::Paste1Click() { run([&] { m_text->paste(); }); }
void Tmain::Cut1Click() { run([&] { m_text->cut(); }); }
void Tmain::Delete1Click() { run([&] { m_text->clearAll(); }); }
void Tmain::SelectAll1Click() { run([&] { m_text->selectAll(); }); }
void Tmain::Nospase1Click() { run([&] { m_text->removeSpaces(); }); }
void Tmain::Replace1Click() { run([&] { m_findReplace->show(); }); }
void Tmain::Undo1Click() { run([&] { m_ctx.memo1->undoStep(); }); }
void Tmain::Redo1Click() { run([&] { m_ctx.memo1->redoStep(); }); }

void Tmain::Wordwrap1Click()
{
    // The check mark is the state; the text and the Modified flag stay as they are.
    m_wordWrap = !m_wordWrap;
    m_wordWrapItem->setChecked(m_wordWrap);
    EditorBuffer* memo = m_ctx.memo1;
    memo->setLineWrapMode(m_wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    memo->setWordWrapMode(m_wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    memo->setHorizontalScrollBarPolicy(m_wordWrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

// View ------------------------------------------------------------------------

void Tmain::Netscape1Click() { run([&] { m_launch->netscape(); }); }
void Tmain::MSIE1Click() { run([&] { m_launch->msie(); }); }
void Tmain::Anybrowser1Click() { run([&] { m_launch->anyBrowser(); }); }
void Tmain::RunWorkshop1Click() { run([&] { m_launch->runWorkshop(); }); }
void Tmain::Options1Click() { run([&] { showOptionsDialog(m_ctx, this); }); }

void Tmain::Highlight1Click()
{
    // The check mark and the colours follow the choice for this run even
    // when the key cannot be written.
    const bool on = !m_ctx.settings.highlightTags;
    m_ctx.settings.highlightTags = on;
    showHighlighting(on);
    run([&] { highlightsetting::write(m_ctx.settings.settingsFileName, on); });
}

void Tmain::Win12511Click() { run([&] { m_documents->convertTo(Charset::Windows1251); }); }
void Tmain::Utf81Click() { run([&] { m_documents->convertTo(Charset::Utf8); }); }
void Tmain::RereadWin12511Click() { run([&] { m_documents->rereadAs(Charset::Windows1251); }); }
void Tmain::RereadUtf81Click() { run([&] { m_documents->rereadAs(Charset::Utf8); }); }

// Markup ----------------------------------------------------------------------

void Tmain::markup(const char* command)
{
    run([&] { m_markup->apply(QString::fromLatin1(command)); });
}

void Tmain::Font1Click() { markup("Font1"); }
void Tmain::Bold1Click() { markup("Bold1"); }
void Tmain::Italic1Click() { markup("Italic1"); }
void Tmain::BolditaliC1Click() { markup("BolditaliC1"); }
void Tmain::Fixed1Click() { markup("Fixed1"); }
void Tmain::Return1Click() { markup("Return1"); }
void Tmain::Paragraph1Click() { markup("Paragraph1"); }
void Tmain::Numbers1Click() { markup("Numbers1"); }
void Tmain::List1Click() { markup("List1"); }
void Tmain::LisT2Click() { markup("LisT2"); }
void Tmain::MenuListClick() { markup("MenuList"); }
void Tmain::Left1Click() { markup("Left1"); }
void Tmain::Right1Click() { markup("Right1"); }
void Tmain::Center1Click() { markup("Center1"); }
void Tmain::N9Click() { markup("N9"); }
void Tmain::N10Click() { markup("N10"); }

void Tmain::Link1Click() { markup("Link1"); }
void Tmain::Linkfile1Click() { run([&] { m_markup->linkToFile(); }); }
void Tmain::Line1Click() { markup("Line1"); }
void Tmain::Picture1Click() { markup("Picture1"); }
void Tmain::Find1Click() { run([&] { m_markup->imageFromFile(); }); }
void Tmain::Table1Click() { markup("Table1"); }
void Tmain::Row1Click() { markup("Row1"); }
void Tmain::Cell1Click() { markup("Cell1"); }
void Tmain::Caption1Click() { markup("Caption1"); }

void Tmain::Meat1Click() { markup("Meat1"); }
void Tmain::Frames1Click() { markup("Frames1"); }
void Tmain::Style2Click() { markup("Style2"); }
void Tmain::Jheader1Click() { markup("Jheader1"); }
void Tmain::JArray1Click() { markup("JArray1"); }
void Tmain::JFunction1Click() { markup("JFunction1"); }
void Tmain::JFor1Click() { markup("JFor1"); }
void Tmain::JWhile1Click() { markup("JWhile1"); }
void Tmain::Formempty1Click() { markup("Formempty1"); }
void Tmain::Button1Click() { markup("Button1"); }
void Tmain::ComboBox1Click() { markup("ComboBox1"); }
void Tmain::Text1Click() { markup("Text1"); }
void Tmain::Textfield1Click() { markup("Textfield1"); }
void Tmain::SubmitFMClick() { markup("SubmitFM"); }
void Tmain::ResetFMClick() { markup("ResetFM"); }

void Tmain::Checkpage1Click()
{
    run([&] {
        if (!m_pageCheck) {
            m_pageCheck = new TPageCheck(m_ctx.memo1, this);
            connect(m_pageCheck, &TPageCheck::placeChosen, this, &Tmain::goToPlace);
        }
        m_pageCheck->checkNow();
    });
}

void Tmain::goToPlace(int line, int column)
{
    m_ctx.memo1->goToLine(line - 1, column - 1);
    activateWindow();
    m_ctx.memo1->setFocus();
}

// Help ------------------------------------------------------------------------

void Tmain::Howtouse1Click()
{
    // A fresh dialog every time, released once it has closed.
    run([&] {
        auto* tips = new TAboutBox1(this);
        tips->exec();
        tips->deleteLater();
    });
}

void Tmain::About1Click()
{
    run([&] {
        if (m_aboutBox)
            m_aboutBox->exec();
    });
}
void Tmain::BrannocSoftware1Click() { run([&] { m_launch->brannocOnline(); }); }
