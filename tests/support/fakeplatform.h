#pragma once

#include "core/platform.h"
#include "core/systemdirs.h"
#include "launch/programlauncher.h"
#include "launch/registry.h"
#include "support/scriptedprompts.h"
#include "tools/printersystem.h"

#include <QHash>
#include <QStringList>
#include <memory>

/// Records command lines instead of starting programs.
class RecordingLauncher : public ProgramLauncher {
public:
    struct ProgramStart {
        QString program;
        QString parameters;
    };
    QStringList commandLines;
    QList<ProgramStart> programStarts;
    bool result = true;
    bool start(const QString& commandLine) override
    {
        commandLines.append(commandLine);
        return result;
    }
    bool startWithArgument(const QString& head, const QString& argument) override
    {
        return start(head + u' ' + argument);
    }
    bool startProgram(const QString& program, const QString& parameters) override
    {
        programStarts.append({ program, parameters });
        return result;
    }
};

/// A registry whose entries the test sets.
class FakeRegistry : public Registry {
public:
    QString extendedEditor;
    QHash<QString, QString> openCommands; ///< by extension, e.g. ".HTM"
    int extendedEditorLookups = 0;
    QString extendedEditorCommand() override
    {
        ++extendedEditorLookups;
        return extendedEditor;
    }
    QString openCommandForExtension(const QString& extension) override { return openCommands.value(extension); }
};

/// The settings directory is whatever the test says.
class FakeDirs : public SystemDirs {
public:
    QString directory;
    QString windowsDirectory() override { return directory; }
};

/// Printers for tests: whether a default exists, and a printer that writes PDF.
class FakePrinters : public PrinterSystem {
public:
    FakePrinters();
    ~FakePrinters() override;
    bool hasDefault = true;
    QString pdfPath; ///< where the printer's output goes
    bool hasDefaultPrinter() override { return hasDefault; }
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
