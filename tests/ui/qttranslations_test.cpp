#include "ui/qttranslations.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// Removes every translator the test installed, so that later tests see Qt's English.
void removeInstalledTranslators()
{
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly))
        delete t;
}

QString openCaption()
{
    return QCoreApplication::translate("QFileDialog", "&Open");
}

} // namespace

TEST(QtTranslations, RussianDesktopGetsQtsOwnDialogTextsInRussian)
{
    ASSERT_EQ(openCaption(), QStringLiteral("&Open"));
    EXPECT_TRUE(qttranslations::install(*QCoreApplication::instance(), QLocale(QLocale::Russian, QLocale::Russia)));
    EXPECT_NE(openCaption(), QStringLiteral("&Open"));
    EXPECT_TRUE(openCaption().contains(QStringLiteral("Открыть"))) << openCaption().toStdString();
    removeInstalledTranslators();
    EXPECT_EQ(openCaption(), QStringLiteral("&Open"));
}

TEST(QtTranslations, MissingTranslationChangesNothing)
{
    QTemporaryDir empty;
    EXPECT_FALSE(qttranslations::install(*QCoreApplication::instance(), QLocale(QLocale::Russian), empty.path()));
    EXPECT_FALSE(qttranslations::install(*QCoreApplication::instance(), QLocale(QLocale::Russian),
                                         empty.filePath(QStringLiteral("missing"))));
    EXPECT_TRUE(QCoreApplication::instance()->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly).isEmpty());
    EXPECT_EQ(openCaption(), QStringLiteral("&Open"));
}
