#pragma once

#include "core/platform/platform.h"
#include "core/platform/programlauncher.h"
#include "core/platform/registry.h"
#include "core/platform/systemdirs.h"
#include "launch/commandline.h"
#include "support/scriptedprompts.h"
#include "tools/printersystem.h"

#include <QHash>
#include <QStringList>
#include <memory>

/// Records command lines instead of starting programs; a start on a
/// document is recorded as the command, a blank and the document. A program
/// is found unless the command is blank, its program is a Windows path
/// ("C:\\...") or it is listed in `missingPrograms`.
class RecordingLauncher : public ProgramLauncher {
public:
    QStringList commandLines;
    QStringList applications; ///< desktop applications started: the id, a blank, the document
    QStringList missingPrograms;
    bool result = true;
    bool start(const QString& commandLine) override
    {
        commandLines.append(commandLine);
        return result;
    }
    bool startWithArgument(const QString& command, const QString& document) override
    {
        return start(command + u' ' + document);
    }
    bool findsProgram(const QString& command) override
    {
        const QString program = splitCommandLine(command).value(0);
        return !program.isEmpty() && !(program.size() > 1 && program.at(1) == u':')
            && !missingPrograms.contains(program);
    }
    bool startApplication(const QString& applicationId, const QString& document) override
    {
        applications.append(applicationId + u' ' + document);
        return result;
    }
};

/// A registry whose entries the test sets.
class FakeRegistry : public Registry {
public:
    QString extendedEditor;
    QHash<QString, DesktopApplication> applications; ///< by type, e.g. "x-scheme-handler/https"
    int extendedEditorLookups = 0;
    QString extendedEditorCommand() override
    {
        ++extendedEditorLookups;
        return extendedEditor;
    }
    DesktopApplication applicationFor(const QString& contentType) override { return applications.value(contentType); }
};

/// The settings directory is whatever the test says.
class FakeDirs : public SystemDirs {
public:
    QString directory;
    QString stateDir; ///< empty: the window keeps no journal
    QString windowsDirectory() override { return directory; }
    QString stateDirectory() override { return stateDir; }
};

/// Printers for tests: whether a default exists, and a printer that writes PDF.
class FakePrinters : public PrinterSystem {
public:
    FakePrinters();
    ~FakePrinters() override;
    bool hasDefault = true;
    QStringList names { QStringLiteral("Office") };
    QString pdfPath; ///< where the printer's output goes; empty: where the program says
    bool hasDefaultPrinter() override { return hasDefault; }
    QStringList printerNames() override { return names; }
    QPrinter& currentPrinter() override;

private:
    std::unique_ptr<QPrinter> m_printer;
};

/// All fakes together, and the Platform that points at them.
struct FakePlatform {
    ScriptedPrompts prompts;
    RecordingLauncher launcher;
    FakeRegistry registry;
    FakeDirs dirs;
    FakePrinters printers;

    Platform platform() { return { &prompts, &launcher, &registry, &dirs, &printers }; }
};
