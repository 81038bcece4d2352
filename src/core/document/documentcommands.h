#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "core/encoding/textencoding.h"

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
    /// `OpenBtnClick`: replaces the text by a file's, after asking about unsaved text.
    void open();
    /// `Save2Click`: writes under the current name, or asks for one. True when
    /// the text was written; false when the save dialog was cancelled.
    bool save();
    /// `SaveBtnClick`: asks for a name and writes. False when cancelled.
    bool saveAs();
    /// `FormCloseQuery`: true when the main window may close.
    bool closeQuery();
    /// "Кодировка › Windows-1251" / "UTF-8": the document is to be written
    /// in `charset` from now on. The text stays the same characters (in
    /// Windows-1251 those it lacks become `&#N;`), a `<meta>` charset
    /// declaration near the top is changed to match, and the document is
    /// modified.
    void convertTo(Charset charset);
    /// "Перечитать как ...": the document's file read again in `charset`,
    /// after asking about unsaved text as Open does.
    void rereadAs(Charset charset);

    /// True when the editing area holds text that was changed since it was
    /// last loaded, saved or created. An empty text counts only once a launch
    /// has written it into the file.
    bool hasUnsavedText() const;

    static QString newDocumentSkeleton();
    static QString newFramesetSkeleton();

    static QString openFilter() { return QStringLiteral("HTML files|*.ht*|Text ASCII|*.txt|All files|*.*"); }
    static QString saveFilter() { return QStringLiteral("HTML file|*.htm; *.html|Any file|*.*"); }

private:
    /// The document's file and the bytes it gets back when the user declines
    /// text that a launch wrote into it.
    struct Restore {
        QString fileName;
        QByteArray bytes;
        DocumentEncoding encoding;
    };

    /// Asks about unsaved text before it is replaced: Yes saves it under a
    /// chosen name, No lets it go (`declined` then names the file to restore
    /// once the new text is in place). False: nothing may change.
    bool settleUnsavedText(const QString& question, std::optional<Restore>& declined);
    std::optional<Restore> declinedTextOnDisk() const;
    /// Puts the bytes back when the file still holds what the launch wrote;
    /// true when it did. Throws AppError when the write fails.
    bool restore(const Restore& restore);
    void startNew(const QString& question, const QString& skeleton);
    /// The document becomes the one named `fileName`, in the title too; no
    /// launch has written its file yet.
    void takeName(const QString& fileName, bool modified);
    /// Writes the editing area's text into `fileName` and returns the bytes
    /// written; throws AppError with the system's reason, the file keeping
    /// its old content.
    QByteArray writeDocument(const QString& fileName);
    /// `bytes` (the text as just loaded or written) become the saved text.
    void takeSnapshot(const QByteArray& bytes);
    /// Loads `fileName` (in `charset`, or as its bytes show) as the document,
    /// with the snapshot, the name and the journal's offer.
    void load(const QString& fileName, std::optional<Charset> charset, std::optional<Restore> declined);

    AppContext& m_ctx;
};
