#include "ui/printdialog.h"

PrintDlg::PrintDlg(QPrinter* printer, QWidget* parent)
    : QPrintDialog(printer, parent)
{
    // A PDF file is a destination beside the printers.
    setOption(PrintToFile, true);
    setOption(PrintSelection, false);
    setOption(PrintPageRange, false);
    setOption(PrintCurrentPage, false);
}

void PrintDlg::setVisible(bool visible)
{
    // Qt sets the range widgets up again each time the dialog is shown.
    QPrintDialog::setVisible(visible);
    if (!visible)
        return;
    for (const char* name : { "gbPrintRange", "pageSetLabel", "pageSetCombo" }) {
        if (QWidget* part = findChild<QWidget*>(QLatin1String(name)))
            part->hide();
    }
}
