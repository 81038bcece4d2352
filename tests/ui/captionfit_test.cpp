// The dialogs are laid out by hand for "MS Sans Serif" 8, a font Linux does
// not have: every caption must fit its control in the font that stands in
// for it, at the normal scale and at one and a half.
#include "support/testwindow.h"
#include "ui/Unit2.h"
#include "ui/about1.h"
#include "ui/copyright.h"
#include "ui/licens.h"
#include "ui/uoptions.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString withoutMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

// The room a control's caption takes. A push button's is its text and the
// style's margins, without the minimum width the style would add.
std::optional<QSize> captionSize(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->sizeHint();
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        const QStyle* style = button->style();
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button)
            + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        const QFontMetrics metrics(button->font());
        return QSize(metrics.horizontalAdvance(withoutMnemonic(button->text())) + margin, metrics.height());
    }
    if (auto* tool = qobject_cast<QToolButton*>(widget))
        return tool->sizeHint();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return QSize(box->minimumSizeHint().width(), 0);
    return std::nullopt;
}

void expectCaptionsFit(QWidget& dialog)
{
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        const std::optional<QSize> needed = captionSize(widget);
        if (!needed)
            continue;
        const QVariant title = widget->property("title");
        const std::string caption = dialog.objectName().toStdString() + " \""
            + (title.isValid() ? title : widget->property("text")).toString().toStdString() + '"';
        EXPECT_LE(needed->width(), widget->width()) << caption;
        EXPECT_LE(needed->height(), widget->height()) << caption;
    }
}

} // namespace

TEST(CaptionFit, EveryCaptionFitsItsControlAtThisScale)
{
    TestWindow t;
    TOptionfrm options(t.ctx());
    TAboutBox about(t.fake.platform());
    TAboutBox1 tips;
    TLicensFrm licence(t.fake.platform());
    TCopyrightFrm copyright(t.fake.platform());
    for (QDialog* dialog : std::initializer_list<QDialog*> { &options, &about, &tips, &licence, &copyright }) {
        SCOPED_TRACE(QFontInfo(dialog->font()).family().toStdString());
        EXPECT_EQ(dialog->font().pointSize(), 8);
        expectCaptionsFit(*dialog);
    }
}

TEST(CaptionFit, EveryCaptionFitsItsControlAtOneAndAHalf)
{
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        GTEST_SKIP() << "runs the scale of its own environment only";
    // The scale is fixed when the application starts: the check runs again in
    // a process of its own.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1.5"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("--gtest_filter=CaptionFit.EveryCaptionFitsItsControlAtThisScale") });
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}
