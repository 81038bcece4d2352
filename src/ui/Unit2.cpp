#include "ui/Unit2.h"

#include "core/platform/branding.h"
#include "ui/dialogplacement.h"
#include "ui/linefit.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

QStringList TAboutBox1::tipLines()
{
    return {
        QStringLiteral("Для просмотра редактируемого документа в "),
        QStringLiteral("броузере, используйте Alt+1, Alt+2 и Alt+3. Если "),
        QStringLiteral("это не срабатывает, то настройте программу из "),
        QStringLiteral("вид/настройки. Предварительное сохранение при "),
        QStringLiteral("этом не требуется! "),
        QStringLiteral("Для переключения в другой (расширенный) "),
        QStringLiteral("редактор используйте Alt+5. При этом текущий "),
        QStringLiteral("документ будет загружен в вызванный редактор. "),
        QStringLiteral("В качестве расширенного редактора "),
        QStringLiteral("рекомендуется Brannoc Visual Loomwright."),
        QStringLiteral("Данный редактор имеет только простейшие "),
        QStringLiteral("функции для работы с HTML. Вы можете "),
        QStringLiteral("переименовать исполняемый файл в notepad.exe "),
        QStringLiteral("и перезаписать поверх \"родного\" блокнота "),
        QStringLiteral("Windows. "),
        QStringLiteral("Для профессиональной работы над веб-сайтом в "),
        QStringLiteral("целом используйте Brannoc Visual Loomwright. "),
        QStringLiteral("Посетите Web-узел ") + branding::makerWebAddress() + QStringLiteral(", чтобы "),
        QStringLiteral("узнать больше."),
    };
}

TAboutBox1::TAboutBox1(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox1"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Brannoc Quillet Quick Tips"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(298, 306);
    setModal(true);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(8, 8, 282, 252);

    m_memo = new QPlainTextEdit(panel);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setFrameShape(QFrame::NoFrame);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette face = m_memo->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    m_memo->setPalette(face);
    m_memo->setGeometry(4, 4, panel->width() - 8, panel->height() - 8);
    m_memo->setPlainText(tipLines().join(u'\n'));
    fitLinesToWidth();

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry((width() - 75) / 2, 270, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TAboutBox1::OKButtonClick);
}

void TAboutBox1::fitLinesToWidth()
{
    // Each line of the tips is meant to be one line of the area: the font
    // shrinks (to a readable limit) until the longest line fits, and only if
    // it still does not fit do lines wrap.
    const int available = m_memo->width() - 2 * int(m_memo->document()->documentMargin()) - 4
        - m_memo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_memo);
    bool fits = false;
    m_memo->setFont(fontFittingLines(m_memo->font(), tipLines(), available, 9, &fits));
    m_memo->setLineWrapMode(fits ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
}

void TAboutBox1::showEvent(QShowEvent* event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TAboutBox1::OKButtonClick()
{
    accept();
}
