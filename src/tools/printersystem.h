#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;

/// The printers of the system: whether there is a default one, and a printer
/// object to print on. Tests replace it so no real printer is needed.
class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;

    /// True when the system has a default printer.
    virtual bool hasDefaultPrinter() = 0;

    /// The names of the installed printers; empty when there is none.
    virtual QStringList printerNames() = 0;

    /// The program's current printer (the default one at first use); kept for
    /// the whole run so the next print dialog starts from the last choice.
    virtual QPrinter& currentPrinter() = 0;
};
