#pragma once

#include <QString>

struct AppContext;

/// New, open, save, save as and the close query: moving whole documents
/// between the editing area and files, keeping DocumentState, the window
/// title and the saved-text snapshot in step.
class DocumentCommands {
public:
    explicit DocumentCommands(AppContext& context);

    /// `NewDocClick`: the HTML document skeleton, after asking about unsaved text.
    void newDocument();
    /// `Newframeset1Click`: the frameset skeleton.
    void newFrameset();
    /// `OpenBtnClick`: replaces the text by a file's, without asking.
    void open();
    /// `Save2Click`: writes under the current name, or asks for one. True when
    /// the text was written; false when the save dialog was cancelled.
    bool save();
    /// `SaveBtnClick`: asks for a name and writes. False when cancelled.
    bool saveAs();
    /// `FormCloseQuery`: true when the main window may close.
    bool closeQuery();

    /// True when the editing area holds text that was changed since it was
    /// last loaded, saved or created. An empty text never counts.
    bool hasUnsavedText() const;

    static QString newDocumentSkeleton();
    static QString newFramesetSkeleton();

    static QString openFilter() { return QStringLiteral("HTML files|*.ht*|Text ASCII|*.txt|All files|*.*"); }
    static QString saveFilter() { return QStringLiteral("HTML file|*.htm; *.html|Any file|*.*"); }

private:
    void startNew(const QString& question, const QString& skeleton);
    /// Writes the editing area's text into `fileName`; throws AppError with
    /// the system's reason, the file keeping its old content.
    void writeDocument(const QString& fileName);
    void takeSnapshot();

    AppContext& m_ctx;
};
