#include "core/messageboxes.h"
#include "ui/qtuserprompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
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
