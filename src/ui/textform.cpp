#include "ui/textform.h"

#include "core/platform/apperror.h"
#include "core/platform/messageboxes.h"
#include "tools/printing.h"
#include "ui/dialogplacement.h"
#include "ui/linefit.h"

#include <QPushButton>
#include <QStyle>
#include <QTextEdit>

TextForm::TextForm(const Platform& platform, const QString& caption, const QString& printTitle,
                   const QString& text, QWidget* parent)
    : QDialog(parent)
    , m_platform(platform)
    , m_printTitle(printTitle)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setWindowTitle(caption);
    setWindowIcon(QIcon(QStringLiteral(":/formicon.png")));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(302, 344);
    setModal(true);

    m_memo = new QTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setAcceptRichText(false);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette face = m_memo->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    m_memo->setPalette(face);
    m_memo->setGeometry(0, 0, width(), 300);
    m_memo->setPlainText(text);
    // One line of the text is one line of the area where the font allows.
    const int available = m_memo->width() - 2 * int(m_memo->document()->documentMargin()) - 4
        - m_memo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_memo);
    bool fits = false;
    m_memo->setFont(fontFittingLines(m_memo->font(), text.split(u'\n'), available, 9, &fits));
    m_memo->setLineWrapMode(fits ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(60, 310, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TextForm::Button1Click);
    auto* print = new QPushButton(QStringLiteral("&Печать..."), this);
    print->setObjectName(QStringLiteral("Button2"));
    print->setGeometry(167, 310, 75, 25);
    connect(print, &QPushButton::clicked, this, &TextForm::Button2Click);
    ok->setFocus();
}

QString TextForm::text() const
{
    return m_memo->toPlainText();
}

void TextForm::showEvent(QShowEvent* event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TextForm::Button1Click()
{
    accept();
}

void TextForm::Button2Click()
{
    // A dialog's slot is outside the main window's handlers: a print error
    // is shown here in the general error box instead of leaving the slot.
    try {
        printTextWithDialog(m_platform, text(), m_memo->font(), m_printTitle);
    } catch (const AppError& error) {
        messageboxes::showError(*m_platform.prompts, error.message());
    }
}
