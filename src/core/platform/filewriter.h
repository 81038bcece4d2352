#pragma once

#include <QByteArray>
#include <QString>

/// Writes whole files so that a failure never leaves a half-written or empty
/// file behind: the bytes go into a temporary file beside the target, which is
/// then renamed over it. The target's owner, group, permissions, extended
/// attributes and ACLs are kept, and a symbolic link stays a link while its
/// target receives the bytes. Where the new file could not be the old one in
/// all but content (a folder the user may not write, an owner or group the
/// user cannot give, several hard links), the old file is written in place.
namespace filewriter {

/// Writes `bytes` into the file `path`, creating it when missing. On failure
/// returns false and puts the system's reason into `error` (when given); the
/// old file is untouched, except after a failure part-way through writing
/// in place.
bool writeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

/// The file that a write to `path` really changes: `path` itself, or the end
/// of the chain of symbolic links starting there (also when that end does not
/// exist yet).
QString resolveTarget(const QString& path);

} // namespace filewriter
