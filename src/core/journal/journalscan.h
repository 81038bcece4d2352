#pragma once

#include "core/journal/journalformat.h"

#include <QDateTime>
#include <QString>
#include <optional>

/// Finds what dead editors left in the journal folder. A journal is an orphan
/// when nobody holds its lock: a running editor always does, whatever its pid.
namespace journalscan {

struct Orphan {
    QString path;
    journalformat::Content content;
};

/// Journals that nobody touched for this long are removed at start-up.
constexpr int kMaxAgeDays = 30;

/// The key that ties a journal to the document of file `fileName`: the
/// absolute path with symbolic links resolved; empty for no name (a document
/// without a file of its own).
QString documentKey(const QString& fileName);

/// The orphan with text for the document `key` whose last record is the
/// newest; `ownPath` (this editor's journal) is never one.
std::optional<Orphan> newestOrphan(const QString& folder, const QString& key, const QString& ownPath);

/// Deletes orphans older than kMaxAgeDays, orphans without text, and half
/// written copies left by a rewrite that died.
void removeStale(const QString& folder, const QString& ownPath, const QDateTime& now);

} // namespace journalscan
