#include "ui/about1.h"

#include "core/platform/branding.h"
#include "core/platform/messageboxes.h"
#include "launch/gotoweb.h"
#include "ui/copyright.h"
#include "ui/dialogplacement.h"
#include "ui/licens.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace {

QLabel* centredLabel(QWidget* parent, const char* name, const QString& text, int top, int height)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setGeometry(4, top, parent->width() - 8, height);
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int top)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(286, top, 75, 25);
    return b;
}

} // namespace

TAboutBox::TAboutBox(const Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("AboutBox"));
    // A fixed frame without title-bar buttons, above other windows.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("About..."));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(369, 177);
    setModal(true);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    panel->setGeometry(8, 8, 270, 161);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(QPixmap(QStringLiteral(":/logo.png")));
    icon->setGeometry((panel->width() - 140) / 2, 6, 140, 66);

    QLabel* product = centredLabel(panel, "ProductName", QStringLiteral("Quillet"), 74, 18);
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    centredLabel(panel, "Version", QStringLiteral("Version 1.7.1"), 92, 16);
    m_copyright = centredLabel(panel, "Copyright", branding::copyrightLine(), 112, 16);
    m_copyright->installEventFilter(this);

    m_label1 = centredLabel(panel, "Label1", branding::makerWebAddress(), 134, 16);
    QFont link = m_label1->font();
    link.setUnderline(true);
    m_label1->setFont(link);
    QPalette navy = m_label1->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    m_label1->setPalette(navy);
    m_label1->setCursor(Qt::PointingHandCursor);
    // Only the address itself is the link: the label is as wide as its text,
    // so the blank part of the row neither shows the hand nor takes clicks.
    const int addressWidth = m_label1->sizeHint().width();
    m_label1->setGeometry((panel->width() - addressWidth) / 2, m_label1->y(), addressWidth, m_label1->height());
    m_label1->installEventFilter(this);

    QPushButton* ok = button(this, "OKButton", QStringLiteral("Ok"), 8);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
    connect(button(this, "CopyrigBtn", QStringLiteral("&Copyright..."), 110), &QPushButton::clicked, this,
            &TAboutBox::CopyrigBtnClick);
    connect(button(this, "LicBtn", QStringLiteral("&License..."), 144), &QPushButton::clicked, this,
            &TAboutBox::LicBtnClick);

    m_goToWeb = new TGoToWeb(platform.registry, platform.launcher, this);
    m_goToWeb->setUrl(branding::makerWebAddress());
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_label1 && event->type() == QEvent::MouseButtonDblClick) {
        m_releaseEndsDoubleClick = true;
        return true;
    }
    if (watched == m_label1 && event->type() == QEvent::MouseButtonRelease && m_releaseEndsDoubleClick) {
        m_releaseEndsDoubleClick = false;
        return true;
    }
    const bool click = watched == m_label1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
        && m_label1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
    const bool doubleClick = watched == m_copyright && event->type() == QEvent::MouseButtonDblClick;
    if (click || doubleClick) {
        Label1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TAboutBox::Label1Click()
{
    if (!m_goToWeb->OpenUrl())
        messageboxes::showError(*m_platform.prompts, m_goToWeb->failureMessage());
}

void TAboutBox::OKButtonClick()
{
    accept();
}

void TAboutBox::CopyrigBtnClick()
{
    auto* form = new TCopyrightFrm(m_platform, this);
    form->exec();
    form->deleteLater();
}

void TAboutBox::LicBtnClick()
{
    auto* form = new TLicensFrm(m_platform, this);
    form->exec();
    form->deleteLater();
}
