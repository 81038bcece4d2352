#include "core/platform/messageboxes.h"

#include "core/platform/apperror.h"
#include "core/platform/branding.h"

namespace messageboxes {

void showPlain(UserPrompts& prompts, const QString& text)
{
    prompts.messageBox({ branding::applicationTitle(), text, BoxIcon::None, { Answer::Ok }, Answer::Ok, Answer::Ok });
}

void showError(UserPrompts& prompts, const QString& message)
{
    prompts.messageBox({ branding::applicationTitle(), errorBoxText(message), BoxIcon::Stop, { Answer::Ok },
                         Answer::Ok, Answer::Ok });
}

Answer askConfirm(UserPrompts& prompts, const QString& text, const QList<Answer>& buttons, Answer defaultButton,
                  Answer escape)
{
    return prompts.messageBox({ QStringLiteral("Confirm"), text, BoxIcon::Question, buttons, defaultButton, escape });
}

Answer askWarning(UserPrompts& prompts, const QString& text, const QList<Answer>& buttons, Answer defaultButton,
                  Answer escape)
{
    return prompts.messageBox({ QStringLiteral("Warning"), text, BoxIcon::Warning, buttons, defaultButton, escape });
}

void showInformation(UserPrompts& prompts, const QString& text)
{
    prompts.messageBox({ QStringLiteral("Information"), text, BoxIcon::Information, { Answer::Ok }, Answer::Ok,
                         Answer::Ok });
}

} // namespace messageboxes
