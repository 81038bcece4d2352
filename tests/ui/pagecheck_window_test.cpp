#include "ui/activewindow.h"
#include "ui/pagecheckwindow.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <gtest/gtest.h>

namespace {

constexpr auto CtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

// The unknown attribute on line 5, the </DIV> without its <DIV> on line 6,
// the unclosed <B> on line 7; `longLine` characters before the <B> make
// its line longer than a display block.
QString brokenPage(int longLine = 0)
{
    return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML>\r\n"
                          "<HEAD><TITLE>Проверка</TITLE></HEAD>\r\n<BODY>\r\n"
                          "\t<DIV ALIGN=\"LEFT\" FOO=\"1\">Ещё</DIV>\r\n"
                          "Конец </DIV>\r\n"
                          "<P>Текст ")
        + QString(longLine, u'ж') + QStringLiteral("<B>жирный</P>\r\n</BODY>\r\n</HTML>\r\n");
}

TPageCheck* checkWindow(ActiveWindow& t)
{
    return t.window->findChild<TPageCheck*>(QStringLiteral("PageCheck"));
}

QString waitForSummary(TPageCheck* check, const QString& expected)
{
    static_cast<void>(QTest::qWaitFor([&] { return check->summaryLabel()->text() == expected; }, 20000));
    return check->summaryLabel()->text();
}

QStringList shownRows(TPageCheck* check)
{
    return static_cast<QStringListModel*>(check->rowList()->model())->stringList();
}

// Row `row` chosen the way a user does: the check window active, the
// list focused, arrow keys to the row, Enter.
void enterOnRow(TPageCheck* check, int row)
{
    QApplication::setActiveWindow(check);
    ASSERT_TRUE(QTest::qWaitForWindowActive(check));
    check->rowList()->setFocus();
    QTest::keyClick(check->rowList(), Qt::Key_Home);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(check->rowList(), Qt::Key_Down);
    QTest::keyClick(check->rowList(), Qt::Key_Return);
}

// The main window comes to the front as the window system allows: soon,
// not within the key press.
void expectEditingAreaFocused(ActiveWindow& t)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.memo().hasFocus(); }, 5000));
    EXPECT_EQ(QApplication::activeWindow(), t.window.get());
}

} // namespace

TEST(PageCheckWindow, CommandListsTheMessagesAndEnterGoesToEach)
{
    // The same rows in either encoding: the check reads the characters.
    for (const Charset charset : { Charset::Windows1251, Charset::Utf8 }) {
        SCOPED_TRACE(charset == Charset::Utf8 ? "UTF-8" : "Windows-1251");
        ActiveWindow t;
        t.memo().setEncoding({ charset, false });
        const QString text = brokenPage();
        t.setText(text);
        QTest::keyClick(&t.memo(), Qt::Key_V, CtrlShift);
        TPageCheck* check = checkWindow(t);
        ASSERT_NE(check, nullptr);
        EXPECT_TRUE(check->isVisible());
        EXPECT_FALSE(check->isModal());
        EXPECT_EQ(check->windowTitle(), QStringLiteral("Проверка страницы"));
        EXPECT_EQ(check->checkAgainButton()->text(), QStringLiteral("Проверить снова"));
        EXPECT_EQ(waitForSummary(check, QStringLiteral("Ошибок: 0, предупреждений: 3")),
                  QStringLiteral("Ошибок: 0, предупреждений: 3"));
        EXPECT_EQ(shownRows(check),
                  (QStringList { QStringLiteral("строка 5, столбец 2: <div> proprietary attribute \"foo\""),
                                 QStringLiteral("строка 6, столбец 7: discarding unexpected </div>"),
                                 QStringLiteral("строка 7, столбец 10: missing </b> before </p>") }));
        EXPECT_EQ(t.memo().text(), text);
        EXPECT_FALSE(t.ctx().doc.modified);

        const struct {
            int row;
            qsizetype position;
        } places[] = {
            { 2, text.indexOf(QStringLiteral("<B>")) },
            { 0, text.indexOf(QStringLiteral("<DIV")) },
            { 1, text.indexOf(QStringLiteral("</DIV>\r\n<P>")) },
        };
        for (const auto& place : places) {
            SCOPED_TRACE(place.row);
            t.memo().setSelStart(0);
            enterOnRow(check, place.row);
            EXPECT_EQ(t.selection(), Sel(place.position, 0));
            expectEditingAreaFocused(t);
            // Enter chose the row and did not press "Проверить снова".
            EXPECT_EQ(check->summaryLabel()->text(), QStringLiteral("Ошибок: 0, предупреждений: 3"));
            EXPECT_TRUE(t.memo().viewport()->rect().contains(t.memo().cursorRect().center()));
        }
        // Choosing rows moved the caret and nothing else.
        EXPECT_EQ(t.memo().text(), text);
        EXPECT_FALSE(t.ctx().doc.modified);
    }
}

// The line is also longer than the slice the text is copied in.
TEST(PageCheckWindow, RowOfALongLineLandsInTheRightDisplayBlock)
{
    ActiveWindow t;
    const QString text = brokenPage(70000);
    t.setText(text);
    ASSERT_GT(t.memo().document()->blockCount(), t.memo().lineCount() + 1); // the long line is in pieces
    t.window->Checkpage1Click();
    TPageCheck* check = checkWindow(t);
    ASSERT_NE(check, nullptr);
    waitForSummary(check, QStringLiteral("Ошибок: 0, предупреждений: 3"));
    ASSERT_EQ(shownRows(check).value(2), QStringLiteral("строка 7, столбец 70010: missing </b> before </p>"));
    enterOnRow(check, 2);
    EXPECT_EQ(t.selection(), Sel(text.indexOf(QStringLiteral("<B>")), 0));
    expectEditingAreaFocused(t);
    EXPECT_TRUE(t.memo().viewport()->rect().contains(t.memo().cursorRect().center()));
}

TEST(PageCheckWindow, TextChangedWhileCheckingIsReportedAndCheckAgainChecksAnew)
{
    ActiveWindow t;
    t.setText(brokenPage());
    t.memo().setSelStart(0);
    QTest::keyClick(&t.memo(), Qt::Key_V, CtrlShift);
    // Typed before the check's result can come back to the GUI thread.
    QTest::keyClick(&t.memo(), Qt::Key_Space);
    TPageCheck* check = checkWindow(t);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(waitForSummary(check, QStringLiteral("Текст изменён: проверьте снова")),
              QStringLiteral("Текст изменён: проверьте снова"));
    EXPECT_TRUE(shownRows(check).isEmpty());

    QTest::keyClick(&t.memo(), Qt::Key_Backspace);
    QTest::mouseClick(check->checkAgainButton(), Qt::LeftButton);
    EXPECT_EQ(waitForSummary(check, QStringLiteral("Ошибок: 0, предупреждений: 3")),
              QStringLiteral("Ошибок: 0, предупреждений: 3"));
    EXPECT_EQ(shownRows(check).size(), 3);

    // The window closes while a check still runs: nothing may be left to
    // call back into it.
    QTest::mouseClick(check->checkAgainButton(), Qt::LeftButton);
}
