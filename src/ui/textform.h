#pragma once

#include "core/platform/platform.h"

#include <QDialog>

class QTextEdit;

/// A read-only text with a close button and a print button: the common
/// form of the licence and the copyright notice.
class TextForm : public QDialog {
    Q_OBJECT

public:
    /// The text shown, as the area holds it.
    QString text() const;
    QString printTitle() const { return m_printTitle; }

public slots:
    void Button1Click();
    /// Asks for a printer and prints the whole text as one job.
    void Button2Click();

protected:
    TextForm(const Platform& platform, const QString& caption, const QString& printTitle, const QString& text,
             QWidget* parent);
    void showEvent(QShowEvent* event) override;

private:
    Platform m_platform;
    QString m_printTitle;
    QTextEdit* m_memo;
};
