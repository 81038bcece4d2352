#pragma once

#include "core/platform/platform.h"

#include <QDialog>

class QLabel;
class QPushButton;
class TGoToWeb;

/// The about box: logo, product name, version, the maker's copyright line and
/// web address, and the way to the licence and the copyright notice. Created
/// once at start-up; closing it only hides it.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(const Platform& platform, QWidget* parent = nullptr);

    TGoToWeb& goToWeb() { return *m_goToWeb; }

public slots:
    /// Opens the maker's web address; the outcome is not shown.
    void Label1Click();
    void OKButtonClick();
    void CopyrigBtnClick();
    void LicBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Platform m_platform;
    TGoToWeb* m_goToWeb;
    QLabel* m_copyright;
    QLabel* m_label1;
    /// Set by a double click on the address: its closing release is not a
    /// second click, so the browser is started once.
    bool m_releaseEndsDoubleClick = false;
};
