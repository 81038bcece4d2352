#include "tools/pagecheck.h"
#include "tools/pagecheckrun.h"

#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using pagecheck::Kind;

// A page from its lines, with CRLF breaks as the editor holds them.
QString page(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString head()
{
    return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML>\r\n"
                          "<HEAD><TITLE>Проверка</TITLE></HEAD>\r\n<BODY>");
}

struct Expected {
    Kind kind;
    int line;
    int column;
    const char* text;
};

void expectRows(const pagecheck::Result& result, const std::vector<Expected>& expected)
{
    ASSERT_EQ(result.rows.size(), expected.size()) << result.texts.join(u'\n').toStdString();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.rows[i].kind, expected[i].kind);
        EXPECT_EQ(result.rows[i].line, expected[i].line);
        EXPECT_EQ(result.rows[i].column, expected[i].column);
        EXPECT_EQ(result.rows[i].text, QString::fromUtf8(expected[i].text));
    }
}

} // namespace

// Lines 1-4 are the head; each case's page goes on from line 5.
TEST(PageCheck, MessagesAtTheirLinesAndColumns)
{
    const struct {
        const char* name;
        QStringList body;
        std::vector<Expected> rows;
        const char* summary = "Ошибок: 0, предупреждений: 1";
    } cases[] = {
        { "unknown attribute, stray </DIV>, unclosed <B>",
          { QStringLiteral("\t<DIV ALIGN=\"LEFT\" FOO=\"1\">Ещё</DIV>"), QStringLiteral("Конец </DIV>"),
            QStringLiteral("<P>Текст <B>жирный</P>") },
          { { Kind::Warning, 5, 2, "<div> proprietary attribute \"foo\"" },
            { Kind::Warning, 6, 7, "discarding unexpected </div>" },
            { Kind::Warning, 7, 10, "missing </b> before </p>" } },
          "Ошибок: 0, предупреждений: 3" },
        { "an error comes before the warnings above it",
          { QStringLiteral("Конец </DIV>"), QStringLiteral("<P>x <FOO>y</FOO></P>") },
          { { Kind::Error, 6, 6, "<foo> is not recognized!" },
            { Kind::Warning, 5, 7, "discarding unexpected </div>" },
            { Kind::Warning, 6, 6, "discarding unexpected <foo>" },
            { Kind::Warning, 6, 12, "discarding unexpected </foo>" } },
          "Ошибок: 1, предупреждений: 3" },
        // Characters the checker counts otherwise than the editor: the column
        // is still where <B> stands in the editor's line.
        { "a control character the checker drops",
          { QStringLiteral("<P>a") + QChar(1) + QStringLiteral("b<B>x</P>") },
          { { Kind::Warning, 5, 7, "missing </b> before </p>" } } },
        { "a NUL character", { QStringLiteral("<P>a") + QChar(0) + QStringLiteral("b<B>x</P>") },
          { { Kind::Warning, 5, 7, "missing </b> before </p>" } } },
        { "a character outside the basic plane", { QStringLiteral("<P>a\U0001F600b<B>x</P>") },
          { { Kind::Warning, 5, 8, "missing </b> before </p>" } } },
        { "tabs count one column each", { QStringLiteral("\t\t<P>\t<B>x</P>") },
          { { Kind::Warning, 5, 7, "missing </b> before </p>" } } },
        { "a clean page", { QStringLiteral("<P>Текст <B>жирный</B></P>") }, {}, "Ошибок: 0, предупреждений: 0" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = head() + QStringLiteral("\r\n") + page(c.body) + QStringLiteral("</BODY>\r\n</HTML>\r\n");
        const pagecheck::Result result = pagecheck::check(text);
        expectRows(result, c.rows);
        EXPECT_EQ(pagecheck::summary(result), QString::fromUtf8(c.summary));
    }
}

TEST(PageCheck, ByteOrderMarkAtTheStartIsAColumnOfTheEditorsLine)
{
    const QString text = QChar(0xFEFF) + QStringLiteral("<P><B>x</P>\r\n");
    const pagecheck::Result result = pagecheck::check(text);
    bool found = false;
    for (const pagecheck::Row& row : result.rows) {
        if (row.text == QStringLiteral("missing </b> before </p>")) {
            found = true;
            EXPECT_EQ(row.line, 1);
            EXPECT_EQ(row.column, 5);
        }
    }
    EXPECT_TRUE(found) << result.texts.join(u'\n').toStdString();
}

// Every message beyond Tidy's default limit of six errors is listed.
TEST(PageCheck, ManyErrorsAreAllListedAndCounted)
{
    QStringList body;
    for (int i = 0; i < 40; ++i)
        body << QStringLiteral("<P><FOO>x</FOO></P>");
    const QString text = head() + QStringLiteral("\r\n") + page(body) + QStringLiteral("</BODY>\r\n</HTML>\r\n");
    const pagecheck::Result result = pagecheck::check(text);
    EXPECT_EQ(result.errors, 40);
    EXPECT_EQ(result.warnings, 80);
    ASSERT_EQ(result.rows.size(), 120u);
    EXPECT_EQ(result.rows[39].kind, Kind::Error);
    EXPECT_EQ(result.rows[39].line, 44);
    EXPECT_EQ(result.rows[40].kind, Kind::Warning);
    EXPECT_EQ(result.rows[40].line, 5);
}

namespace {

// A page of `lines` clean paragraphs followed by an unknown element, read by
// a run in slices of the text.
struct SlicedRun {
    explicit SlicedRun(int lines)
    {
        QStringList body;
        for (int i = 0; i < lines; ++i)
            body << QStringLiteral("<P>абзац %1</P>").arg(i);
        body << QStringLiteral("<P><FOO>x</FOO></P>");
        text = head() + QStringLiteral("\n") + body.join(u'\n') + QStringLiteral("\n</BODY>\n</HTML>\n");
        QObject::connect(&run, &PageCheckRun::finished, [this](const pagecheck::Result& r) { results.push_back(r); });
        QObject::connect(&run, &PageCheckRun::outdated, [this] { ++outdated; });
    }

    void start()
    {
        run.start(text.size(), [this](qsizetype from, qsizetype to) {
            ++reads;
            return text.mid(from, to - from);
        });
    }

    bool waitUntilDone() { return QTest::qWaitFor([this] { return !run.isBusy(); }, 20000); }

    QString text;
    PageCheckRun run;
    std::vector<pagecheck::Result> results;
    int outdated = 0;
    int reads = 0;
};

} // namespace

// 20 000 lines are several slices; they join into the whole text.
TEST(PageCheckRun, TextCopiedInSlicesIsCheckedWhole)
{
    SlicedRun t(20000);
    ASSERT_GT(t.text.size(), 3 * PageCheckRun::kSlice);
    t.start();
    EXPECT_EQ(t.reads, 1); // one slice per turn of the event loop
    ASSERT_TRUE(t.waitUntilDone());
    EXPECT_EQ(t.reads, int(t.text.size() / PageCheckRun::kSlice) + 1);
    ASSERT_EQ(t.results.size(), 1u);
    EXPECT_EQ(t.outdated, 0);
    ASSERT_FALSE(t.results[0].rows.empty());
    EXPECT_EQ(t.results[0].rows[0].kind, Kind::Error);
    EXPECT_EQ(t.results[0].rows[0].line, 20005);
    EXPECT_EQ(t.results[0].rows[0].column, 4);
}

TEST(PageCheckRun, AChangeWhileCopyingOrCheckingOutdatesTheCheck)
{
    for (const bool whileCopying : { true, false }) {
        SCOPED_TRACE(whileCopying);
        SlicedRun t(whileCopying ? 20000 : 10);
        t.start();
        ASSERT_EQ(t.run.isBusy(), true);
        t.run.textChanged();
        ASSERT_TRUE(t.waitUntilDone());
        EXPECT_EQ(t.outdated, 1);
        EXPECT_TRUE(t.results.empty());
        if (whileCopying)
            EXPECT_EQ(t.reads, 1); // the copy stopped at once
        // A new check of the changed text is not outdated.
        t.start();
        ASSERT_TRUE(t.waitUntilDone());
        EXPECT_EQ(t.outdated, 1);
        EXPECT_EQ(t.results.size(), 1u);
    }
}

// A check started while another copies or runs replaces it.
TEST(PageCheckRun, ANewerCheckDropsTheOlderOne)
{
    SlicedRun t(10);
    t.start();
    t.start();
    ASSERT_TRUE(t.waitUntilDone());
    EXPECT_EQ(t.results.size(), 1u);
    EXPECT_EQ(t.outdated, 0);
}
