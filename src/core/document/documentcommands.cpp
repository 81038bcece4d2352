#include "core/document/documentcommands.h"

#include "core/document/appcontext.h"
#include "core/document/diskfile.h"
#include "core/document/documentjournal.h"
#include "core/document/savedtextsnapshot.h"
#include "core/encoding/linebreaks.h"
#include "core/platform/apperror.h"
#include "core/platform/branding.h"
#include "core/platform/filewriter.h"
#include "core/platform/messageboxes.h"
#include "core/text/editorbuffer.h"

#include <QFileInfo>
#include <QStringList>

namespace {

const QString kSaveQuestion = QStringLiteral("Сохранить изменения?");

QString unsavedText() { return QStringLiteral("В окне несохраненный текст."); }
// The frameset command's message has a blank before the full stop.
QString unsavedTextFrameset() { return QStringLiteral("В окне несохраненный текст ."); }

} // namespace

DocumentCommands::DocumentCommands(AppContext& context)
    : m_ctx(context)
{
}

QString DocumentCommands::newDocumentSkeleton()
{
    return QStringList {
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"),
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral(" <TITLE> Untitled </TITLE>"),
        QStringLiteral("</HEAD>"),
        QStringLiteral("<BODY>"),
        QString(),
        QStringLiteral("</BODY>"),
        QStringLiteral("</HTML>"),
    }.join(linebreaks::crlf());
}

QString DocumentCommands::newFramesetSkeleton()
{
    return QStringList {
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Frameset//EN\">"),
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral(" <TITLE> Untitled </TITLE>"),
        QStringLiteral("</HEAD>"),
        QStringLiteral("<FRAMESET COLS=\"100,*\", ROWS=\"\">"),
        QStringLiteral(" <FRAME NAME=frame1 NORESIZE SRC=\" \">"),
        QStringLiteral(" <FRAME NAME=frame2 SRC=\" \">"),
        QStringLiteral("</FRAMESET>"),
        QStringLiteral("<NOFRAMES>"),
        QString(),
        QStringLiteral("</NOFRAMES>"),
        QStringLiteral("</HTML>"),
    }.join(linebreaks::crlf());
}

bool DocumentCommands::hasUnsavedText() const
{
    // An empty text counts once a launch has written it into the file: the
    // file then holds nothing of what was last loaded or saved.
    return m_ctx.doc.modified && (m_ctx.memo1->textLength() > 0 || m_ctx.doc.launchWroteFile);
}

void DocumentCommands::newDocument()
{
    startNew(unsavedText(), newDocumentSkeleton());
}

void DocumentCommands::newFrameset()
{
    startNew(unsavedTextFrameset(), newFramesetSkeleton());
}

bool DocumentCommands::settleUnsavedText(const QString& question, std::optional<Restore>& declined)
{
    if (!hasUnsavedText())
        return true;
    const Answer answer = messageboxes::askConfirm(*m_ctx.platform.prompts,
                                                   messageboxes::twoLines(question, kSaveQuestion),
                                                   { Answer::Yes, Answer::No, Answer::Cancel }, Answer::Yes,
                                                   Answer::Cancel);
    // A user who asked to save and then cancelled the file dialog still
    // wants the text: it is not replaced.
    if (answer == Answer::Yes)
        return saveAs();
    if (answer != Answer::No)
        return false;
    declined = declinedTextOnDisk();
    return true;
}

std::optional<DocumentCommands::Restore> DocumentCommands::declinedTextOnDisk() const
{
    const DocumentState& doc = m_ctx.doc;
    if (!doc.launchWroteFile || doc.isUntitled())
        return std::nullopt;
    return Restore { doc.fileName, m_ctx.memo2->bytes(), m_ctx.memo2->encoding() };
}

bool DocumentCommands::restore(const Restore& restore)
{
    // Only the bytes this editor's launch wrote are taken back: whatever
    // another program (the extended editor) saved since stays.
    if (!diskfile::holdsLaunchBytes(m_ctx.doc, restore.fileName))
        return false;
    QString reason;
    if (!filewriter::writeFile(restore.fileName, restore.bytes, &reason))
        throw AppError(QStringLiteral("Cannot create file %1: %2").arg(restore.fileName, reason));
    m_ctx.doc.launchFile.clear();
    if (restore.fileName == m_ctx.doc.stampedFile)
        diskfile::remember(m_ctx.doc, restore.fileName);
    return true;
}

void DocumentCommands::startNew(const QString& question, const QString& skeleton)
{
    std::optional<Restore> declined;
    if (!settleUnsavedText(question, declined))
        return;
    m_ctx.memo1->clearText();
    // New documents are Windows-1251, whatever was open before.
    m_ctx.memo1->setEncoding({});
    m_ctx.memo1->setText(skeleton);
    m_ctx.memo1->clearHistory();
    takeName(DocumentState::untitledFileName(), true);
    if (declined)
        restore(*declined);
    if (m_ctx.journal)
        m_ctx.journal->documentReset();
}

void DocumentCommands::open()
{
    std::optional<Restore> declined;
    if (!settleUnsavedText(unsavedText(), declined))
        return;
    FileDialogSpec request;
    request.filter = openFilter();
    request.filterIndex = 1;
    request.fileMustExist = true;
    const auto chosen = m_ctx.platform.prompts->openFile(request);
    if (!chosen)
        return;
    load(chosen->fileName, std::nullopt, std::move(declined));
}

void DocumentCommands::rereadAs(Charset charset)
{
    std::optional<Restore> declined;
    if (!settleUnsavedText(unsavedText(), declined))
        return;
    load(m_ctx.doc.fileName, charset, std::move(declined));
}

void DocumentCommands::load(const QString& fileName, std::optional<Charset> charset, std::optional<Restore> declined)
{
    // Opening the declined file again shows it as last saved.
    if (declined && diskfile::sameFile(fileName, declined->fileName)) {
        restore(*declined);
        declined.reset();
    }
    // The buffer is replaced only by a successful load: after a failure the
    // previous text, name, title and snapshot all stay together.
    const QByteArray loaded = m_ctx.memo1->loadFromFile(fileName, charset);
    diskfile::remember(m_ctx.doc, fileName);
    takeSnapshot(loaded);
    takeName(fileName, false);
    m_ctx.saveDlgFileName = fileName;
    if (declined)
        restore(*declined);
    if (m_ctx.journal)
        m_ctx.journal->offerRecovery();
}

void DocumentCommands::takeName(const QString& fileName, bool modified)
{
    m_ctx.window->setTitle(branding::documentWindowTitle(fileName));
    m_ctx.doc.fileName = fileName;
    m_ctx.doc.modified = modified;
    m_ctx.doc.launchWroteFile = false;
}

bool DocumentCommands::saveAs()
{
    FileDialogSpec request;
    request.filter = saveFilter();
    request.filterIndex = 1;
    request.fileName = m_ctx.saveDlgFileName;
    request.defaultExtension = QStringLiteral("htm");
    request.confirmOverwrite = false;
    const auto chosen = m_ctx.platform.prompts->saveFile(request);
    if (!chosen)
        return false;
    const QString fileName = chosen->fileName;
    const bool otherFile = !diskfile::sameFile(fileName, m_ctx.doc.fileName);
    if (otherFile && QFileInfo::exists(fileName)) {
        const QString question = messageboxes::twoLines(QStringLiteral("Файл %1 уже существует.").arg(fileName),
                                                        QStringLiteral("Заменить его?"));
        if (messageboxes::askConfirm(*m_ctx.platform.prompts, question, { Answer::Yes, Answer::No }, Answer::No,
                                     Answer::No)
            != Answer::Yes)
            return false;
    } else if (!diskfile::mayOverwrite(m_ctx.doc, *m_ctx.platform.prompts, fileName)) {
        return false;
    }
    m_ctx.saveDlgFileName = fileName;
    // Leaving a file that holds a launch's unsaved text: it gets back what was last saved there.
    const std::optional<Restore> declined = otherFile ? declinedTextOnDisk() : std::nullopt;
    // The name becomes the document's only once the file holds the text, so
    // the title always names the file that Save writes.
    const QByteArray written = writeDocument(fileName);
    m_ctx.doc.fileName = fileName;
    m_ctx.doc.modified = false;
    m_ctx.window->setTitle(branding::documentWindowTitle(fileName));
    takeSnapshot(written);
    if (declined)
        restore(*declined);
    return true;
}

bool DocumentCommands::save()
{
    const QString& fileName = m_ctx.doc.fileName;
    // The untitled document, or one start-up stopped before naming, has no
    // file to write: its name is asked for.
    if (m_ctx.doc.isUntitled())
        return saveAs();
    if (!diskfile::mayOverwrite(m_ctx.doc, *m_ctx.platform.prompts, fileName))
        return false;
    const QByteArray written = writeDocument(fileName);
    m_ctx.doc.modified = false;
    takeSnapshot(written);
    return true;
}

bool DocumentCommands::closeQuery()
{
    if (!hasUnsavedText())
        return true;
    const Answer answer = messageboxes::askConfirm(*m_ctx.platform.prompts,
                                                   messageboxes::twoLines(unsavedText(), kSaveQuestion),
                                                   { Answer::Yes, Answer::No, Answer::Cancel }, Answer::Yes,
                                                   Answer::Cancel);
    switch (answer) {
    case Answer::Cancel:
    case Answer::Ok:
        return false;
    case Answer::Yes:
        // A cancelled save dialog keeps the window and its text.
        return save();
    case Answer::No:
        // A preview wrote the declined edits into the file: it gets back the
        // text as last loaded or saved, which the editor then shows too.
        if (const std::optional<Restore> declined = declinedTextOnDisk(); declined && restore(*declined)) {
            m_ctx.memo1->setEncoding(declined->encoding);
            m_ctx.memo1->setText(textencoding::decode(declined->bytes, declined->encoding));
            m_ctx.memo1->clearHistory();
            m_ctx.doc.modified = false;
        }
        return true;
    }
    return true;
}

QByteArray DocumentCommands::writeDocument(const QString& fileName)
{
    QString reason;
    const QByteArray bytes = m_ctx.memo1->toBytes();
    if (!filewriter::writeFile(fileName, bytes, &reason))
        throw AppError(QStringLiteral("Cannot create file %1: %2").arg(fileName, reason));
    diskfile::remember(m_ctx.doc, fileName);
    return bytes;
}

void DocumentCommands::takeSnapshot(const QByteArray& bytes)
{
    m_ctx.memo2->setBytes(bytes, m_ctx.memo1->encoding(), m_ctx.memo1->textLength());
    // The text now stands as loaded or saved: the journal of its edits goes.
    if (m_ctx.journal)
        m_ctx.journal->documentReset();
}

void DocumentCommands::convertTo(Charset charset)
{
    EditorBuffer& memo = *m_ctx.memo1;
    if (memo.encoding().charset == charset)
        return;
    const QString text = memo.text();
    const qsizetype caret = memo.selStart();
    const DocumentEncoding before = memo.encoding();
    const quint64 recordings = memo.history().recordings();
    // A mark goes with UTF-8 only as a file had it; a conversion adds none.
    memo.setEncoding({ charset, false });
    const auto declaration = textencoding::findCharsetDeclaration(text);
    const QString name = textencoding::declarationName(charset);
    if (memo.admitted(text) != text) {
        // Characters Windows-1251 lacks become references: the whole text.
        QString converted = text;
        if (declaration)
            converted.replace(declaration->start, declaration->length, name);
        memo.setText(converted);
        memo.setSelStart(qMin(caret, memo.textLength()));
    } else if (declaration && declaration->value != name) {
        // Only the declaration changes, so bytes and declaration agree.
        memo.setSelStart(declaration->start);
        memo.setSelLength(declaration->length);
        memo.setSelText(name);
        const qsizetype shift = caret > declaration->start ? name.size() - declaration->length : 0;
        memo.setSelStart(qMax<qsizetype>(0, caret + shift));
    }
    memo.noteEncodingChange(before, recordings);
    m_ctx.doc.modified = true;
    if (m_ctx.journal)
        m_ctx.journal->encodingChanged();
}
