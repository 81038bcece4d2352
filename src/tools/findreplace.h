#pragma once

struct AppContext;

/// The modeless find-and-replace dialog and its two handlers.
class FindReplace {
public:
    explicit FindReplace(AppContext& context);
    ~FindReplace();

    /// `Replace1Click`: shows the dialog, or brings it to the front.
    void show();
    /// `ReplaceDlgFind`.
    void find();
    /// `ReplaceDlgReplace`.
    void replace();

private:
    AppContext& m_ctx;
};
