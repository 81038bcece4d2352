#pragma once

#include "ui/textform.h"

/// The copyright and trademark notice, in Russian and then in English.
class TCopyrightFrm : public TextForm {
    Q_OBJECT

public:
    explicit TCopyrightFrm(const Platform& platform, QWidget* parent = nullptr);

    /// The text, one line of the area per line.
    static QString formText();
};
