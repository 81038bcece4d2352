#pragma once

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

/// One markup command as data. A template is literal text in which "{S}"
/// stands for the selected text and "{Name}" for a named variable (such as
/// "{UserName}"); every other character, braces included, is literal.
struct Fragment {
    const char* command;        ///< the command's item name, e.g. "Bold1"
    const char* withSelection;  ///< template when text is selected; nullptr: no change
    const char* withoutSelection; ///< template when nothing is selected; nullptr: no change
};

/// The table of every markup command, in menu order.
const std::vector<Fragment>& fragmentTable();

/// The row of a command, or nullptr when the table has none.
const Fragment* findFragment(const QString& command);

/// Fills a template: "{S}" takes `selection`, "{Name}" takes vars["Name"];
/// text in braces that names no variable stays as it is. Substituted values
/// are never scanned again.
QString fillTemplate(const QString& templ, const QString& selection, const QHash<QString, QString>& vars = {});

/// The text a command puts in place of the selection, or nothing when the
/// command leaves the text alone for this selection.
std::optional<QString> composeFragment(const Fragment& fragment, const QString& selection,
                                       const QHash<QString, QString>& vars = {});
