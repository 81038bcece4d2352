#include "core/document/documentcommands.h"
#include "core/platform/messageboxes.h"
#include "launch/modal.h"
#include "support/filebytes.h"
#include "ui/filefilter.h"
#include "ui/qtuserprompts.h"
#include "ui/uoptions.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

namespace {

// What the real box showed, read while it is open.
struct SeenBox {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Once a box is on screen, records it and presses the button with the given
// caption (or Escape when the caption is empty). Lives while the box runs.
class BoxPresser {
public:
    BoxPresser(const QString& press, SeenBox& seen)
        : m_press(press)
        , m_seen(seen)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { inspect(); });
        m_timer.start(5);
    }

private:
    void inspect()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_timer.stop();
        m_seen.title = box->windowTitle();
        m_seen.text = box->text();
        m_seen.format = box->textFormat();
        m_seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            m_seen.buttons.append(button->text());
        m_seen.buttons.sort();
        for (QAbstractButton* button : box->buttons()) {
            if (!m_press.isEmpty() && button->text() == m_press) {
                button->click();
                return;
            }
        }
        if (!m_press.isEmpty())
            ADD_FAILURE() << "no button " << m_press.toStdString();
        QTest::keyClick(box, Qt::Key_Escape);
    }

    QTimer m_timer;
    QString m_press;
    SeenBox& m_seen;
};

Answer showAndPress(const MessageBoxSpec& request, const QString& press, SeenBox& seen)
{
    QtUserPrompts prompts;
    BoxPresser presser(press, seen);
    return prompts.messageBox(request);
}

} // namespace

TEST(QtUserPrompts, ErrorBoxShowsCaptionStopIconAndOk)
{
    QtUserPrompts prompts;
    SeenBox seen;
    BoxPresser presser(QStringLiteral("OK"), seen);
    messageboxes::showError(prompts, QStringLiteral("Cannot open file <b>x</b>.htm"));
    EXPECT_EQ(seen.title, QStringLiteral("Brannoc Quillet"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList { QStringLiteral("OK") });
    // A file name that looks like markup is shown as written.
    EXPECT_EQ(seen.text, QStringLiteral("Cannot open file <b>x</b>.htm."));
    EXPECT_EQ(seen.format, Qt::PlainText);
}

TEST(QtUserPrompts, QuestionButtonsAnswerAndEscapeGivesTheEscapeAnswer)
{
    const MessageBoxSpec question { QStringLiteral("Confirm"), messageboxes::twoLines(QStringLiteral("one"), QStringLiteral("two")),
                                BoxIcon::Question, { Answer::Yes, Answer::No, Answer::Cancel }, Answer::Yes,
                                Answer::Cancel };
    struct Case {
        QString press;
        Answer expected;
    };
    const Case cases[] = {
        { QStringLiteral("&Yes"), Answer::Yes },
        { QStringLiteral("&No"), Answer::No },
        { QStringLiteral("Cancel"), Answer::Cancel },
        { QString(), Answer::Cancel },
    };
    for (const Case& c : cases) {
        SeenBox seen;
        EXPECT_EQ(showAndPress(question, c.press, seen), c.expected) << c.press.toStdString();
        EXPECT_EQ(seen.title, QStringLiteral("Confirm"));
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        // The order on screen is the desktop's; the buttons are these three.
        EXPECT_EQ(seen.buttons, (QStringList { QStringLiteral("&No"), QStringLiteral("&Yes"), QStringLiteral("Cancel") }));
        EXPECT_EQ(seen.text, QStringLiteral("one\ntwo")); // LF CR is one line break on screen
    }
}

// The recovery question: Escape keeps the journal, so it must not count as No.
TEST(QtUserPrompts, EscapeOnAYesNoBoxGivesItsOwnAnswerNotNo)
{
    const MessageBoxSpec question { QStringLiteral("Confirm"), QStringLiteral("q"), BoxIcon::Question,
                                    { Answer::Yes, Answer::No }, Answer::Yes, Answer::Cancel };
    SeenBox seen;
    EXPECT_EQ(showAndPress(question, QString(), seen), Answer::Cancel);
    SeenBox seenNo;
    EXPECT_EQ(showAndPress(question, QStringLiteral("&No"), seenNo), Answer::No);
}

TEST(QtUserPrompts, WarningAndInformationCaptions)
{
    SeenBox warning;
    showAndPress({ QStringLiteral("Warning"), QStringLiteral("w"), BoxIcon::Warning }, QStringLiteral("OK"), warning);
    EXPECT_EQ(warning.title, QStringLiteral("Warning"));
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    SeenBox plain;
    showAndPress({ QStringLiteral("Brannoc Quillet"), QStringLiteral("p"), BoxIcon::None }, QStringLiteral("OK"), plain);
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.title, QStringLiteral("Brannoc Quillet"));
}

TEST(QtUserPrompts, StarDotStarReachesQtAsStarSoNamesWithoutADotShow)
{
    struct Case {
        QString filter;
        QStringList qt;
    };
    const Case cases[] = {
        { DocumentCommands::openFilter(),
          { "HTML files (*.ht*)", "Text ASCII (*.txt)", "All files (*)" } },
        { DocumentCommands::saveFilter(), { "HTML file (*.htm *.html)", "Any file (*)" } },
        { TOptionfrm::programFilter(), { "Programs (*.exe *.com)", "All (*)" } },
        { "HTML file|*.*htm*; *.asp;*.php*|Any file|*.*", { "HTML file (*.*htm* *.asp *.php*)", "Any file (*)" } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(toQtNameFilters(c.filter), c.qt) << c.filter.toStdString();
}

// A name typed in the real dialog comes back as typed, double quotes and all.
TEST(QtUserPrompts, FileDialogsTakeATypedNameLiterally)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("say \"hi\".htm"), "x");
    writeAll(dir.filePath("plain.htm"), "x");
    struct Case {
        bool save;
        bool mustExist;
        QString typed;
        QString chosen; ///< empty: the dialog stays open with a "not found" box
    };
    const Case cases[] = {
        { false, false, "say \"hi\".gif", "say \"hi\".gif" },
        { false, true, "say \"hi\".htm", "say \"hi\".htm" },
        { false, true, "plain.htm", "plain.htm" },
        { false, true, "gone \"x\".htm", "" },
        { false, true, "gone.htm", "" },
        { true, false, "say \"hi\"", "say \"hi\".htm" }, // the default extension is added
    };
    for (const Case& c : cases) {
        FileDialogSpec request;
        request.filter = DocumentCommands::openFilter();
        request.fileName = dir.filePath("start.htm");
        request.fileMustExist = c.mustExist;
        request.defaultExtension = c.save ? "htm" : "";
        bool warned = false;
        const ModalStep step([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            // Qt checks a name against the folder's files once it has read them.
            auto* list = dialog->findChild<QAbstractItemView*>("listView");
            ASSERT_NE(list, nullptr);
            EXPECT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) == 2; }));
            name->selectAll(); // typed over, as a user does
            QTest::keyClicks(name, c.typed);
            const ModalStep box([&](QWidget* warning) {
                warned = qobject_cast<QMessageBox*>(warning) != nullptr;
                warning->close();
            });
            auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
            ASSERT_NE(buttons, nullptr);
            buttons->button(c.save ? QDialogButtonBox::Save : QDialogButtonBox::Open)->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        QtUserPrompts prompts;
        const auto result = c.save ? prompts.saveFile(request) : prompts.openFile(request);
        const std::string label = c.typed.toStdString();
        if (c.chosen.isEmpty()) {
            EXPECT_FALSE(result) << label;
            EXPECT_TRUE(warned) << label;
        } else {
            ASSERT_TRUE(result) << label;
            EXPECT_EQ(result->fileName, dir.filePath(c.chosen)) << label;
            EXPECT_FALSE(warned) << label;
        }
    }
}

TEST(QtUserPrompts, PrintDialogOffersNoPageRange)
{
    QPrinter printer;
    bool seen = false;
    const ModalStep step([&](QWidget* dialog) {
        // Open the "Options >>" part, where Qt puts the range.
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text().contains(">>"))
                button->click();
        }
        auto* copies = dialog->findChild<QSpinBox*>("copies");
        seen = copies && copies->isVisible(); // the options are on screen
        for (const char* name : { "printRange", "from", "to", "pagesRadioButton", "pagesLineEdit",
                                  "printCurrentPage", "printSelection", "pageSetCombo" }) {
            if (auto* part = dialog->findChild<QWidget*>(name))
                EXPECT_FALSE(part->isVisible()) << name;
        }
        EXPECT_NE(dialog->findChild<QWidget*>("printRange"), nullptr);
        dialog->close();
    });
    QtUserPrompts prompts;
    EXPECT_FALSE(prompts.printDialog(printer));
    EXPECT_TRUE(seen);
}
