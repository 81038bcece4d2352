#include "core/text/editorbuffer.h"
#include "support/testwindow.h"
#include "ui/uoptions.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

/// The author line of a meta block inserted now through the menu item.
QString authorLine(TestWindow& t)
{
    t.memo().setText(QString());
    t.window->findChild<QAction*>(QStringLiteral("Meat1"))->trigger();
    return t.memo().text().split(QStringLiteral("\r\n")).value(2);
}

QString author(const QString& name)
{
    return QStringLiteral(" <META NAME=\"Author\" CONTENT=\"%1\">").arg(name);
}

} // namespace

TEST(MetaBlock, AuthorIsTheNameFromTheSettingsFile)
{
    TestWindow withName; // its settings file names "Tester"
    EXPECT_EQ(authorLine(withName), author(QStringLiteral("Tester")));
    TestWindow withoutFile({}, false);
    EXPECT_EQ(authorLine(withoutFile), author(QStringLiteral("тов. Безымянный")));
}

TEST(MetaBlock, AuthorFollowsTheNameAppliedInTheOptionsDialog)
{
    TestWindow t;
    const QString names[] = { QStringLiteral("Мария \"M\" {S}"), QString() };
    for (const QString& name : names) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TOptionfrm*>(QApplication::activeModalWidget());
            EXPECT_NE(dialog, nullptr);
            if (!dialog) {
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close(); // never leave the test waiting on a modal loop
                return;
            }
            dialog->UserNameEd->setText(name);
            dialog->AppyBtn->click();
        });
        t.window->findChild<QAction*>(QStringLiteral("Options1"))->trigger();
        EXPECT_EQ(authorLine(t), author(name));
    }
}
