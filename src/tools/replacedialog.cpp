#include "tools/replacedialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace {

/// Keeps a field to one line: a pasted line break becomes a blank, as the
/// field already shows it, so the text used is the text seen.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        for (QChar& c : input) {
            // The characters a QLineEdit draws as blanks (tab is drawn as itself).
            if ((c.unicode() < 0x20 && c != u'\t') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                c = u' ';
        }
        return Acceptable;
    }
};

} // namespace

ReplaceDlg::ReplaceDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ReplaceDlg"));
    setWindowTitle(QStringLiteral("Replace"));
    setModal(false);
    setSizeGripEnabled(false);

    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("FindText"));
    m_find->setMaxLength(kMaxTextLength);
    m_replaceWith = new QLineEdit(this);
    m_replaceWith->setObjectName(QStringLiteral("ReplaceText"));
    m_replaceWith->setMaxLength(kMaxTextLength);
    for (QLineEdit* field : { m_find, m_replaceWith })
        field->setValidator(new OneLineValidator(field));

    auto* findLabel = new QLabel(QStringLiteral("Find what:"), this);
    findLabel->setBuddy(m_find);
    auto* replaceLabel = new QLabel(QStringLiteral("Replace with:"), this);
    replaceLabel->setBuddy(m_replaceWith);

    m_findNext = new QPushButton(QStringLiteral("Find Next"), this);
    m_replace = new QPushButton(QStringLiteral("Replace"), this);
    m_replaceAll = new QPushButton(QStringLiteral("Replace All"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_findNext->setDefault(true);
    m_findNext->setAutoDefault(true);
    for (QPushButton* button : { m_replace, m_replaceAll, m_cancel })
        button->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_find, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(m_replaceWith, 1, 1);
    fields->setRowStretch(2, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(m_replace);
    buttons->addWidget(m_replaceAll);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    connect(m_findNext, &QPushButton::clicked, this, &ReplaceDlg::findNext);
    connect(m_replace, &QPushButton::clicked, this, &ReplaceDlg::replaceRequested);
    connect(m_replaceAll, &QPushButton::clicked, this, &ReplaceDlg::replaceRequested);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString ReplaceDlg::findText() const { return m_find->text(); }
QString ReplaceDlg::replaceText() const { return m_replaceWith->text(); }
void ReplaceDlg::setFindText(const QString& text) { m_find->setText(text); }
void ReplaceDlg::setReplaceText(const QString& text) { m_replaceWith->setText(text); }

void ReplaceDlg::showOrRaise()
{
    if (!isVisible()) {
        if (m_position)
            move(*m_position);
        show();
        m_find->setFocus();
        m_find->selectAll();
    }
    raise();
    activateWindow();
}

void ReplaceDlg::done(int result)
{
    // Cancel, Escape and the close box all end here.
    m_position = pos();
    QDialog::done(result);
}
