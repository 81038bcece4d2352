#include "support/fakeplatform.h"

#include <QPrinter>

FakePrinters::FakePrinters() = default;
FakePrinters::~FakePrinters() = default;

QPrinter& FakePrinters::currentPrinter()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
    }
    if (!pdfPath.isEmpty())
        m_printer->setOutputFileName(pdfPath);
    return *m_printer;
}
