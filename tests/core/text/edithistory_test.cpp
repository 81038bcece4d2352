#include "core/text/edithistory.h"

#include <gtest/gtest.h>

namespace {

EditStep step(qsizetype position, const char* removed, const char* inserted, bool typing = true)
{
    EditStep s;
    s.position = position;
    s.removed = QString::fromLatin1(removed);
    s.inserted = QString::fromLatin1(inserted);
    s.removedLength = s.removed.size() + s.removed.count(u'\n');
    s.insertedLength = s.inserted.size() + s.inserted.count(u'\n');
    s.before = { position, position + s.removedLength };
    s.after = { position + s.insertedLength, position + s.insertedLength };
    s.typing = typing;
    return s;
}

// Delete at `position`: the caret stays; Backspace: it goes back.
EditStep deleted(qsizetype position, const char* removed)
{
    EditStep s = step(position, removed, "");
    s.before = s.after;
    return s;
}
EditStep backspaced(qsizetype position, const char* removed)
{
    EditStep s = step(position, removed, "");
    s.before = { position + s.removedLength, position + s.removedLength };
    return s;
}

// What one undo takes back: position, removed, inserted.
struct Undone {
    qsizetype position;
    const char* removed;
    const char* inserted;
};

} // namespace

// Typing joins the step before it as the text widget groups its own steps:
// characters typed one after another, Delete pressed again and again at one
// place, Backspace going back; a line break, a command, a caret moved away
// or an undo in between start a new step.
TEST(EditHistory, TypingGroupsAsTheWidgetDoes)
{
    struct Case {
        const char* name;
        std::vector<EditStep> steps;
        bool undoFirst; // one undo and redo after the first step
        std::vector<Undone> undone; // newest first
    };
    EditStep movedAway = step(9, "", "c");
    movedAway.before = { 9, 9 };
    const Case cases[] = {
        { "characters typed in a row", { step(0, "", "a"), step(1, "", "b"), step(2, "", "c") }, false, { { 0, "", "abc" } } },
        { "over a selection, then on", { step(0, "xy", "a"), step(1, "", "b") }, false, { { 0, "xy", "ab" } } },
        { "Delete again and again", { deleted(3, "d"), deleted(3, "e"), deleted(3, "f") }, false, { { 3, "def", "" } } },
        { "Backspace again and again", { backspaced(5, "f"), backspaced(4, "e"), backspaced(3, "d") }, false, { { 3, "def", "" } } },
        { "Enter is a step of its own", { step(0, "", "a"), step(1, "", "\n"), step(3, "", "b") }, false,
          { { 3, "", "b" }, { 1, "", "\n" }, { 0, "", "a" } } },
        { "a removed line break too", { backspaced(4, "x"), backspaced(2, "\n") }, false, { { 2, "\n", "" }, { 4, "x", "" } } },
        { "a command in between", { step(0, "", "a"), step(1, "", "<B></B>", false), step(8, "", "b") }, false,
          { { 8, "", "b" }, { 1, "", "<B></B>" }, { 0, "", "a" } } },
        { "the caret moved away", { step(0, "", "a"), movedAway }, false, { { 9, "", "c" }, { 0, "", "a" } } },
        { "typing after an undo and redo", { step(0, "", "a"), step(1, "", "b") }, true, { { 1, "", "b" }, { 0, "", "a" } } },
        { "typing then deleting", { step(0, "", "a"), deleted(0, "a") }, false, { { 0, "a", "" }, { 0, "", "a" } } },
    };
    for (const Case& c : cases) {
        EditHistory history;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            history.record(c.steps[i]);
            if (i == 0 && c.undoFirst) {
                history.undo();
                history.redo();
            }
        }
        for (const Undone& expected : c.undone) {
            const EditStep* undone = history.undo();
            ASSERT_TRUE(undone) << c.name;
            EXPECT_EQ(undone->position, expected.position) << c.name;
            EXPECT_EQ(undone->removed, QString::fromLatin1(expected.removed)) << c.name;
            EXPECT_EQ(undone->inserted, QString::fromLatin1(expected.inserted)) << c.name;
        }
        EXPECT_FALSE(history.canUndo()) << c.name;
    }
}

// The history keeps at most its bound of removed and inserted text: the
// oldest steps go first, the newest always stays, and a new step drops the
// steps undone.
TEST(EditHistory, KeepsItsBoundDroppingTheOldestSteps)
{
    EditHistory history(10);
    history.record(step(0, "", "abcd", false));   // 4
    history.record(step(0, "abcd", "efg", false)); // 7 more: 11, the first goes
    EXPECT_EQ(history.steps(), 1u);
    EXPECT_EQ(history.size(), 7);
    history.record(step(0, "", "x", false));
    EXPECT_EQ(history.size(), 8);
    EXPECT_EQ(history.steps(), 2u);

    // One step larger than the bound stays, alone, until the next.
    history.record(step(0, "", "0123456789ABCDEF", false));
    EXPECT_EQ(history.steps(), 1u);
    EXPECT_EQ(history.size(), 16);
    ASSERT_TRUE(history.canUndo());
    EXPECT_EQ(history.undo()->insertedLength, 16);
    EXPECT_TRUE(history.canRedo());
    history.record(step(0, "", "y", false));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.size(), 1);

    // A line break counts as two characters.
    history.clear();
    history.record(step(0, "", "a\nb\nc\nd", false)); // 7 characters, 10 in the document
    EXPECT_EQ(history.size(), 10);
    history.record(step(0, "", "e", false));
    EXPECT_EQ(history.steps(), 1u);
}
