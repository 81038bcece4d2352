#pragma once

#include "core/platform/registry.h"

#include <QString>
#include <functional>

/// The desktop's applications as GIO knows them: the defaults and
/// associations of every mimeapps.list (per-desktop lists, Added and Removed
/// Associations) and of mimeinfo.cache, then the entries that claim a type
/// by their MimeType line while no cache lists them; and the launching of an
/// entry as the desktop does it.
namespace gioapplications {

/// The first application for `contentType`, the default one first, that
/// `passOver` does not reject (it is given the entry's program). When the
/// associations name none, the first entry by id whose MimeType line names
/// the type.
DesktopApplication applicationFor(const QString& contentType,
                                  const std::function<bool(const QString& program)>& passOver);

/// The first application's Exec line for `contentType`, with the codes
/// that describe its entry (%i, %c, %k) filled in; empty when none.
QString defaultCommand(const QString& contentType);

/// Starts the application on a web address or a file (its path, or its URI
/// for applications that take URIs) as one argument. GIO builds the argument
/// list itself and starts it without a shell; a program named without a
/// folder is looked for in the absolute folders of PATH only.
bool launch(const QString& applicationId, const QString& document);

} // namespace gioapplications
