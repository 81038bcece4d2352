#include "core/platform/branding.h"
#include "core/text/editorbuffer.h"
#include "markup/markupcommands.h"
#include "support/testwindow.h"
#include "template_rows_test.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QString kBefore = QStringLiteral("one\r\n");
const QString kAfter = QStringLiteral(" three");

/// Text "one" CRLF [selection] " three", with the selection selected (or the
/// caret there when it is empty) and the Modified flag cleared.
void prepare(TestWindow& t, const QString& selection)
{
    t.memo().setText(kBefore + selection + kAfter);
    t.memo().setSelStart(kBefore.size());
    t.memo().setSelLength(selection.size());
    t.ctx().doc.modified = false;
}

void trigger(TestWindow& t, const char* item)
{
    auto* action = t.window->findChild<QAction*>(QString::fromLatin1(item));
    ASSERT_NE(action, nullptr) << item;
    action->trigger();
}

/// After a command on `selection`: the text, the caret and the Modified flag
/// are those of `inserted` replacing it, or all unchanged when nothing is.
void expectOutcome(TestWindow& t, const QString& selection, const std::optional<QString>& inserted, const char* what)
{
    if (!inserted) {
        EXPECT_EQ(t.memo().text(), kBefore + selection + kAfter) << what;
        EXPECT_EQ(t.memo().selStart(), kBefore.size()) << what;
        EXPECT_EQ(t.memo().selLength(), selection.size()) << what;
        EXPECT_FALSE(t.ctx().doc.modified) << what;
        return;
    }
    EXPECT_EQ(t.memo().text(), kBefore + *inserted + kAfter) << what;
    EXPECT_EQ(t.memo().selStart(), kBefore.size() + inserted->size()) << what;
    EXPECT_EQ(t.memo().selLength(), 0) << what;
    EXPECT_TRUE(t.ctx().doc.modified) << what;
}

std::optional<QString> expectedIn(TestWindow& t, const ExpectedRow& row, const QString& selection)
{
    return row.expected(selection, t.ctx().settings.userName);
}

} // namespace

TEST(InsertMenus, EveryItemWithAndWithoutSelection)
{
    TestWindow t;
    t.ctx().settings.userName = QStringLiteral("Иван \"Q\"");
    for (const ExpectedRow& row : insertRows()) {
        for (const QString& selection : { QString(), QStringLiteral("two\r\nlines") }) {
            prepare(t, selection);
            trigger(t, row.command);
            const std::string what = std::string(row.command) + (selection.isEmpty() ? " empty" : " selected");
            expectOutcome(t, selection, expectedIn(t, row, selection), what.c_str());
        }
    }
}

TEST(InsertMenus, ShortcutsRunTheirCommands)
{
    TestWindow t;
    t.window->show();
    QApplication::setActiveWindow(t.window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.window.get()));
    t.memo().setFocus();
    const struct {
        const char* command;
        QKeySequence key;
    } keys[] = { { "Link1", QKeySequence(QStringLiteral("Ctrl+L")) }, { "Line1", QKeySequence(QStringLiteral("Ctrl+H")) },
                 { "Picture1", QKeySequence(QStringLiteral("Ctrl+K")) }, { "Table1", QKeySequence(QStringLiteral("Ctrl+T")) },
                 { "Row1", QKeySequence(QStringLiteral("Ctrl+Shift+G")) }, { "Cell1", QKeySequence(QStringLiteral("Ctrl+G")) },
                 { "Meat1", QKeySequence(QStringLiteral("Ctrl+M")) }, { "Jheader1", QKeySequence(QStringLiteral("Ctrl+J")) } };
    for (const auto& k : keys) {
        const auto row = std::find_if(insertRows().begin(), insertRows().end(),
                                      [&](const ExpectedRow& r) { return qstrcmp(r.command, k.command) == 0; });
        ASSERT_NE(row, insertRows().end());
        prepare(t, QString());
        QTest::keySequence(&t.memo(), k.key);
        expectOutcome(t, QString(), expectedIn(t, *row, QString()), k.command);
    }
    // Ctrl+Shift+K opens the image dialog.
    QTest::keySequence(&t.memo(), QKeySequence(QStringLiteral("Ctrl+Shift+K")));
    EXPECT_EQ(t.fake.prompts.openDialogs.size(), 1);
}

TEST(InsertMenus, CyrillicButtonValuesAreSavedAsWindows1251)
{
    TestWindow t;
    t.memo().setText(QString());
    trigger(t, "SubmitFM");
    trigger(t, "ResetFM");
    const QByteArray bytes = t.memo().toBytes();
    EXPECT_TRUE(bytes.contains("VALUE=\"\xCE\xF2\xEF\xF0\xE0\xE2\xE8\xF2\xFC\">\r\n")) << bytes.toHex().constData();
    EXPECT_TRUE(bytes.contains("VALUE=\"\xCE\xF7\xE8\xF1\xF2\xE8\xF2\xFC\">\r\n")) << bytes.toHex().constData();
}

TEST(ImageFromFile, InsertsPathAndFileNameAndRemembersTheChoice)
{
    TestWindow t;
    auto& prompts = t.fake.prompts;
    prompts.openResults = { FileDialogResult { QStringLiteral("C:\\Site\\img\\logo.gif"), 2 },
                            FileDialogResult { QStringLiteral("/home/u/my pics/Фото.jpeg"), 3 }, std::nullopt };
    prepare(t, QString());
    trigger(t, "Find1");
    expectOutcome(t, QString(), QStringLiteral("<IMG SRC=\"C:\\Site\\img\\logo.gif\" BORDER=0 ALT=\"logo.gif\">"), "windows path");
    prepare(t, QString());
    trigger(t, "Find1");
    expectOutcome(t, QString(), QStringLiteral("<IMG SRC=\"/home/u/my pics/Фото.jpeg\" BORDER=0 ALT=\"Фото.jpeg\">"), "local path");
    prepare(t, QString());
    trigger(t, "Find1"); // cancelled
    expectOutcome(t, QString(), std::nullopt, "cancelled");
    trigger(t, "Find1");

    ASSERT_EQ(prompts.openDialogs.size(), 4);
    const FileDialogSpec& first = prompts.openDialogs.at(0);
    EXPECT_EQ(first.filter, QStringLiteral("All formats|*.gif; *.jp*|GIF image|*.gif|JPEG image|*.jp*"));
    EXPECT_EQ(first.filterIndex, 1);
    EXPECT_TRUE(first.fileName.isEmpty());
    EXPECT_TRUE(first.title.isEmpty());
    EXPECT_FALSE(first.fileMustExist);
    EXPECT_EQ(prompts.openDialogs.at(1).fileName, QStringLiteral("C:\\Site\\img\\logo.gif"));
    EXPECT_EQ(prompts.openDialogs.at(1).filterIndex, 2);
    // A cancelled dialog keeps the previous choice.
    for (int i : { 2, 3 }) {
        EXPECT_EQ(prompts.openDialogs.at(i).fileName, QStringLiteral("/home/u/my pics/Фото.jpeg"));
        EXPECT_EQ(prompts.openDialogs.at(i).filterIndex, 3);
    }
}

TEST(ImageFromFile, WithASelectionTheDialogShowsAndNothingIsInserted)
{
    TestWindow t;
    t.fake.prompts.openResults = { FileDialogResult { QStringLiteral("/tmp/logo.gif"), 1 } };
    prepare(t, QStringLiteral("abc"));
    trigger(t, "Find1");
    EXPECT_EQ(t.fake.prompts.openDialogs.size(), 1);
    expectOutcome(t, QStringLiteral("abc"), std::nullopt, "selected");
}
