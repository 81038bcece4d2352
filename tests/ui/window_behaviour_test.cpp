#include "core/apperror.h"
#include "ui/activewindow.h"

#include <QAction>
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
    EXPECT_EQ(t.memo().lineCount(), 2);
    EXPECT_EQ(t.memo().selStart(), 7);
    EXPECT_FALSE(t.ctx().doc.modified);
    EXPECT_EQ(changes.count(), 0);
}

TEST(WordWrap, LineCommandsSeeLinesNotScreenRows)
{
    ActiveWindow t;
    t.window->Wordwrap1Click();
    t.memo().setText(QStringLiteral("word ").repeated(300));
    QApplication::processEvents();
    EXPECT_EQ(t.memo().lineCount(), 1);
    t.memo().setLine(0, QStringLiteral("short"));
    EXPECT_EQ(t.memo().text(), QStringLiteral("short"));
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
    t.memo().setLine(0, QStringLiteral("c"));
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
