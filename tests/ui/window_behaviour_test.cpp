#include "core/platform/apperror.h"
#include "ui/activewindow.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QWindow>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

QAction* wordWrapItem(Tmain& window)
{
    for (QAction* action : window.findChildren<QAction*>(QStringLiteral("Wordwrap1")))
        return action;
    return nullptr;
}

} // namespace

TEST(WordWrap, ToggleSwitchesWrappingScrollBarsAndCheckMarkOnly)
{
    ActiveWindow t;
    const QString longLine = QStringLiteral("word ").repeated(200);
    t.memo().setText(longLine + QStringLiteral("\r\nshort"));
    t.memo().setSelStart(7);
    t.ctx().doc.modified = false;
    QAction* item = wordWrapItem(*t.window);
    ASSERT_NE(item, nullptr);
    ASSERT_FALSE(item->isChecked());
    QSignalSpy changes(&t.memo(), &EditorBuffer::changed);

    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(t.memo().lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(t.memo().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(t.memo().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QApplication::processEvents();
    EXPECT_GT(t.memo().document()->firstBlock().layout()->lineCount(), 1) << "the long line wraps";

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(t.memo().lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(t.memo().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(t.memo().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QApplication::processEvents();
    EXPECT_EQ(t.memo().document()->firstBlock().layout()->lineCount(), 1);

    EXPECT_EQ(t.memo().text(), longLine + QStringLiteral("\r\nshort"));
    EXPECT_EQ(t.memo().selStart(), 7);
    EXPECT_FALSE(t.ctx().doc.modified);
    EXPECT_EQ(changes.count(), 0);
}

TEST(WordWrap, LineCommandsSeeLinesNotScreenRows)
{
    ActiveWindow t;
    t.window->Wordwrap1Click();
    t.memo().setText(QStringLiteral("word  ").repeated(300) + QStringLiteral("\r\nx"));
    QApplication::processEvents();
    t.window->Nospase1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral("word ").repeated(300) + QStringLiteral("\r\nx"));
}

TEST(ChangeNotification, EveryChangeSetsModifiedAndNothingElseDoes)
{
    ActiveWindow t;
    t.ctx().doc.modified = false;
    QTest::keyClicks(&t.memo(), QStringLiteral("a"));
    EXPECT_TRUE(t.ctx().doc.modified);

    t.ctx().doc.modified = false;
    t.memo().setSelText(QStringLiteral("b"));
    EXPECT_TRUE(t.ctx().doc.modified);

    t.ctx().doc.modified = false;
    t.memo().setText(QStringLiteral("d"));
    EXPECT_TRUE(t.ctx().doc.modified);

    // Moving the caret, selecting, a new font: the text is the same.
    t.ctx().doc.modified = false;
    t.memo().selectAllText();
    t.memo().setSelStart(1);
    QFont font(QStringLiteral("Courier New"), 14);
    t.memo().setFont(font);
    QApplication::processEvents();
    EXPECT_FALSE(t.ctx().doc.modified);
}

TEST(ErrorBox, ErrorsLeavingAHandlerAreShownAndTheWindowKeepsItsState)
{
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        { "Cannot open file c:\\x.htm", "Cannot open file c:\\x.htm." },
        { "Text exceeds memo capacity", "Text exceeds memo capacity." },
        { "Already ends.", "Already ends." },
        { "Ends with !", "Ends with !" },        // '!' sorts before the full stop
        { "Ends with )", "Ends with )" },
        { "Ends with /", "Ends with /." },       // '/' sorts after it
        { "Ошибка", "Ошибка." },
        { "", "" },
    };
    for (const Case& c : cases) {
        TestWindow t;
        t.memo().setText(QStringLiteral("kept"));
        t.memo().setSelStart(2);
        t.window->run([&] {
            t.memo().setSelStart(3);
            throw AppError(QString::fromUtf8(c.message));
        });
        ASSERT_EQ(t.fake.prompts.boxes.size(), 1) << c.message;
        const MessageBoxSpec& box = t.fake.prompts.boxes.first();
        EXPECT_EQ(box.caption, QStringLiteral("Brannoc Quillet"));
        EXPECT_EQ(box.text, QString::fromUtf8(c.shown));
        EXPECT_EQ(box.icon, BoxIcon::Stop);
        EXPECT_EQ(box.buttons, QList<Answer> { Answer::Ok });
        EXPECT_EQ(t.memo().text(), QStringLiteral("kept"));
        EXPECT_TRUE(t.window->isEnabled());
    }
}

TEST(ErrorBox, OtherFailuresReachTheBoxToo)
{
    TestWindow t;
    t.window->run([] { throw std::runtime_error("disk full"); });
    ASSERT_EQ(t.fake.prompts.boxes.size(), 1);
    EXPECT_EQ(t.fake.prompts.boxes.first().text, QStringLiteral("disk full."));
    t.window->run([] { throw std::bad_alloc(); });
    ASSERT_EQ(t.fake.prompts.boxes.size(), 2);
    EXPECT_EQ(t.fake.prompts.boxes.last().icon, BoxIcon::Stop);
}

TEST(ErrorBox, LoadingTooLongAFileThroughTheWindowKeepsTheText)
{
    TestWindow t;
    t.memo().setText(QStringLiteral("previous"));
    t.memo().setCapacity(4);
    const QString big = t.path(QStringLiteral("big.htm"));
    writeFile(big, "12345");
    t.window->run([&] { t.memo().loadFromFile(big); });
    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { QStringLiteral("Text exceeds memo capacity.") });
    EXPECT_EQ(t.memo().text(), QStringLiteral("previous"));
}

TEST(Capacity, NoEditMakesTheTextLongerThanTheMemoHolds)
{
    enum class Edit { Bold, PasteCommand, PasteKey, Drop, Type, Enter };
    struct Case {
        const char* name;
        Edit edit;
        bool errorBox; // "Text exceeds memo capacity" shown; a typed key is just ignored
    };
    const Case cases[] = {
        { "a wrap command", Edit::Bold, true },       { "the paste command", Edit::PasteCommand, true },
        { "the paste key", Edit::PasteKey, true },    { "a drop", Edit::Drop, true },
        { "typing", Edit::Type, false },              { "Enter", Edit::Enter, false },
    };
    for (const Case& c : cases) {
        ActiveWindow t;
        t.memo().setText(QStringLiteral("123456789"));
        t.memo().setCapacity(10);
        t.memo().selectAllText();
        QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
        auto* data = new QMimeData;
        data->setText(QStringLiteral("abc"));
        const QPoint at(5, 5);
        QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        switch (c.edit) {
        case Edit::Bold: t.window->Bold1Click(); break;
        case Edit::PasteCommand:
            t.memo().setSelStart(9);
            t.window->Paste1Click();
            break;
        case Edit::PasteKey:
            t.memo().setSelStart(9);
            QTest::keyClick(&t.memo(), Qt::Key_V, Qt::ControlModifier);
            break;
        case Edit::Drop: {
            QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(t.memo().viewport(), &enter);
            QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(t.memo().viewport(), &move);
            QApplication::sendEvent(t.memo().viewport(), &drop);
            t.memo().setSelStart(9);
            break;
        }
        case Edit::Type:
            t.memo().setSelStart(9);
            QTest::keyClicks(&t.memo(), QStringLiteral("ab"));
            break;
        case Edit::Enter:
            t.memo().setSelStart(9);
            QTest::keyClick(&t.memo(), Qt::Key_Return);
            break;
        }
        QApplication::processEvents();
        delete data;
        EXPECT_EQ(t.fake.prompts.boxTexts(),
                  c.errorBox ? QStringList { QStringLiteral("Text exceeds memo capacity.") } : QStringList {})
            << c.name;
        EXPECT_EQ(t.memo().text(), c.edit == Edit::Type ? QStringLiteral("123456789a") : QStringLiteral("123456789"))
            << c.name;
    }
}

TEST(MainWindow, TabInsertsNothing)
{
    ActiveWindow t;
    QTest::keyClicks(&t.memo(), QStringLiteral("ab"));
    QTest::keyClick(&t.memo(), Qt::Key_Tab);
    QTest::keyClick(&t.memo(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(t.memo().text(), QStringLiteral("ab"));
}

TEST(MainWindow, AFileNameHoldingTheModifiedMarkerShowsInTheTitleAsItIs)
{
    for (const QString name : { QStringLiteral("a[*]b.htm"), QStringLiteral("[*][*].htm") }) {
        TestWindow t;
        const QString file = t.path(name);
        writeFile(file, "x");
        t.fake.prompts.openResults.append(FileDialogResult { file, 1 });
        t.window->OpenBtnClick();
        t.window->winId();
        ASSERT_NE(t.window->windowHandle(), nullptr);
        EXPECT_EQ(t.window->windowHandle()->title(), "Brannoc Quillet 1.7 [" + file + "]");
    }
}
