#include "core/text/editorbuffer.h"
#include "support/testwindow.h"
#include "tools/replacedialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A shown, active window with its find-and-replace dialog open.
struct FindWindow : TestWindow {
    FindWindow()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        active = QTest::qWaitForWindowActive(window.get());
        window->Replace1Click();
        dialog = window->findChild<ReplaceDlg*>(QStringLiteral("ReplaceDlg"));
    }
    void findNext() { dialog->findNextButton()->click(); }
    void replace() { dialog->replaceButton()->click(); }
    void replaceAll() { dialog->replaceAllButton()->click(); }
    ReplaceDlg* dialog = nullptr;
    bool active = false;
};

} // namespace

TEST(FindReplace, WorkedExampleWithCatAndCow)
{
    FindWindow t;
    ASSERT_NE(t.dialog, nullptr);
    ASSERT_TRUE(t.active);
    t.setText(QStringLiteral("a cat\r\ncat and cat\r\ndog"));
    t.dialog->setFindText(QStringLiteral("cat"));
    t.dialog->setReplaceText(QStringLiteral("cow"));
    t.memo().setSelStart(0);

    t.findNext();
    EXPECT_EQ(t.selection(), Sel(7, 3));
    EXPECT_EQ(t.memo().getSelText(), QStringLiteral("cat"));
    EXPECT_EQ(QApplication::focusWidget(), &t.memo());
    EXPECT_FALSE(t.ctx().doc.modified);
    t.findNext();
    EXPECT_EQ(t.selection(), Sel(7, 3));

    t.replace();
    EXPECT_EQ(t.memo().text(), QStringLiteral("a cat\r\ncow and cat\r\ndog"));
    EXPECT_EQ(t.selection(), Sel(15, 3));
    EXPECT_TRUE(t.ctx().doc.modified);

    // Replace All goes on one occurrence per press, moving up.
    t.replaceAll();
    EXPECT_EQ(t.memo().text(), QStringLiteral("a cat\r\ncow and cow\r\ndog"));
    EXPECT_EQ(t.selection(), Sel(2, 3));
    t.replace();
    EXPECT_EQ(t.memo().text(), QStringLiteral("a cow\r\ncow and cow\r\ndog"));
    // Nothing left: the caret stays after the last replacement, nothing selected.
    EXPECT_EQ(t.selection(), Sel(5, 0));
    t.ctx().doc.modified = false;
    t.replace();
    t.replaceAll();
    t.findNext();
    EXPECT_EQ(t.memo().text(), QStringLiteral("a cow\r\ncow and cow\r\ndog"));
    EXPECT_EQ(t.selection(), Sel(5, 0));
    EXPECT_FALSE(t.ctx().doc.modified);
}

TEST(FindReplace, ScanIgnoresTheCaretAndLeavesEverythingWhenNothingMatches)
{
    FindWindow t;
    t.setText(QStringLiteral("cat\r\ncat\r\nCat\r\n"));
    t.dialog->setFindText(QStringLiteral("cat"));
    t.memo().setSelStart(12);
    t.findNext();
    EXPECT_EQ(t.selection(), Sel(5, 3)); // not the next one after the caret

    t.select(1, 2);
    for (const QString search : { QStringLiteral("CAT"), QString(), QStringLiteral("t\r\nc") }) {
        t.dialog->setFindText(search);
        t.findNext();
        EXPECT_EQ(t.selection(), Sel(1, 2)) << search.toStdString();
    }
    EXPECT_FALSE(t.ctx().doc.modified);
}

TEST(FindReplace, ReplaceWithNothingSelectedChangesNothing)
{
    FindWindow t;
    t.setText(QStringLiteral("cat cat"));
    t.dialog->setFindText(QStringLiteral("cat"));
    t.dialog->setReplaceText(QStringLiteral("cow"));
    t.memo().setSelStart(3);
    t.replace();
    t.replaceAll();
    EXPECT_EQ(t.memo().text(), QStringLiteral("cat cat"));
    EXPECT_EQ(t.selection(), Sel(3, 0));
    EXPECT_FALSE(t.ctx().doc.modified);
}

TEST(FindReplace, OnlyASelectionEqualToTheSearchTextIsReplaced)
{
    struct Case {
        const char* name;
        const char* find;
        bool all;         // Replace All rather than Replace
        Sel selected;
        const char* text; // after the press
        Sel after;
    };
    const Case cases[] = {
        { "not a match: only the scan runs", "cat", false, { 1, 5 }, "dog\r\nno cat", { 8, 3 } },
        { "a whole paragraph, Replace All", "cat", true, { 0, 11 }, "dog\r\nno cat", { 8, 3 } },
        { "differs in case only", "DOG", false, { 0, 3 }, "dog\r\nno cat", { 0, 3 } },
        { "the match itself", "cat", true, { 8, 3 }, "dog\r\nno bird", { 12, 0 } },
    };
    for (const Case& c : cases) {
        FindWindow t;
        t.setText(QStringLiteral("dog\r\nno cat"));
        t.dialog->setFindText(QString::fromUtf8(c.find));
        t.dialog->setReplaceText(QStringLiteral("bird"));
        t.select(c.selected.first, c.selected.second);
        c.all ? t.replaceAll() : t.replace();
        EXPECT_EQ(t.memo().text(), QString::fromUtf8(c.text)) << c.name;
        EXPECT_EQ(t.selection(), c.after) << c.name;
        EXPECT_EQ(t.ctx().doc.modified, c.text != std::string("dog\r\nno cat")) << c.name;
    }
    // An empty replacement text deletes the match.
    FindWindow t;
    t.setText(QStringLiteral("dog cat"));
    t.dialog->setFindText(QStringLiteral("cat"));
    t.findNext();
    t.replace();
    EXPECT_EQ(t.memo().text(), QStringLiteral("dog "));
    EXPECT_EQ(t.selection(), Sel(4, 0));
}

TEST(FindReplace, ReplacementHoldingTheSearchTextIsFoundAgain)
{
    FindWindow t;
    t.setText(QStringLiteral("x cat"));
    t.dialog->setFindText(QStringLiteral("cat"));
    t.dialog->setReplaceText(QStringLiteral("catcat"));
    t.findNext();
    t.replace();
    EXPECT_EQ(t.memo().text(), QStringLiteral("x catcat"));
    EXPECT_EQ(t.selection(), Sel(2, 3));
    t.replaceAll();
    EXPECT_EQ(t.memo().text(), QStringLiteral("x catcatcat"));
    EXPECT_EQ(t.selection(), Sel(2, 3));
}

TEST(FindReplace, TextsOutsideTheCodePageEnterAsReferences)
{
    FindWindow t;
    t.setText(QStringLiteral("кот"));
    t.dialog->setFindText(QStringLiteral("кот"));
    t.dialog->setReplaceText(QString::fromUtf8("猫"));
    t.findNext();
    t.replace();
    EXPECT_EQ(t.memo().text(), QStringLiteral("&#29483;"));
}

TEST(FindReplace, PastedLineBreaksBecomeTheBlanksTheFieldShows)
{
    FindWindow t;
    t.setText(QStringLiteral("a b  c"));
    for (QLineEdit* field : { t.dialog->findChild<QLineEdit*>(QStringLiteral("FindText")),
                              t.dialog->findChild<QLineEdit*>(QStringLiteral("ReplaceText")) }) {
        QGuiApplication::clipboard()->setText(QStringLiteral("b\r\nc"));
        field->clear();
        field->paste();
        EXPECT_EQ(field->text(), QStringLiteral("b  c")) << field->objectName().toStdString();
    }
    t.findNext();
    EXPECT_EQ(t.selection(), Sel(2, 4));
}

TEST(FindReplaceDialog, LooksLikeTheClassicDialog)
{
    FindWindow t;
    ReplaceDlg* d = t.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(d->isModal());
    EXPECT_EQ(d->findNextButton()->text(), QStringLiteral("Find Next"));
    EXPECT_EQ(d->replaceButton()->text(), QStringLiteral("Replace"));
    EXPECT_EQ(d->replaceAllButton()->text(), QStringLiteral("Replace All"));
    EXPECT_EQ(d->cancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(d->findChildren<QCheckBox*>().isEmpty());
    EXPECT_TRUE(d->findChildren<QRadioButton*>().isEmpty());
    const QList<QLineEdit*> fields = d->findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 2);
    for (QLineEdit* field : fields) {
        field->setText(QString(300, u'a'));
        EXPECT_EQ(field->text().size(), 255);
    }
    QStringList labels;
    for (const QLabel* label : d->findChildren<QLabel*>())
        labels.append(label->text());
    EXPECT_TRUE(labels.contains(QStringLiteral("Find what:")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Replace with:")));
    // The user can go on typing in the editor while it is open.
    t.memo().setFocus();
    t.setText(QString());
    QTest::keyClicks(&t.memo(), QStringLiteral("ab"));
    EXPECT_EQ(t.memo().text(), QStringLiteral("ab"));
}

TEST(FindReplaceDialog, KeepsTextsAndPlaceForTheRun)
{
    FindWindow t;
    ReplaceDlg* d = t.dialog;
    d->setFindText(QStringLiteral("cat"));
    d->setReplaceText(QStringLiteral("cow"));
    d->move(140, 90);
    const QPoint placed = d->pos();

    // Opening again while open only raises it.
    t.window->Replace1Click();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->pos(), placed);
    EXPECT_EQ(d->findText(), QStringLiteral("cat"));

    d->cancelButton()->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->rememberedPosition(), std::optional<QPoint>(placed));
    d->move(0, 0); // wherever it may have gone meanwhile
    t.window->Replace1Click();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->pos(), placed);
    EXPECT_EQ(d->findText(), QStringLiteral("cat"));
    EXPECT_EQ(d->replaceText(), QStringLiteral("cow"));
    EXPECT_EQ(t.window->findChildren<ReplaceDlg*>().size(), 1);

    // Escape closes it like Cancel.
    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
}
