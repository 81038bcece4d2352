#include "core/platform/branding.h"
#include "core/text/editorbuffer.h"
#include "launch/gotoweb.h"
#include "modal.h"
#include "support/testwindow.h"
#include "ui/Unit2.h"
#include "ui/about1.h"
#include "ui/copyright.h"
#include "ui/licens.h"
#include "ui/linefit.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

QString caption(QWidget* parent, const char* name)
{
    if (auto* b = parent->findChild<QPushButton*>(QLatin1String(name)))
        return b->text();
    if (auto* l = parent->findChild<QLabel*>(QLatin1String(name)))
        return l->text();
    return QStringLiteral("(missing %1)").arg(QLatin1String(name));
}

QStringList blocks(const QTextDocument* document)
{
    QStringList lines;
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next())
        lines.append(b.text());
    return lines;
}

} // namespace

TEST(QuickTips, HoldTheNineteenLinesExactly)
{
    const QStringList lines = TAboutBox1::tipLines();
    ASSERT_EQ(lines.size(), 19);
    for (int i = 0; i < lines.size(); ++i) {
        const bool blankAtEnd = i + 1 != 10 && i + 1 != 19;
        EXPECT_EQ(lines[i].endsWith(u' '), blankAtEnd) << "line " << i + 1;
        EXPECT_FALSE(lines[i].endsWith(QStringLiteral("  "))) << "line " << i + 1;
    }
    EXPECT_EQ(lines[0], QStringLiteral("Для просмотра редактируемого документа в "));
    EXPECT_EQ(lines[1], QStringLiteral("броузере, используйте Alt+1, Alt+2 и Alt+3. Если "));
    EXPECT_EQ(lines[4], QStringLiteral("этом не требуется! "));
    EXPECT_EQ(lines[9], QStringLiteral("рекомендуется Brannoc Visual Loomwright."));
    EXPECT_EQ(lines[12], QStringLiteral("переименовать исполняемый файл в notepad.exe "));
    EXPECT_EQ(lines[13], QStringLiteral("и перезаписать поверх \"родного\" блокнота "));
    EXPECT_EQ(lines[14], QStringLiteral("Windows. "));
    EXPECT_EQ(lines[17], QStringLiteral("Посетите Web-узел http://www.brannoc.example/, чтобы "));
    EXPECT_EQ(lines[18], QStringLiteral("узнать больше."));

    TAboutBox1 tips;
    EXPECT_EQ(tips.windowTitle(), QStringLiteral("Brannoc Quillet Quick Tips"));
    EXPECT_EQ(tips.size(), QSize(298, 306));
    auto* memo = tips.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(blocks(memo->document()), lines);
    EXPECT_EQ(caption(&tips, "OKButton"), QStringLiteral("OK"));
}

TEST(QuickTips, F1ShowsAFreshDialogEachTimeAndEnterClosesIt)
{
    TestWindow t;
    t.window->show();
    QApplication::setActiveWindow(t.window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.window.get()));

    QList<QPointer<QWidget>> shown;
    for (int round = 0; round < 2; ++round) {
        QApplication::setActiveWindow(t.window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(t.window.get()));
        const ModalStep step([&](QWidget* modal) {
            shown.append(modal);
            EXPECT_NE(qobject_cast<TAboutBox1*>(modal), nullptr);
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Return);
        });
        t.memo().setFocus();
        QTest::keyClick(&t.memo(), Qt::Key_F1);
        EXPECT_TRUE(step.ran());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ASSERT_EQ(shown.size(), 2);
    // Released after closing; the second was a new dialog.
    EXPECT_TRUE(shown[0].isNull());
    EXPECT_TRUE(shown[1].isNull());
    EXPECT_TRUE(t.fake.launcher.commandLines.isEmpty());
}

TEST(AboutBox, ShowsTheProductAndTheMaker)
{
    FakePlatform fake;
    TAboutBox box(fake.platform());
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About..."));
    EXPECT_EQ(box.size(), QSize(369, 177));
    EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(caption(&box, "ProductName"), QStringLiteral("Quillet"));
    EXPECT_TRUE(box.findChild<QLabel*>(QStringLiteral("ProductName"))->font().bold());
    EXPECT_EQ(caption(&box, "Version"), QStringLiteral("Version 1.7.1"));
    EXPECT_EQ(caption(&box, "Copyright"), branding::copyrightLine());
    EXPECT_EQ(caption(&box, "Label1"), branding::makerWebAddress());
    EXPECT_EQ(caption(&box, "OKButton"), QStringLiteral("Ok"));
    EXPECT_EQ(caption(&box, "CopyrigBtn"), QStringLiteral("&Copyright..."));
    EXPECT_EQ(caption(&box, "LicBtn"), QStringLiteral("&License..."));
    auto* logo = box.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->pixmap().size(), QSize(140, 66));
    EXPECT_EQ(box.goToWeb().Url(), branding::makerWebAddress());
}

/// The about box shown, with a browser registered for its web address.
class AboutBoxShown : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake.registry.applications.insert(QStringLiteral("text/html"), { QStringLiteral("webby.desktop"), QStringLiteral("Webby") });
        box = std::make_unique<TAboutBox>(fake.platform());
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
        label = box->findChild<QLabel*>(QStringLiteral("Label1"));
        ASSERT_NE(label, nullptr);
    }

    FakePlatform fake;
    std::unique_ptr<TAboutBox> box;
    QLabel* label = nullptr;
};

TEST_F(AboutBoxShown, AddressLabelAndCopyrightLineOpenTheWebAddress)
{
    auto* copyright = box->findChild<QLabel*>(QStringLiteral("Copyright"));
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(fake.launcher.applications, QStringList { QStringLiteral("webby.desktop ") + branding::makerWebAddress() });

    // The blank part of the address's row is no link.
    auto* panel = box->findChild<QWidget*>(QStringLiteral("Panel1"));
    const QPoint blank(12, label->geometry().center().y());
    QWidget* under = panel->childAt(blank) ? panel->childAt(blank) : panel;
    EXPECT_NE(under->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(panel, blank));
    EXPECT_EQ(fake.launcher.applications.size(), 1);

    QTest::mouseClick(copyright, Qt::LeftButton); // a single click does nothing
    EXPECT_EQ(fake.launcher.applications.size(), 1);
    QTest::mouseDClick(copyright, Qt::LeftButton);
    EXPECT_EQ(fake.launcher.applications.size(), 2);

    // No browser: the error box says so.
    fake.registry.applications.clear();
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(fake.launcher.applications.size(), 2);
    ASSERT_EQ(fake.prompts.boxes.size(), 1);
    EXPECT_EQ(fake.prompts.boxes[0].text, QStringLiteral("Cannot run x-scheme-handler/https."));
}

TEST_F(AboutBoxShown, ADoubleClickOnTheAddressOpensItOnce)
{
    const QPointF at = QPointF(label->rect().center());
    const QPointF global = QPointF(label->mapToGlobal(label->rect().center()));
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &event);
    };
    // What a double click delivers: press, release, press, double click, release.
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(fake.launcher.applications.size(), 1);
    // The next single click opens it again.
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(fake.launcher.applications.size(), 2);
}

TEST(AboutBox, AboutShowsTheSameBoxAgainAndItOpensTheLicence)
{
    TestWindow t;
    TAboutBox box(t.fake.platform());
    t.window->setAboutBox(&box);

    QPointer<QWidget> licence;
    const ModalStep step([&](QWidget* modal) {
        EXPECT_EQ(modal, &box);
        const ModalStep inner([&](QWidget* form) {
            licence = form;
            EXPECT_NE(qobject_cast<TLicensFrm*>(form), nullptr);
            EXPECT_TRUE(box.isVisible()); // the form is over the about box
            form->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        });
        box.findChild<QPushButton*>(QStringLiteral("LicBtn"))->click();
        // Back in the about box.
        EXPECT_TRUE(box.isVisible());
        box.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
    t.window->About1Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(licence.isNull());
    EXPECT_TRUE(box.isHidden());

    EXPECT_TRUE(step.ran());

    bool again = false;
    const ModalStep second([&](QWidget* modal) {
        again = modal == &box;
        box.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
    t.window->About1Click();
    EXPECT_TRUE(again);
}

TEST(TextForms, HaveTheirCaptionsSizesButtonsAndTexts)
{
    FakePlatform fake;
    TLicensFrm licence(fake.platform());
    TCopyrightFrm copyright(fake.platform());
    EXPECT_EQ(licence.windowTitle(), QStringLiteral("License"));
    EXPECT_EQ(licence.printTitle(), QStringLiteral("License"));
    EXPECT_EQ(copyright.windowTitle(), QStringLiteral("Copyright Information"));
    EXPECT_EQ(copyright.printTitle(), QStringLiteral("Copyright Information"));
    for (TextForm* form : { static_cast<TextForm*>(&licence), static_cast<TextForm*>(&copyright) }) {
        EXPECT_EQ(form->size(), QSize(302, 344));
        EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(form->windowIcon().isNull());
        EXPECT_EQ(caption(form, "Button1"), QStringLiteral("&Ok"));
        EXPECT_EQ(caption(form, "Button2"), QStringLiteral("&Печать..."));
        auto* memo = form->findChild<QTextEdit*>(QStringLiteral("Memo1"));
        ASSERT_NE(memo, nullptr);
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    EXPECT_EQ(licence.text().split(u'\n').size(), 95);
    EXPECT_TRUE(licence.text().contains(QStringLiteral("Brannoc Software")));
    EXPECT_TRUE(licence.text().startsWith(QStringLiteral("ЛИЦЕНЗИОННОЕ СОГЛАШЕНИЕ")));
    const QString notice = copyright.text();
    EXPECT_EQ(notice.split(u'\n').size(), 37);
    const qsizetype russian = notice.indexOf(QStringLiteral("Все права защищены."));
    const qsizetype english = notice.indexOf(QStringLiteral("All rights reserved."));
    EXPECT_GE(russian, 0);
    EXPECT_GT(english, russian);
}

TEST(TextForms, OpenedAgainTheLicenceIsANewFormAtTheTop)
{
    FakePlatform fake;
    TAboutBox box(fake.platform());
    QList<QPointer<QWidget>> forms;
    int firstValue = -1;
    for (int round = 0; round < 2; ++round) {
        const ModalStep step([&](QWidget* form) {
            forms.append(form);
            auto* bar = form->findChild<QTextEdit*>(QStringLiteral("Memo1"))->verticalScrollBar();
            firstValue = bar->value();
            bar->setValue(bar->maximum());
            static_cast<QDialog*>(form)->accept();
        });
        box.LicBtnClick();
        EXPECT_EQ(firstValue, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ASSERT_EQ(forms.size(), 2);
    EXPECT_TRUE(forms[0].isNull());
    EXPECT_TRUE(forms[1].isNull());
}

TEST(TextForms, PrintingAsksForAPrinterFirst)
{
    FakePlatform fake;
    QTemporaryDir dir;
    fake.printers.pdfPath = dir.filePath(QStringLiteral("licence.pdf"));
    TLicensFrm licence(fake.platform());

    fake.prompts.printResults = { false };
    licence.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_EQ(fake.prompts.printDialogs, 1);
    EXPECT_FALSE(QFile::exists(fake.printers.pdfPath));

    fake.prompts.printResults = { true };
    licence.Button2Click();
    EXPECT_EQ(fake.prompts.printDialogs, 2);
    EXPECT_EQ(fake.printers.currentPrinter().docName(), QStringLiteral("License"));
    EXPECT_TRUE(fake.prompts.boxes.isEmpty());
    // The whole text went to paper, first line to last.
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), { fake.printers.pdfPath, QStringLiteral("-") });
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("ЛИЦЕНЗИОННОЕ СОГЛАШЕНИЕ"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Правообладателем."))) << printed.toStdString();
}

TEST(TextForms, WithoutAPrinterTheErrorBoxTellsSo)
{
    FakePlatform fake;
    fake.printers.hasDefault = false;
    TCopyrightFrm copyright(fake.platform());
    copyright.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_EQ(fake.prompts.printDialogs, 0);
    ASSERT_EQ(fake.prompts.boxes.size(), 1);
    EXPECT_EQ(fake.prompts.boxes.first().text, QStringLiteral("There is no default printer currently selected."));
    EXPECT_EQ(fake.prompts.boxes.first().icon, BoxIcon::Stop);
}

TEST(LineFit, ShrinksTheFontUntilTheLongestLineFitsButNotBelowTheLimit)
{
    QFont start(QStringLiteral("DejaVu Sans"));
    start.setPixelSize(16);
    const QStringList lines = { QStringLiteral("short"), QStringLiteral("a much longer line of the text") };
    const int wide = QFontMetrics(start).horizontalAdvance(lines[1]);

    bool fits = false;
    EXPECT_EQ(fontFittingLines(start, lines, wide, 9, &fits).pixelSize(), 16);
    EXPECT_TRUE(fits);

    const QFont smaller = fontFittingLines(start, lines, wide * 3 / 4, 9, &fits);
    EXPECT_LT(smaller.pixelSize(), 16);
    EXPECT_TRUE(fits);
    EXPECT_LE(QFontMetrics(smaller).horizontalAdvance(lines[1]), wide * 3 / 4);
    QFont oneLarger = smaller;
    oneLarger.setPixelSize(smaller.pixelSize() + 1);
    EXPECT_GT(QFontMetrics(oneLarger).horizontalAdvance(lines[1]), wide * 3 / 4);

    EXPECT_EQ(fontFittingLines(start, lines, 10, 9, &fits).pixelSize(), 9);
    EXPECT_FALSE(fits);
}
