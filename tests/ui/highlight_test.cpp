#include "core/text/editorbuffer.h"
#include "support/testwindow.h"
#include "ui/tagcolours.h"
#include "ui/taghighlighter.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

using htmllexer::Kind;

namespace {

QAction* item(TestWindow& t)
{
    return t.window->findChild<QAction*>(QStringLiteral("Highlight1"));
}

// The colour the line shows at a column; invalid where it is plain.
QColor colourAt(TestWindow& t, int line, int column)
{
    const QTextBlock block = t.memo().document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (column >= range.start && column < range.start + range.length)
            return range.format.foreground().color();
    return {};
}

QColor colourOf(TestWindow& t, Kind kind)
{
    return tagcolours::colourFor(kind, t.memo().palette().color(QPalette::Base));
}

void settle(TestWindow& t)
{
    for (int i = 0; i < 100000 && !t.window->highlighter().isSettled(); ++i)
        QApplication::processEvents();
    QApplication::processEvents();
}

QString lines(int count, const QString& line)
{
    QStringList all;
    for (int i = 0; i < count; ++i)
        all.append(line);
    return all.join(QStringLiteral("\r\n"));
}

// Where the caret would stand at every position of the text.
QList<QRect> caretRects(EditorBuffer& memo)
{
    QList<QRect> rects;
    QTextCursor cursor(memo.document());
    for (int position = 0; position < memo.document()->characterCount(); ++position) {
        cursor.setPosition(position);
        rects.append(memo.cursorRect(cursor));
    }
    return rects;
}

} // namespace

TEST(Highlight, ColoursTheLinesOnScreenAndCarriesAChangeDownLater)
{
    TestWindow t;
    t.window->show();
    t.memo().setText(lines(3000, QStringLiteral("<B class=x>&amp;</B>")));
    QApplication::processEvents();
    EXPECT_EQ(colourAt(t, 0, 1), colourOf(t, Kind::Tag));
    EXPECT_EQ(colourAt(t, 0, 3), colourOf(t, Kind::Attribute));
    EXPECT_EQ(colourAt(t, 0, 9), colourOf(t, Kind::Value));
    EXPECT_EQ(colourAt(t, 0, 11), colourOf(t, Kind::Reference));
    EXPECT_FALSE(colourAt(t, 2999, 1).isValid()) << "a line never on screen gets no colours";

    t.memo().setFocus();
    QTest::keyClicks(&t.memo(), QStringLiteral("<!--"));
    EXPECT_EQ(colourAt(t, 1, 1), colourOf(t, Kind::Comment)) << "the lines on screen change at once";
    EXPECT_FALSE(t.window->highlighter().isSettled()) << "the rest is left to the background";

    settle(t);
    t.memo().verticalScrollBar()->setValue(t.memo().verticalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_EQ(colourAt(t, 2999, 1), colourOf(t, Kind::Comment));
}

// Without word wrap only the columns around those on screen get colours (a
// long line split into coloured pieces is slow to lay out); scrolling along
// the line colours what comes on screen.
TEST(Highlight, ALongLineIsColouredWhereverItIsScrolledTo)
{
    TestWindow t;
    t.window->show();
    t.memo().setText(lines(1, QString(QStringLiteral("<B>x</B>")).repeated(400)));
    QApplication::processEvents();
    EXPECT_EQ(colourAt(t, 0, 1), colourOf(t, Kind::Tag));
    EXPECT_FALSE(colourAt(t, 0, 3201 - 8).isValid()) << "far off screen";

    t.memo().horizontalScrollBar()->setValue(t.memo().horizontalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_EQ(colourAt(t, 0, 3201 - 8), colourOf(t, Kind::Tag));
    EXPECT_FALSE(colourAt(t, 0, 1).isValid());

    t.memo().setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QApplication::processEvents();
    EXPECT_EQ(colourAt(t, 0, 1), colourOf(t, Kind::Tag)) << "word wrap shows every column";
    EXPECT_EQ(colourAt(t, 0, 3201 - 8), colourOf(t, Kind::Tag));
}

TEST(Highlight, TurningItOffLeavesTheBytesAndEveryPositionAsTheyWere)
{
    TestWindow t;
    t.window->show();
    const QString text = QString::fromUtf8(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n<P ALIGN=\"center\">Привет &laquo;мир&raquo;</P>\r\n"
        "<!-- заметка\r\n-->\r\n<SCRIPT>if (a < b) x = '</b>';</SCRIPT>\r\n<A HREF=\"a.htm\" TARGET=_top>ссылка</A>");
    t.memo().setText(text);
    t.memo().setSelStart(20);
    t.ctx().doc.modified = false;
    QApplication::processEvents();
    const QByteArray bytes = t.memo().toBytes();
    const QList<QRect> coloured = caretRects(t.memo());
    ASSERT_TRUE(colourAt(t, 1, 1).isValid());
    EXPECT_EQ(colourAt(t, 3, 0), colourOf(t, Kind::Comment)) << "the comment goes on from the line above";
    EXPECT_EQ(colourAt(t, 4, 1), colourOf(t, Kind::Tag));

    item(t)->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(item(t)->isChecked());
    EXPECT_FALSE(t.window->highlighter().isEnabled());
    for (QTextBlock block = t.memo().document()->begin(); block.isValid(); block = block.next())
        EXPECT_TRUE(block.layout()->formats().isEmpty()) << block.blockNumber();
    EXPECT_EQ(t.memo().toBytes(), bytes);
    EXPECT_EQ(caretRects(t.memo()), coloured);
    EXPECT_EQ(t.memo().selStart(), 20);
    EXPECT_FALSE(t.ctx().doc.modified);

    item(t)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(colourAt(t, 1, 1), colourOf(t, Kind::Tag));
    EXPECT_EQ(t.memo().toBytes(), bytes);
    EXPECT_FALSE(t.ctx().doc.modified);
}

TEST(Highlight, TheItemWritesItsKeyAloneAndTheChoiceComesBackAtTheNextStart)
{
    TestWindow t({}, false);
    const QString file = t.ctx().settings.settingsFileName;
    ASSERT_TRUE(item(t)->isCheckable());
    EXPECT_TRUE(item(t)->isChecked()) << "on without a settings file";
    item(t)->trigger();
    EXPECT_EQ(readFile(file), "[VIEW]\r\nhighlight=FALSE\r\n");
    item(t)->trigger();
    EXPECT_EQ(readFile(file), "[VIEW]\r\nhighlight=TRUE\r\n");

    const struct {
        QByteArray stored;
        bool on;
    } cases[] = {
        { "[VIEW]\r\nhighlight=FALSE\r\n", false }, { "[view]\r\nHIGHLIGHT=FALSE\r\n", false },
        { "[VIEW]\r\nhighlight=false\r\n", true },  { "[VIEW]\r\nhighlight=0\r\n", true },
        { "[VIEW]\r\nhighlight=\r\n", true },       { "[USER]\r\nname=x\r\n", true },
    };
    for (const auto& c : cases) {
        writeFile(file, c.stored);
        Tmain next(t.fake.platform(), {});
        auto* nextItem = next.findChild<QAction*>(QStringLiteral("Highlight1"));
        EXPECT_EQ(nextItem->isChecked(), c.on) << c.stored.constData();
        EXPECT_EQ(next.highlighter().isEnabled(), c.on) << c.stored.constData();
    }
}

TEST(Highlight, AKeyThatCannotBeWrittenIsReportedAndTheChoiceStands)
{
    TestWindow t;
    writeFile(t.path("blocker"), "a file where a folder should be");
    t.ctx().settings.settingsFileName = t.path("blocker/Brannoc Quillet.ini");
    item(t)->trigger();
    EXPECT_EQ(t.fake.prompts.boxTexts(),
              QStringList { "Unable to write to " + t.path("blocker/Brannoc Quillet.ini") + "." });
    EXPECT_FALSE(item(t)->isChecked());
    EXPECT_FALSE(t.window->highlighter().isEnabled());
}

TEST(Highlight, EveryColourStandsOutFromTheEditingArea)
{
    // Published WCAG figures for the formula itself.
    EXPECT_NEAR(tagcolours::contrastRatio(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_NEAR(tagcolours::contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);

    TestWindow t;
    const QColor backgrounds[] = { t.memo().palette().color(QPalette::Base), Qt::white, QColor(0xFF, 0xFF, 0xE0),
                                   QColor(0x80, 0x80, 0x80), QColor(0x20, 0x20, 0x40), Qt::black };
    for (const QColor& background : backgrounds)
        for (int kind = 0; kind < htmllexer::kKindCount; ++kind)
            EXPECT_GE(tagcolours::contrastRatio(tagcolours::colourFor(Kind(kind), background), background), 4.5)
                << background.name().toStdString() << " kind " << kind;
}
