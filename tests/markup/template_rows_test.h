#pragma once

#include <QString>
#include <optional>
#include <vector>

/// How a command treats the selection.
enum class Rule { EmptyOnly, Replace, Wrap, WrapWithDefault };

/// Expected behaviour of one insert command, written out piece by piece:
/// Empty only and Replace use `first` as the whole fragment; Wrap puts the
/// selection between `first` and `second`; Wrap with default does too and
/// inserts `fallback` when nothing is selected.
struct ExpectedRow {
    const char* command;
    Rule rule;
    const char* first;
    const char* second = "";
    const char* fallback = "";

    /// The text expected in place of `selection`, or nothing for no change;
    /// "{UserName}" in the pieces (never in the selection) becomes `userName`.
    std::optional<QString> expected(const QString& selection, const QString& userName = {}) const
    {
        const auto piece = [&](const char* text) {
            return QString::fromUtf8(text).replace(QStringLiteral("{UserName}"), userName);
        };
        switch (rule) {
        case Rule::EmptyOnly: return selection.isEmpty() ? std::optional<QString>(piece(first)) : std::nullopt;
        case Rule::Replace: return piece(first);
        case Rule::Wrap: return piece(first) + selection + piece(second);
        case Rule::WrapWithDefault: return selection.isEmpty() ? piece(fallback) : piece(first) + selection + piece(second);
        }
        return std::nullopt;
    }
};

/// Every command of the insert and extra menus that needs no file, with the
/// user name "{UserName}" left for the caller to fill.
const std::vector<ExpectedRow>& insertRows();

inline void PrintTo(const ExpectedRow& row, std::ostream* out)
{
    *out << row.command;
}
