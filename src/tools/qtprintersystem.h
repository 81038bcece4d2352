#pragma once

#include "tools/printersystem.h"

#include <memory>

/// The system's printers through Qt's print support.
class QtPrinterSystem : public PrinterSystem {
public:
    QtPrinterSystem();
    ~QtPrinterSystem() override;
    bool hasDefaultPrinter() override;
    QStringList printerNames() override;
    QPrinter& currentPrinter() override;

private:
    std::unique_ptr<QPrinter> m_printer;
};
