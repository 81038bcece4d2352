#pragma once

#include "core/platform/userprompts.h"

#include <QList>
#include <QString>

/// The program's three kinds of message box, built on UserPrompts.
namespace messageboxes {

/// Two lines as the program's boxes join them: a line feed, then a carriage return.
inline QString twoLines(const QString& first, const QString& second)
{
    return first + QStringLiteral("\n\r") + second;
}

/// Plain box: no icon, one OK button, captioned with the application title.
void showPlain(UserPrompts& prompts, const QString& text);

/// The general error box: the error's text with the full-stop rule, stop icon,
/// OK, captioned with the application title.
void showError(UserPrompts& prompts, const QString& message);

/// Question box captioned "Confirm" with a question icon and the given
/// buttons; Escape and the close box answer `escape`.
Answer askConfirm(UserPrompts& prompts, const QString& text, const QList<Answer>& buttons,
                  Answer defaultButton, Answer escape);

/// Warning box captioned "Warning".
Answer askWarning(UserPrompts& prompts, const QString& text, const QList<Answer>& buttons,
                  Answer defaultButton, Answer escape);

/// Information box captioned "Information" with one OK button.
void showInformation(UserPrompts& prompts, const QString& text);

} // namespace messageboxes
