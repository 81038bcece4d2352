#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

/// The quick tips: the program's whole help, one fixed text.
class TAboutBox1 : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox1(QWidget* parent = nullptr);

    /// The lines of the tips, each as the text area holds it.
    static QStringList tipLines();

public slots:
    void OKButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitLinesToWidth();

    QPlainTextEdit* m_memo;
};
