#include "tools/qtprintersystem.h"

#include <QPrinter>
#include <QPrinterInfo>

QtPrinterSystem::QtPrinterSystem() = default;
QtPrinterSystem::~QtPrinterSystem() = default;

bool QtPrinterSystem::hasDefaultPrinter()
{
    return !QPrinterInfo::defaultPrinter().isNull();
}

QStringList QtPrinterSystem::printerNames()
{
    return QPrinterInfo::availablePrinterNames();
}

QPrinter& QtPrinterSystem::currentPrinter()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    return *m_printer;
}
