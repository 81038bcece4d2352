#pragma once

#include "core/platform/userprompts.h"

#include <QDialog>
#include <QFont>
#include <optional>

struct AppContext;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

/// The Options dialog: user name and mail, the browsers' and the extended
/// editor's programs, and the editor font. Apply stores the values, writes
/// the settings file and puts the font on the editing area.
class TOptionfrm : public QDialog {
    Q_OBJECT

public:
    explicit TOptionfrm(AppContext& context, QWidget* parent = nullptr);

    /// The filter of the browse buttons' open dialog.
    static QString programFilter() { return QStringLiteral("Programs|*.exe;*.com|All|*.*"); }

    QLineEdit* UserNameEd = nullptr;
    QLineEdit* UserMailEd = nullptr;
    QLineEdit* NClocationEd = nullptr;
    QLineEdit* IElocationEd = nullptr;
    QLineEdit* AddBrEd = nullptr;
    QLineEdit* VHEd = nullptr;
    QComboBox* FontBox = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* AppyBtn = nullptr;

    /// The font `FontDialog1` holds.
    const QFont& dialogFont() const { return m_dialogFont; }

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void BitBtn4Click();
    /// The extended-editor row's browse button: fills `VHEd`.
    void SpeedButton1Click();
    void BitBtn3Click();
    void BitBtn1Click();
    void Button4Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    /// `OpenDialog1`: the chosen program, or nothing when cancelled.
    std::optional<QString> browse();
    /// Writes the ten keys and the highlighting key in one write; throws AppError when it fails.
    void writeSettingsFile();

    AppContext& m_ctx;
    QFont m_dialogFont;
    int m_dialogSize = 10;           ///< points, as the font dialog gave them
    unsigned char m_dialogCharset = 1;
    FileDialogSpec m_openDialog;     ///< `OpenDialog1`, kept while the dialog lives
    bool m_filled = false;
};
