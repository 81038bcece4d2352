#include "core/text/editorbuffer.h"
#include "support/testwindow.h"
#include "tools/spaceremoval.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using TextWindow = TestWindow;

QString clipboardText() { return QGuiApplication::clipboard()->text(); }
void setClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

} // namespace

TEST(SpaceRemoval, EveryRunBecomesOneSpace)
{
    const QString nbsp(QChar(0xA0));
    const struct {
        QString line, expected;
    } cases[] = {
        { QStringLiteral("  a    b   "), QStringLiteral(" a b ") },
        { QStringLiteral("a b"), QStringLiteral("a b") },
        { QStringLiteral("    "), QStringLiteral(" ") },
        { QStringLiteral(" "), QStringLiteral(" ") },
        { QString(), QString() },
        { QStringLiteral("a\t\tb"), QStringLiteral("a\t\tb") },
        { QStringLiteral("a \t  b"), QStringLiteral("a \t b") },
        { QStringLiteral("a") + nbsp + nbsp + QStringLiteral("b"), QStringLiteral("a") + nbsp + nbsp + QStringLiteral("b") },
        { QStringLiteral("a ") + nbsp + QStringLiteral("  b"), QStringLiteral("a ") + nbsp + QStringLiteral(" b") },
        { QStringLiteral("при  вет   мир"), QStringLiteral("при вет мир") },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(spaceremoval::removeRepeatedSpaces(c.line), c.expected) << c.line.toStdString();
        EXPECT_EQ(spaceremoval::hasRepeatedSpaces(c.line), c.line != c.expected) << c.line.toStdString();
    }
}

TEST(SpaceRemoval, WholeTextInOneReplacement)
{
    TextWindow t;
    t.setText(QStringLiteral("  a    b   \r\nc  \td\r\n\r\n x  y\r\n"));
    t.select(2, 3); // the selection plays no part
    QSignalSpy changes(&t.memo(), &EditorBuffer::changed);
    t.window->Nospase1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral(" a b \r\nc \td\r\n\r\n x y\r\n"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(t.selection(), Sel(t.memo().textLength(), 0));
    EXPECT_TRUE(t.ctx().doc.modified);
}

TEST(SpaceRemoval, UnchangedTextStillCountsAsChanged)
{
    TextWindow t;
    t.setText(QStringLiteral("one two\r\nthree"));
    t.select(0, 0);
    t.window->Nospase1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral("one two\r\nthree"));
    EXPECT_EQ(t.selection(), Sel(14, 0));
    EXPECT_TRUE(t.ctx().doc.modified);
}

TEST(SpaceRemoval, EmptyLinesOnlyChangeNothing)
{
    for (const QString text : { QString(), QStringLiteral("\r\n\r\n") }) {
        TextWindow t;
        t.setText(text);
        t.window->Nospase1Click();
        EXPECT_EQ(t.memo().text(), text);
        EXPECT_EQ(t.selection(), Sel(text.size(), 0));
        EXPECT_FALSE(t.ctx().doc.modified) << text.size();
    }
}

TEST(SpaceRemoval, NoBreakSpacesAndUnusualCharactersSurvive)
{
    TextWindow t;
    const QString text = QStringLiteral("a") + QChar(0xA0) + QChar(0xA0) + QStringLiteral("  b\u2116  ")
                         + QChar(0xF898) + QStringLiteral("\r\n");
    t.setText(text);
    t.window->Nospase1Click();
    EXPECT_EQ(t.memo().text(),
              QStringLiteral("a") + QChar(0xA0) + QChar(0xA0) + QStringLiteral(" b\u2116 ") + QChar(0xF898)
                  + QStringLiteral("\r\n"));
    EXPECT_EQ(t.memo().toBytes(), QByteArray("a\xA0\xA0 b\xB9 \x98\r\n"));
}

TEST(Clipboard, CopyAndCutNeedASelection)
{
    TextWindow t;
    t.setText(QStringLiteral("hello world"));
    setClipboard(QStringLiteral("earlier"));
    t.select(3, 0);
    t.window->Copy1Click();
    t.window->Cut1Click();
    EXPECT_EQ(clipboardText(), QStringLiteral("earlier"));
    EXPECT_EQ(t.memo().text(), QStringLiteral("hello world"));
    EXPECT_FALSE(t.ctx().doc.modified);

    // A later paste inserts the earlier content.
    t.window->Paste1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral("helearlierlo world"));
    EXPECT_EQ(t.selection(), Sel(10, 0));
    EXPECT_TRUE(t.ctx().doc.modified);
}

TEST(Clipboard, CopyCutAndPasteRoundTrip)
{
    TextWindow t;
    const QString nbsp(QChar(0xA0));
    t.setText(QStringLiteral("ab") + nbsp + QStringLiteral("c\r\nde\r\nf"));
    t.select(1, 6); // "b c", break, "d"
    t.window->Copy1Click();
    EXPECT_EQ(clipboardText(), QStringLiteral("b") + nbsp + QStringLiteral("c\nd"));
    EXPECT_FALSE(t.ctx().doc.modified);

    t.window->Cut1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral("ae\r\nf"));
    EXPECT_EQ(t.selection(), Sel(1, 0));
    EXPECT_TRUE(t.ctx().doc.modified);

    // Pasting replaces the selection; the caret stands after the pasted text.
    t.select(4, 1);
    t.window->Paste1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral("ae\r\nb") + nbsp + QStringLiteral("c\r\nd"));
    EXPECT_EQ(t.selection(), Sel(10, 0));
}

TEST(Clipboard, PasteTurnsForeignLineBreaksAndCharactersIntoTheDocumentsOwn)
{
    TextWindow t;
    t.setText(QStringLiteral("[]"));
    t.select(1, 0);
    setClipboard(QString::fromUtf8("中 x\r\ny\rz\n€ 😀"));
    t.window->Paste1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral("[&#20013; x\r\ny\r\nz\r\n€ &#128512;]"));
    EXPECT_EQ(t.selection(), Sel(t.memo().textLength() - 1, 0));
    EXPECT_EQ(t.memo().toBytes(), QByteArray("[&#20013; x\r\ny\r\nz\r\n\x88 &#128512;]"));
}

TEST(Clipboard, PasteWithEmptyClipboardChangesNothing)
{
    TextWindow t;
    t.setText(QStringLiteral("text"));
    t.select(1, 2);
    QGuiApplication::clipboard()->clear();
    t.window->Paste1Click();
    EXPECT_EQ(t.memo().text(), QStringLiteral("text"));
    EXPECT_EQ(t.selection(), Sel(1, 2));
    EXPECT_FALSE(t.ctx().doc.modified);
}

TEST(ClearAll, AsksAndEmptiesOnlyOnYes)
{
    TextWindow t;
    t.setText(QStringLiteral("keep\r\nme"));
    t.select(2, 5);
    t.fake.prompts.answers = { Answer::No };
    t.window->Delete1Click();
    ASSERT_EQ(t.fake.prompts.boxes.size(), 1);
    const MessageBoxSpec& box = t.fake.prompts.boxes[0];
    EXPECT_EQ(box.text, QStringLiteral("Удалить весь текст?"));
    EXPECT_EQ(box.caption, QStringLiteral("Confirm"));
    EXPECT_EQ(box.icon, BoxIcon::Question);
    EXPECT_EQ(box.buttons, (QList<Answer> { Answer::Yes, Answer::No }));
    EXPECT_EQ(box.defaultButton, Answer::Yes);
    EXPECT_EQ(box.escapeButton, Answer::No);
    EXPECT_EQ(t.memo().text(), QStringLiteral("keep\r\nme"));
    EXPECT_EQ(t.selection(), Sel(2, 5));
    EXPECT_FALSE(t.ctx().doc.modified);

    const QString fileName = t.ctx().doc.fileName;
    const QString title = t.window->windowTitle();
    t.fake.prompts.answers = { Answer::Yes };
    t.window->Delete1Click();
    EXPECT_EQ(t.memo().text(), QString());
    EXPECT_TRUE(t.ctx().doc.modified);
    EXPECT_EQ(t.ctx().doc.fileName, fileName);
    EXPECT_EQ(t.window->windowTitle(), title);

    t.fake.prompts.answers = { Answer::Yes };
    t.window->Delete1Click();
    EXPECT_EQ(t.memo().text(), QString());
    EXPECT_EQ(t.fake.prompts.boxes.size(), 3);
}

TEST(SelectAll, SelectsTheWholeTextWithTheCaretAtTheEnd)
{
    TextWindow t;
    t.setText(QStringLiteral("ab\r\ncd\r\n"));
    t.select(3, 0);
    t.window->SelectAll1Click();
    EXPECT_EQ(t.selection(), Sel(0, 8));
    EXPECT_EQ(t.memo().textCursor().position(), t.memo().textCursor().selectionEnd());
    EXPECT_EQ(t.memo().getSelText(), QStringLiteral("ab\r\ncd\r\n"));
    EXPECT_FALSE(t.ctx().doc.modified);

    t.setText(QString());
    t.window->SelectAll1Click();
    EXPECT_EQ(t.selection(), Sel(0, 0));
}
