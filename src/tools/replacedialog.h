#pragma once

#include <QDialog>
#include <QPoint>
#include <optional>

class QLineEdit;
class QPushButton;

/// `ReplaceDlg`: the modeless find-and-replace dialog. A one-line search
/// field and a one-line replacement field of at most 255 characters each,
/// Find Next, Replace, Replace All and Cancel; no match-case, whole-word or
/// direction controls. One instance lives as long as the main window, so the
/// texts and the position of the last closing stay for the whole run.
class ReplaceDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxTextLength = 255;

    explicit ReplaceDlg(QWidget* parent = nullptr);

    QString findText() const;
    QString replaceText() const;
    void setFindText(const QString& text);
    void setReplaceText(const QString& text);

    /// Shows the dialog at its remembered position; an open dialog is only
    /// brought to the front.
    void showOrRaise();

    /// Top-left corner at the last closing, if it was ever closed.
    std::optional<QPoint> rememberedPosition() const { return m_position; }

    QPushButton* findNextButton() const { return m_findNext; }
    QPushButton* replaceButton() const { return m_replace; }
    QPushButton* replaceAllButton() const { return m_replaceAll; }
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    /// Find Next (`OnFind`).
    void findNext();
    /// Replace and Replace All alike (`OnReplace`).
    void replaceRequested();

public slots:
    void done(int result) override;

private:
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replaceWith = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAll = nullptr;
    QPushButton* m_cancel = nullptr;
    std::optional<QPoint> m_position;
};
