#pragma once

#include "core/document/appcontext.h"
#include "core/platform/apperror.h"

#include <QMainWindow>
#include <QStringList>
#include <exception>
#include <memory>

class QAction;
class QMenu;
class QTextEdit;
class DocumentCommands;
class MarkupCommands;
class TextCommands;
class FindReplace;
class LaunchCommands;
class DocumentJournal;
class TagHighlighter;
class TPageCheck;

/// The main window: toolbar, editing area, main menu and context menu. Every
/// command of the program is one handler here, fired by whichever controls
/// name it in the command table; each handler names its command and leaves
/// the work to its subsystem.
class Tmain : public QMainWindow, public WindowServices {
    Q_OBJECT

public:
    /// Creates the window and runs its start-up sequence with the program's
    /// command-line arguments (without the program name).
    Tmain(const Platform& platform, const QStringList& arguments, QWidget* parent = nullptr);
    ~Tmain() override;

    AppContext& context() { return m_ctx; }
    EditorBuffer* memo() const { return m_ctx.memo1; }
    /// The about box created at program start, shown by `About1Click`.
    void setAboutBox(QDialog* box) { m_aboutBox = box; }
    TagHighlighter& highlighter() { return *m_highlighter; }

    // What the commands may ask of the window.
    void setTitle(const QString& title) override;
    void activate() override;
    void showErrorBox(const QString& message) override;
    void showHighlighting(bool on) override;

    /// Runs a handler's work; an error that leaves it reaches the general
    /// error box and the program goes on.
    template <typename Work>
    void run(Work work);

public slots:
    // File
    void Neweditor1Click();
    void NewDocClick();
    void Newframeset1Click();
    void OpenBtnClick();
    void Save2Click();
    void SaveBtnClick();
    void PrintMClick();
    void Exit1Click();
    // Edit
    void Copy1Click();
    void Paste1Click();
    void Cut1Click();
    void Delete1Click();
    void SelectAll1Click();
    void Nospase1Click();
    void Replace1Click();
    void Wordwrap1Click();
    void Undo1Click();
    void Redo1Click();
    // View
    void Netscape1Click();
    void MSIE1Click();
    void Anybrowser1Click();
    void RunWorkshop1Click();
    void Options1Click();
    void Highlight1Click();
    void Win12511Click();
    void Utf81Click();
    void RereadWin12511Click();
    void RereadUtf81Click();
    // Style
    void Font1Click();
    void Bold1Click();
    void Italic1Click();
    void BolditaliC1Click();
    void Fixed1Click();
    void Return1Click();
    void Paragraph1Click();
    void Numbers1Click();
    void List1Click();
    void LisT2Click();
    void MenuListClick();
    void Left1Click();
    void Right1Click();
    void Center1Click();
    // Insert
    void Link1Click();
    void Linkfile1Click();
    void Line1Click();
    void Picture1Click();
    void Find1Click();
    void Table1Click();
    void Row1Click();
    void Cell1Click();
    void Caption1Click();
    // Extra
    void Meat1Click();
    void Frames1Click();
    void Style2Click();
    void Jheader1Click();
    void JArray1Click();
    void JFunction1Click();
    void JFor1Click();
    void JWhile1Click();
    void Formempty1Click();
    void Button1Click();
    void ComboBox1Click();
    void Text1Click();
    void Textfield1Click();
    void SubmitFMClick();
    void ResetFMClick();
    void Checkpage1Click();
    // Help
    void Howtouse1Click();
    void About1Click();
    void BrannocSoftware1Click();
    // Context menu
    void N9Click();
    void N10Click();
    // Window, editing-area and dialog events
    void FormCreate(const QStringList& arguments);
    bool FormCloseQuery();
    void Memo1Change();
    void ReplaceDlgFind();
    void ReplaceDlgReplace();
    void RunWithDocument(const QString& program);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void markup(const char* command);
    void buildWindow();
    void buildMenus();
    void buildToolbar(QWidget* panel);
    void buildPopup();
    void centreOnScreen();
    /// Undo and redo stand enabled only with something to undo or redo.
    void showHistoryState();
    /// Ends every command: the journal records what the command did.
    void afterCommand();
    /// Caret to a place the page check names, the editing area focused.
    void goToPlace(int line, int column);

    AppContext m_ctx;
    std::unique_ptr<DocumentCommands> m_documents;
    std::unique_ptr<MarkupCommands> m_markup;
    std::unique_ptr<TextCommands> m_text;
    std::unique_ptr<FindReplace> m_findReplace;
    std::unique_ptr<LaunchCommands> m_launch;
    std::unique_ptr<DocumentJournal> m_journal;
    QMenu* m_popup = nullptr;
    QAction* m_wordWrapItem = nullptr;
    bool m_wordWrap = false;
    QAction* m_highlightItem = nullptr;
    /// The radio items of "Кодировка", by the charset each stands for.
    QAction* m_windows1251Item = nullptr;
    QAction* m_utf8Item = nullptr;
    /// Checks the radio item of the document's encoding.
    void showEncoding();
    QAction* m_undoItem = nullptr;
    QAction* m_redoItem = nullptr;
    TagHighlighter* m_highlighter = nullptr;
    QDialog* m_aboutBox = nullptr;
    TPageCheck* m_pageCheck = nullptr; ///< made by the first check
};

template <typename Work>
void Tmain::run(Work work)
{
    try {
        work();
    } catch (const AppError& error) {
        showErrorBox(error.message());
    } catch (const std::exception& error) {
        showErrorBox(QString::fromLocal8Bit(error.what()));
    }
    afterCommand();
}
