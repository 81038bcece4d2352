#pragma once

#include <QFileDialog>

class QLineEdit;
class QPushButton;

/// Qt's open or save dialog for one file, taking a typed name as written.
/// Qt reads a name holding double quotes as a list of quoted names
/// (`say "hi".gif` would give "hi"); a name on this platform may hold them.
class OneFileDialog : public QFileDialog {
public:
    OneFileDialog(QWidget* parent, const QString& title);

    /// Only an existing file is accepted; a missing one is reported and the
    /// dialog stays open.
    void setMustExist(bool mustExist);

    /// The chosen file's full path, once the dialog has been accepted.
    QString chosenFile() const;

protected:
    void accept() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void acceptTypedName(const QString& path);
    void reportMissing(const QString& path);
    void keepTypedNameAcceptable();

    QLineEdit* m_nameField = nullptr; ///< null when the desktop's own dialog is used
    QPushButton* m_acceptButton = nullptr; ///< Open or Save, once shown
    bool m_mustExist = false;
    QString m_typedPath;              ///< set when a name with double quotes was accepted
};
