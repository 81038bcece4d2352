#include "core/document/documentjournal.h"

#include "core/document/appcontext.h"
#include "core/document/diskfile.h"
#include "core/document/savedtextsnapshot.h"
#include "core/encoding/linebreaks.h"
#include "core/journal/journalscan.h"
#include "core/journal/journalwriter.h"
#include "core/platform/filewriter.h"
#include "core/platform/messageboxes.h"
#include "core/text/editorbuffer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTextDocument>

namespace {

// The untitled document shares one key, the empty one, whatever its name.
QString journalKey(const DocumentState& doc)
{
    return doc.isUntitled() ? QString() : journalscan::documentKey(doc.fileName);
}

} // namespace

struct DocumentJournal::Pending {
    bool rewrite = false; // a full copy: `bytes`, or `text` when bytes is null
    QByteArray bytes;
    QString text;
    qint64 position = 0;
    qint64 removed = 0;
};

DocumentJournal::DocumentJournal(AppContext& context, const QString& folder)
    : m_ctx(context)
    , m_folder(folder)
{
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(0);
    connect(&m_flushTimer, &QTimer::timeout, this, &DocumentJournal::flush);
    m_reportTimer.setSingleShot(true);
    m_reportTimer.setInterval(kTypingPauseMs);
    connect(&m_reportTimer, &QTimer::timeout, this, &DocumentJournal::showFailure);
    if (m_folder.isEmpty())
        return;
    connect(m_ctx.memo1->document(), &QTextDocument::contentsChange, this, &DocumentJournal::contentsChange);
    connect(m_ctx.memo1, &EditorBuffer::textReplaced, this, &DocumentJournal::textReplaced);
    connect(m_ctx.memo1, &EditorBuffer::encodingRestored, this, &DocumentJournal::encodingChanged);
    trackLength();
}

DocumentJournal::~DocumentJournal() = default;

QString DocumentJournal::folderIn(const QString& stateDirectory)
{
    return stateDirectory.isEmpty() ? QString() : QDir(stateDirectory).filePath(QStringLiteral("quillet"));
}

QString DocumentJournal::path() const
{
    return m_writer ? m_writer->path() : QString();
}

void DocumentJournal::waitIdle()
{
    flush();
    if (m_writer)
        m_writer->waitIdle();
}

void DocumentJournal::trackLength()
{
    m_length = m_ctx.memo1->textLength();
    m_characters = m_ctx.memo1->document()->characterCount() - 1;
}

void DocumentJournal::startUp()
{
    if (m_folder.isEmpty())
        return;
    // The journal is made now, before anything is typed: a folder that
    // cannot take it is reported while no keystroke can go into the box.
    if (!ensureWriter())
        showFailure();
    journalscan::removeStale(m_folder, path(), QDateTime::currentDateTime());
    documentReset();
    offerRecovery();
}

void DocumentJournal::documentReset()
{
    m_pending.clear();
    m_started = false;
    m_creationFailed = false;
    if (m_writer)
        m_writer->discard();
}

void DocumentJournal::contentsChange(int position, int removed, int added)
{
    // Typing goes on: a waiting error report waits for the next pause.
    if (m_reportTimer.isActive())
        m_reportTimer.start();
    // A whole text going in is journaled once it stands (textReplaced).
    if (m_ctx.memo1->replacingText())
        return;
    const qint64 oldLength = m_length;
    const int oldCharacters = m_characters;
    // The change notification that sets Modified comes after this one.
    const bool pristine = !m_ctx.doc.modified;
    trackLength();
    if (m_suspended || m_creationFailed)
        return;

    // Replacing the whole text, the widget counts its end-of-text mark in
    // (removed and added again); that mark is never text.
    added = qMin(added, m_characters - position);
    removed = qMin(removed, oldCharacters - position);
    if (added == 0 && removed == 0)
        return;
    // In document characters: a line break counts two, the join between the
    // pieces of a long line nothing.
    const EditorBuffer& memo = *m_ctx.memo1;
    const qint64 at = memo.toDocumentPosition(position);
    const qint64 gone = oldLength - (m_length - (memo.toDocumentPosition(position + added) - at));
    const bool consistent = removed >= 0 && added >= 0 && gone >= 0 && gone <= 2 * qint64(removed) && at + gone <= oldLength;

    Pending change;
    if (!consistent) {
        // Numbers that do not add up are never journaled as an edit.
        change.rewrite = true;
        change.bytes = m_ctx.memo1->toBytes();
    } else if (at == 0 && gone == oldLength) {
        change.rewrite = true;
        // A command's text that replaced everything is the whole new text:
        // taken as it went in rather than read back from the blocks.
        const QString& incoming = memo.incomingText();
        const bool whole = !incoming.isEmpty() && linebreaks::documentLength(incoming) == m_length;
        change.text = whole ? incoming : memo.editorText(position, position + added);
    } else {
        change.position = at;
        change.removed = gone;
        change.text = memo.editorText(position, position + added);
        if (!m_started) {
            // The first edit since the document stood as loaded or saved: the
            // snapshot is the text it changed, so nothing is read back.
            Pending base;
            base.rewrite = true;
            const SavedTextSnapshot& saved = *m_ctx.memo2;
            if (pristine && saved.length() == oldLength && saved.encoding() == memo.encoding()) {
                base.bytes = m_ctx.memo2->bytes();
                if (base.bytes.isNull())
                    base.bytes = QByteArray("");
                m_pending.push_back(std::move(base));
            } else {
                base.bytes = m_ctx.memo1->toBytes();
                change = std::move(base);
            }
        }
    }
    m_started = true;
    m_pending.push_back(std::move(change));
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void DocumentJournal::textReplaced()
{
    trackLength();
    if (m_suspended || m_creationFailed)
        return;
    // The text as the editor now holds it, in the form it was handed over:
    // a line break where it has one, nothing where display blocks join.
    Pending change;
    change.rewrite = true;
    change.text = m_ctx.memo1->incomingText();
    m_started = true;
    m_pending.push_back(std::move(change));
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

bool DocumentJournal::ensureWriter()
{
    if (m_writer)
        return true;
    QString failedPath;
    m_writer = JournalWriter::create(m_folder, &failedPath);
    if (!m_writer) {
        m_creationFailed = true;
        reportFailure(failedPath);
        return false;
    }
    m_writer->setErrorHandler([this](const QString& path) {
        QMetaObject::invokeMethod(this, [this, path] { reportFailure(path); }, Qt::QueuedConnection);
    });
    return true;
}

void DocumentJournal::flush()
{
    m_flushTimer.stop();
    if (m_pending.empty())
        return;
    std::vector<Pending> pending;
    pending.swap(m_pending);
    if (!ensureWriter()) {
        m_started = false;
        return;
    }
    const journalformat::LaunchState launch = launchState();
    QString key;
    for (const Pending& change : pending) {
        if (change.rewrite) {
            // Looked up only here: typing never waits for the file system.
            if (key.isNull())
                key = journalKey(m_ctx.doc);
            m_writer->rewrite(key, launch, m_ctx.memo1->encoding(), change.bytes, change.text);
            recordedLaunch(launch);
        } else {
            m_writer->edit(change.position, change.removed, change.text);
        }
    }
}

void DocumentJournal::checkpoint()
{
    flush();
    if (!m_writer || !m_started)
        return;
    // Every preview writes the file again, so its fingerprint is news too.
    const journalformat::LaunchState launch = launchState();
    if (launch.wroteFile != m_recordedLaunch || launch.fingerprint != m_recordedFingerprint) {
        recordedLaunch(launch);
        m_writer->state(launch);
    }
}

journalformat::LaunchState DocumentJournal::launchState() const
{
    const DocumentState& doc = m_ctx.doc;
    journalformat::LaunchState launch;
    launch.wroteFile = doc.launchWroteFile;
    if (launch.wroteFile) {
        if (doc.launchFile == doc.fileName)
            launch.fingerprint = doc.launchFingerprint;
        launch.snapshot = m_ctx.memo2->bytes();
    }
    launch.snapshotEncoding = m_ctx.memo2->encoding();
    return launch;
}

void DocumentJournal::recordedLaunch(const journalformat::LaunchState& launch)
{
    m_recordedLaunch = launch.wroteFile;
    m_recordedFingerprint = launch.fingerprint;
}

void DocumentJournal::offerRecovery()
{
    if (m_folder.isEmpty())
        return;
    const QString key = journalKey(m_ctx.doc);
    const auto orphan = journalscan::newestOrphan(m_folder, key, path());
    if (!orphan)
        return;
    const QString name = key.isEmpty() ? DocumentState::untitledFileName() : m_ctx.doc.fileName;
    const QString time = QDateTime::fromMSecsSinceEpoch(orphan->content.lastTimeMs).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    const Answer answer = messageboxes::askConfirm(
        *m_ctx.platform.prompts,
        messageboxes::twoLines(QStringLiteral("Найден несохранённый текст документа %1 (%2).").arg(name, time),
                               QStringLiteral("Восстановить его?")),
        { Answer::Yes, Answer::No }, Answer::Yes, Answer::Cancel);
    if (answer == Answer::No) {
        // The orphan may hold the only copy of the saved text: it goes once
        // the file has that text back.
        if (!key.isEmpty() && !restoreDeclinedLaunch(orphan->content.launch))
            return;
        QFile::remove(orphan->path);
        return;
    }
    if (answer != Answer::Yes)
        return; // Escape or the close box: the journal waits for the next start

    const journalformat::Content& content = orphan->content;
    m_pending.clear();
    m_suspended = true;
    m_ctx.memo1->setEncoding(content.encoding);
    m_ctx.memo1->setText(journalformat::decodedText(content));
    m_ctx.memo1->clearHistory();
    m_suspended = false;
    trackLength();
    m_ctx.doc.modified = true;
    const journalformat::LaunchState& launch = content.launch;
    m_ctx.doc.launchWroteFile = launch.wroteFile;
    if (launch.wroteFile) {
        m_ctx.memo2->setBytes(launch.snapshot, launch.snapshotEncoding);
        if (!key.isEmpty())
            diskfile::recoverLaunchWrite(m_ctx.doc, m_ctx.doc.fileName, launch.fingerprint);
    }
    m_started = true;
    m_creationFailed = false;
    if (!ensureWriter())
        return; // the orphan stays: nothing else holds its text
    const journalformat::LaunchState kept = launchState();
    recordedLaunch(kept);
    // The orphan goes once this journal holds its text on the disk.
    if (content.encoding.isUtf8()) {
        // The journal's form is not a file's: the text goes over as text.
        m_writer->rewrite(key, kept, content.encoding, {}, m_ctx.memo1->editorText(0, m_characters), orphan->path);
    } else {
        m_writer->rewrite(key, kept, content.encoding, content.text, {}, orphan->path);
    }
}

void DocumentJournal::encodingChanged()
{
    if (m_folder.isEmpty() || m_creationFailed)
        return;
    // Whatever is still waiting was journaled in the old encoding.
    m_pending.clear();
    Pending whole;
    whole.rewrite = true;
    whole.text = m_ctx.memo1->editorText(0, m_characters);
    m_pending.push_back(std::move(whole));
    m_started = true;
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

bool DocumentJournal::restoreDeclinedLaunch(const journalformat::LaunchState& launch)
{
    if (!launch.wroteFile)
        return true;
    // Only the bytes the dead editor's preview wrote are taken back, as
    // closing with No would have done: whatever another program saved since stays.
    const QString fileName = m_ctx.doc.fileName;
    DocumentState written;
    diskfile::recoverLaunchWrite(written, fileName, launch.fingerprint);
    if (!diskfile::holdsLaunchBytes(written, fileName))
        return true;
    QString reason;
    if (!filewriter::writeFile(fileName, launch.snapshot, &reason)) {
        messageboxes::showError(*m_ctx.platform.prompts,
                                QStringLiteral("Cannot create file %1: %2").arg(fileName, reason));
        return false;
    }
    // The editor shows the file as it now stands.
    m_suspended = true;
    m_ctx.memo1->setEncoding(launch.snapshotEncoding);
    m_ctx.memo1->setText(textencoding::decode(launch.snapshot, launch.snapshotEncoding));
    m_ctx.memo1->clearHistory();
    m_suspended = false;
    trackLength();
    m_ctx.memo2->setBytes(launch.snapshot, launch.snapshotEncoding);
    diskfile::remember(m_ctx.doc, fileName);
    m_ctx.doc.modified = false;
    m_ctx.doc.launchWroteFile = false;
    documentReset();
    return true;
}

void DocumentJournal::reportFailure(const QString& path)
{
    // A message box takes the keys meant for the text: it waits until
    // typing pauses.
    if (m_reported || m_reportTimer.isActive())
        return;
    m_failedPath = path;
    m_reportTimer.start();
}

void DocumentJournal::showFailure()
{
    m_reportTimer.stop();
    if (m_reported)
        return;
    m_reported = true;
    messageboxes::showError(*m_ctx.platform.prompts, QStringLiteral("Unable to write to %1").arg(m_failedPath));
}
