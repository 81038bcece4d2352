#pragma once

#include "ui/textform.h"

/// The licence agreement of the program, in Russian.
class TLicensFrm : public TextForm {
    Q_OBJECT

public:
    explicit TLicensFrm(const Platform& platform, QWidget* parent = nullptr);

    /// The text, one line of the area per line.
    static QString formText();
};
