#pragma once

#include <QPrintDialog>

/// The print dialog: printer (or a PDF file), its properties and copies,
/// and no choice of pages. With CUPS, Qt shows its page range ("Pages from ... to") and page
/// set even when the range option is off, because the server could pick the
/// pages; they are hidden here, so the whole text is always printed.
class PrintDlg : public QPrintDialog {
public:
    PrintDlg(QPrinter* printer, QWidget* parent);

    void setVisible(bool visible) override;
};
