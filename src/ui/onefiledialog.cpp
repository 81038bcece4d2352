#include "ui/onefiledialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

/// The typed name as one file: relative to the dialog's folder, with the
/// default suffix when the name has no dot, as Qt completes it.
QString typedFilePath(const QString& folder, const QString& typed, const QString& defaultSuffix)
{
    QString path = QDir::isAbsolutePath(typed) ? typed : QDir(folder).filePath(typed);
    const QFileInfo info(path);
    if (!defaultSuffix.isEmpty() && !info.isDir() && !info.fileName().contains(u'.'))
        path += u'.' + defaultSuffix;
    return path;
}

} // namespace

OneFileDialog::OneFileDialog(QWidget* parent, const QString& title)
    : QFileDialog(parent, title)
{
    // Qt builds its own widgets at once unless the desktop's dialog is used;
    // that one takes names literally by itself.
    m_nameField = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    setFileMode(AnyFile);
    // Connected after Qt's own check of the name, so this one has the last word.
    if (m_nameField)
        connect(m_nameField, &QLineEdit::textChanged, this, [this] { keepTypedNameAcceptable(); });
}

void OneFileDialog::showEvent(QShowEvent* event)
{
    // The button exists once the accept mode is set; Qt may disable it again
    // whenever it looks at the name.
    if (auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))) {
        m_acceptButton = buttons->button(acceptMode() == AcceptOpen ? QDialogButtonBox::Open : QDialogButtonBox::Save);
        if (m_acceptButton)
            m_acceptButton->installEventFilter(this);
    }
    QFileDialog::showEvent(event);
    keepTypedNameAcceptable();
}

bool OneFileDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_acceptButton && event->type() == QEvent::EnabledChange)
        keepTypedNameAcceptable();
    return QFileDialog::eventFilter(watched, event);
}

void OneFileDialog::keepTypedNameAcceptable()
{
    // Qt finds no file in a name with double quotes and disables the button;
    // accept() takes such a name as typed.
    if (m_acceptButton && m_nameField && !m_acceptButton->isEnabled() && m_nameField->text().contains(u'"'))
        m_acceptButton->setEnabled(true);
}

void OneFileDialog::setMustExist(bool mustExist)
{
    // Qt's ExistingFile mode would look for the quote-split names and keep the
    // Open button disabled; with its own widgets the check is made here.
    m_mustExist = mustExist && m_nameField;
    setFileMode(mustExist && !m_nameField ? ExistingFile : AnyFile);
}

QString OneFileDialog::chosenFile() const
{
    return m_typedPath.isEmpty() ? selectedFiles().value(0) : m_typedPath;
}

void OneFileDialog::accept()
{
    m_typedPath.clear();
    const QString typed = m_nameField ? m_nameField->text() : QString();
    if (typed.contains(u'"')) {
        acceptTypedName(typedFilePath(directory().absolutePath(), typed, defaultSuffix()));
        return;
    }
    if (m_mustExist) {
        const QString path = selectedFiles().value(0);
        if (!path.isEmpty() && !QFileInfo::exists(path)) {
            reportMissing(path);
            return;
        }
    }
    QFileDialog::accept();
}

void OneFileDialog::acceptTypedName(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        setDirectory(path);
        m_nameField->clear();
        return;
    }
    if (m_mustExist && !info.exists()) {
        reportMissing(path);
        return;
    }
    m_typedPath = path;
    // QFileDialog::accept() would split the name again: close the dialog here.
    QDialog::accept();
}

void OneFileDialog::reportMissing(const QString& path)
{
    // Qt's own message for a missing file, in its translation.
    QMessageBox::warning(this, windowTitle(),
                         tr("%1\nFile not found.\nPlease verify the correct file name was given.")
                             .arg(QFileInfo(path).fileName()));
}
