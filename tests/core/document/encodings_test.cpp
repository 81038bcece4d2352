#include "core/text/editorbuffer.h"
#include "core/document/savedtextsnapshot.h"
#include "support/testwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Each key types its text, as a keyboard with that layout would.
void typeKeys(EditorBuffer& memo, const QStringList& keys)
{
    for (const QString& text : keys) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(&memo, &press);
    }
}

struct Opened : TestWindow {
    explicit Opened(const QByteArray& bytes)
    {
        file = path("page.htm");
        writeFile(file, bytes);
        fake.prompts.openResults.append(FileDialogResult { file, 1 });
        window->OpenBtnClick();
    }
    bool checked(const char* item) { return window->findChild<QAction*>(QString::fromLatin1(item))->isChecked(); }
    QString file;
};

const QStringList kTyped = { str("м"), str("и"), str("р"), str("€"), str("😀") };

} // namespace

// Open, type "мир€😀" at the end, save: the saved bytes are the file's with
// the typed characters in the file's own encoding.
TEST(Encodings, PagesOpenEditAndSaveInTheirOwnEncoding)
{
    const struct {
        const char* name;
        QByteArray file;
        bool utf8;
        QByteArray saved;
        qsizetype characters; // as loaded
    } cases[] = {
        { "UTF-8 page", "<p>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, caf\xC3\xA9\r\n", true,
          "<p>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, caf\xC3\xA9\r\n"
          "\xD0\xBC\xD0\xB8\xD1\x80\xE2\x82\xAC\xF0\x9F\x98\x80", 17 },
        { "UTF-8 page with the mark", "\xEF\xBB\xBF<p>\xD0\x9F\n", true,
          "\xEF\xBB\xBF<p>\xD0\x9F\r\n\xD0\xBC\xD0\xB8\xD1\x80\xE2\x82\xAC\xF0\x9F\x98\x80", 6 },
        { "ASCII, meta charset", "<meta charset=\"utf-8\">\r\n", true,
          "<meta charset=\"utf-8\">\r\n\xD0\xBC\xD0\xB8\xD1\x80\xE2\x82\xAC\xF0\x9F\x98\x80", 24 },
        { "ASCII, meta http-equiv", "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF8\">\r\n", true,
          "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF8\">\r\n"
          "\xD0\xBC\xD0\xB8\xD1\x80\xE2\x82\xAC\xF0\x9F\x98\x80", 68 },
        { "characters outside the BMP", "\xF0\x9F\x98\x80\xF0\x90\x8D\x88\r\n", true,
          "\xF0\x9F\x98\x80\xF0\x90\x8D\x88\r\n\xD0\xBC\xD0\xB8\xD1\x80\xE2\x82\xAC\xF0\x9F\x98\x80", 6 },
        { "ASCII without a declaration", "<p>plain\r\n", false, "<p>plain\r\n\xEC\xE8\xF0\x88&#128512;", 10 },
        { "Windows-1251 page", "<p>\xCF\xF0\xE8\xE2\xE5\xF2\r\n", false,
          "<p>\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0\x88&#128512;", 11 },
        { "invalid UTF-8 declaring UTF-8", "<meta charset=utf-8>\xC0\xAF\xFF\x98\r\n", false,
          "<meta charset=utf-8>\xC0\xAF\xFF\x98\r\n\xEC\xE8\xF0\x88&#128512;", 26 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Opened t(c.file);
        EXPECT_EQ(t.memo().encoding().isUtf8(), c.utf8);
        EXPECT_EQ(t.checked("Utf81"), c.utf8);
        EXPECT_EQ(t.checked("Win12511"), !c.utf8);
        EXPECT_EQ(t.memo().textLength(), c.characters);
        t.memo().setSelStart(t.memo().textLength());
        typeKeys(t.memo(), kTyped);
        EXPECT_TRUE(t.ctx().doc.modified);
        t.window->Save2Click();
        EXPECT_EQ(readFile(t.file), c.saved);
        EXPECT_EQ(t.ctx().memo2->bytes(), c.saved);
        EXPECT_FALSE(t.ctx().doc.modified);
    }
}

// A command, a paste and Save as of a UTF-8 page keep every character; a
// selection never ends inside a character outside the BMP.
TEST(Encodings, CommandsAndPositionsCountCharactersAsShown)
{
    Opened t("<p>\xF0\x9F\x98\x80\xD0\x96</p>");
    EXPECT_EQ(t.memo().text(), str("<p>😀Ж</p>"));
    t.select(4, 1); // the second half of 😀 would be split off
    EXPECT_EQ(t.selection(), Sel(3, 2));
    EXPECT_EQ(t.memo().getSelText(), str("😀"));
    t.window->Bold1Click();
    t.select(0, 0);
    QApplication::clipboard()->setText(str("中"));
    t.window->Paste1Click();
    t.fake.prompts.saveResults.append(FileDialogResult { t.path("copy.htm"), 1 });
    t.window->SaveBtnClick();
    EXPECT_EQ(readFile(t.path("copy.htm")), "\xE4\xB8\xAD<p><B>\xF0\x9F\x98\x80</B>\xD0\x96</p>");
}

// Choosing the other encoding keeps the characters, changes the declaration
// and marks the document modified; the next save writes the new encoding.
TEST(Encodings, ConversionChangesTheEncodingAndTheDeclaration)
{
    const struct {
        const char* name;
        QByteArray file;
        const char* item;
        bool utf8After;
        QByteArray saved;
    } cases[] = {
        { "UTF-8 to Windows-1251", "\xEF\xBB\xBF<meta charset=\"UTF-8\">\xD0\x96 \xF0\x9F\x98\x80 \xE4\xB8\xAD", "Win12511",
          false, "<meta charset=\"windows-1251\">\xC6 &#128512; &#20013;" },
        { "Windows-1251 to UTF-8",
          "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\xC6&#20013;", "Utf81", true,
          "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\xD0\x96&#20013;" },
        { "without a declaration", "\xC6", "Utf81", true, "\xD0\x96" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Opened t(c.file);
        t.window->findChild<QAction*>(QString::fromLatin1(c.item))->trigger();
        EXPECT_TRUE(t.ctx().doc.modified);
        EXPECT_EQ(t.memo().encoding().isUtf8(), c.utf8After);
        EXPECT_EQ(t.checked("Utf81"), c.utf8After);
        EXPECT_EQ(t.checked("Win12511"), !c.utf8After);
        EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
        t.window->Save2Click();
        EXPECT_EQ(readFile(t.file), c.saved);
    }
    // The encoding it already has: nothing changes.
    Opened same("<meta charset=utf-8>\xD0\x96");
    same.window->findChild<QAction*>(QStringLiteral("Utf81"))->trigger();
    EXPECT_FALSE(same.ctx().doc.modified);
    EXPECT_TRUE(same.checked("Utf81"));
}

// Re-reading takes the file again in the chosen encoding; bytes that are not
// UTF-8 cannot be read as UTF-8 and nothing changes.
TEST(Encodings, RereadTakesTheFileInTheChosenEncoding)
{
    const struct {
        const char* name;
        QByteArray file;
        const char* item;
        QString text; // expected on screen
        bool utf8;
        QByteArray saved; // after typing "ж" at the end and saving
    } cases[] = {
        { "UTF-8 read as Windows-1251", "\xEF\xBB\xBF\xD0\x96", "RereadWin12511", str("п»їР–"), false,
          "\xEF\xBB\xBF\xD0\x96\xE6" },
        { "ASCII read as UTF-8", "plain", "RereadUtf81", str("plain"), true, "plain\xD0\xB6" },
        { "marked ASCII read as UTF-8", "\xEF\xBB\xBFplain", "RereadUtf81", str("plain"), true, "\xEF\xBB\xBFplain\xD0\xB6" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Opened t(c.file);
        t.window->findChild<QAction*>(QString::fromLatin1(c.item))->trigger();
        EXPECT_TRUE(t.fake.prompts.boxes.isEmpty());
        EXPECT_EQ(t.memo().text(), c.text);
        EXPECT_EQ(t.memo().encoding().isUtf8(), c.utf8);
        EXPECT_EQ(t.checked("Utf81"), c.utf8);
        EXPECT_FALSE(t.ctx().doc.modified);
        EXPECT_EQ(t.ctx().memo2->bytes(), c.file);
        t.memo().setSelStart(t.memo().textLength());
        typeKeys(t.memo(), { str("ж") });
        t.window->Save2Click();
        EXPECT_EQ(readFile(t.file), c.saved);
    }

    // Unsaved text is asked about first; Cancel keeps everything.
    Opened t("\xCF\xF0\xE8");
    typeKeys(t.memo(), { str("ы") });
    t.fake.prompts.answers = { Answer::Cancel };
    t.window->findChild<QAction*>(QStringLiteral("RereadWin12511"))->trigger();
    EXPECT_EQ(t.fake.prompts.boxTexts(), QStringList { str("В окне несохраненный текст.\n\rСохранить изменения?") });
    EXPECT_EQ(t.memo().text(), str("ыПри"));
    // No lets the text go, but Windows-1251 bytes are no UTF-8: said, and nothing changes.
    t.fake.prompts.answers = { Answer::No };
    t.window->findChild<QAction*>(QStringLiteral("RereadUtf81"))->trigger();
    ASSERT_EQ(t.fake.prompts.boxes.size(), 3);
    EXPECT_EQ(t.fake.prompts.boxes.last().text, str("Файл %1 не в кодировке UTF-8.").arg(t.file));
    EXPECT_EQ(t.fake.prompts.boxes.last().icon, BoxIcon::Stop);
    EXPECT_EQ(t.memo().text(), str("ыПри"));
    EXPECT_FALSE(t.memo().encoding().isUtf8());
    EXPECT_TRUE(t.checked("Win12511"));
    EXPECT_TRUE(t.ctx().doc.modified);
}

// New documents are Windows-1251 whatever was open before.
TEST(Encodings, NewDocumentsAreWindows1251)
{
    Opened t("\xD0\x96");
    ASSERT_TRUE(t.memo().encoding().isUtf8());
    t.window->NewDocClick();
    EXPECT_FALSE(t.memo().encoding().isUtf8());
    EXPECT_TRUE(t.checked("Win12511"));
    typeKeys(t.memo(), { str("中") });
    EXPECT_TRUE(t.memo().text().startsWith(str("&#20013;<!DOCTYPE")));
}

// A long line is shown in pieces of 1024 characters: no cut, on load, on a
// long insertion or when a grown piece is cut again, parts the halves of a
// character outside the BMP, so the page saves as it was.
TEST(Encodings, ALongLineNeverPartsACharacter)
{
    const QByteArray smile = "\xF0\x9F\x98\x80";
    const QByteArray line = QByteArray(1023, 'a') + smile + QByteArray(5000, 'b');
    Opened t(line);
    EXPECT_EQ(t.memo().toBytes(), line);
    // In pieces, a long insertion ...
    t.memo().setSelStart(0);
    t.memo().setSelText(QString(1023, u'c') + str("😀") + QString(5000, u'c'));
    // ... and a piece grown past twice the bound, cut again.
    const QString grow = QString(1023, u'd') + str("😀") + QString(3071, u'd');
    t.memo().setSelStart(0);
    t.memo().setSelText(grow);
    t.memo().setSelStart(0);
    t.memo().setSelText(grow);
    const QByteArray d = QByteArray(1023, 'd') + smile + QByteArray(3071, 'd');
    const QByteArray expected = d + d + QByteArray(1023, 'c') + smile + QByteArray(5000, 'c') + line;
    EXPECT_EQ(t.memo().toBytes(), expected);
    EXPECT_EQ(t.memo().textLength(), 1023 * 4 + 3071 * 2 + 5000 * 2 + 4 * 2);
    t.window->Save2Click();
    EXPECT_EQ(readFile(t.file), expected);
}
