#pragma once

#include "core/journal/journalformat.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <vector>

struct AppContext;
class JournalWriter;

/// Keeps the edit journal of the document in the editing area: every change
/// of the text becomes a journal record, so that text typed since the last
/// save survives a crash; at start-up and after Open it offers what a dead
/// editor left for the same document.
class DocumentJournal : public QObject {
    Q_OBJECT

public:
    /// How long typing must pause before the journal's write error is shown.
    static constexpr int kTypingPauseMs = 1500;

    /// Journals into `folder`; an empty folder turns the journal off.
    DocumentJournal(AppContext& context, const QString& folder);
    ~DocumentJournal() override; ///< a clean end deletes the journal

    /// The journal folder under a state directory ("" stays "": no journal).
    static QString folderIn(const QString& stateDirectory);

    /// Start-up, once the document is loaded: removes stale journals, then
    /// offers the document's orphan.
    void startUp();
    /// The document now stands as last loaded, saved or created: what the
    /// journal held is obsolete. The next edit starts it again.
    void documentReset();
    /// Offers the newest orphan journal of the current document; Yes puts its
    /// text into the editing area; No deletes it, once a file a preview
    /// wrote has its saved text back; Escape keeps it.
    void offerRecovery();
    /// After every command: a preview that wrote the file is recorded, with
    /// the snapshot that closing with No restores.
    void checkpoint();
    /// The document's encoding was changed (its text may be the same): the
    /// journal starts again with the whole text in the new encoding.
    void encodingChanged();

    /// This editor's journal file; empty while none is open.
    QString path() const;
    /// Writes out everything queued so far (tests and benchmarks).
    void waitIdle();

private:
    struct Pending;
    void contentsChange(int position, int removed, int added);
    void textReplaced();
    void startIfNeeded(bool pristine);
    bool ensureWriter();
    void flush();
    /// Notes a write error; it is shown once typing pauses.
    void reportFailure(const QString& path);
    void showFailure();
    /// No to an orphan whose preview wrote the file: the file gets back the
    /// saved text the orphan kept. False when that could not be written.
    bool restoreDeclinedLaunch(const journalformat::LaunchState& launch);
    void trackLength();
    journalformat::LaunchState launchState() const;
    void recordedLaunch(const journalformat::LaunchState& launch);

    AppContext& m_ctx;
    const QString m_folder;
    std::unique_ptr<JournalWriter> m_writer;
    std::vector<Pending> m_pending; // changes of the running command, written when it ends
    QTimer m_flushTimer;
    QTimer m_reportTimer;          // runs while a write error waits for a pause in typing
    QString m_failedPath;
    bool m_started = false;        // the journal holds the current document
    // What the journal last recorded of a launch: LaunchWroteFile and the
    // fingerprint of the bytes it wrote.
    bool m_recordedLaunch = false;
    QByteArray m_recordedFingerprint;
    bool m_suspended = false;
    bool m_reported = false;       // the write error was shown (once per run)
    bool m_creationFailed = false;
    qint64 m_length = 0;           // text length in document characters, before the next change
    int m_characters = 0;          // the widget's characters, before the next change
};
