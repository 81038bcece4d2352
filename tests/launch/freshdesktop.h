#pragma once

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

/// A desktop of its own for one test, in a process of its own: GIO reads the
/// XDG folders once per process, so the test program starts itself again
/// with only the running test selected and the XDG variables (and PATH)
/// pointing into a temporary folder. The child builds the desktop there and
/// does the work; the parent takes the child's verdict.
class FreshDesktop : public testing::Test {
protected:
    /// True in the child. In the parent the child has run and been checked
    /// by the time this returns false.
    static bool inFreshProcess();

    /// A path below the desktop's folder.
    static QString path(const QString& relative);
    static void write(const QString& relative, const QByteArray& bytes);
    /// A desktop entry of an application below "usr/applications" (or where
    /// `relative` says), with `more` lines after its Exec line.
    static void application(const QString& relative, const QByteArray& name, const QByteArray& exec,
                            const QByteArray& more = {});
    /// An executable in the desktop's "bin" folder (first in PATH) that
    /// writes its arguments, each in brackets, to the file "NAME.args".
    static QString recorder(const QString& name);
    /// What the recorder of that name wrote, waiting up to ten seconds;
    /// "(nothing)" when it did not run.
    static QByteArray recorded(const QString& name);
};
