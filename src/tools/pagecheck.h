#pragma once

#include <QString>
#include <QStringList>

#include <vector>

/// The page check: HTML Tidy reads a copy of the text and reports what is
/// wrong with its markup. Nothing here touches a widget, so a check runs on
/// any thread.
namespace pagecheck {

enum class Kind { Error, Warning };

/// One message of the checker.
struct Row {
    Kind kind;
    int line;   ///< 1-based line of the text; 0 when the message names no place
    int column; ///< 1-based, in the line's characters as the editor counts them
    QString text;
};

struct Result {
    /// Errors first, then warnings, each in the order of the page.
    std::vector<Row> rows;
    qsizetype errors = 0;
    qsizetype warnings = 0;
    /// The rows as the list shows them.
    QStringList texts;
};

/// Most rows of one kind kept; the counts go on beyond them, so a page of
/// endless broken markup cannot fill the memory.
inline constexpr qsizetype kMaxRowsOfAKind = 100000;

/// Checks the text as HTML. Tidy gets it as UTF-8 and is told so; it writes
/// no document and no file.
Result check(const QString& text);

/// "строка N, столбец M: text", or the text alone for a message without a place.
QString rowText(const Row& row);
/// "Ошибок: N, предупреждений: M".
QString summary(const Result& result);

} // namespace pagecheck
