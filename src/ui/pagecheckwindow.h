#pragma once

#include "tools/pagecheck.h"

#include <QDialog>

#include <utility>
#include <vector>

class EditorBuffer;
class PageCheckRun;
class QLabel;
class QListView;
class QPushButton;
class QStringListModel;

/// "Проверка страницы": the page check's window beside the editor, not
/// modal. One row per message, the counts below them, and "Проверить снова".
/// Double click or Enter on a row asks for its place in the text.
class TPageCheck : public QDialog {
    Q_OBJECT

public:
    /// Checks the text of `memo`; the window belongs to `parent`, the main window.
    TPageCheck(EditorBuffer* memo, QWidget* parent);
    ~TPageCheck() override;

    /// Shows the window (beside the main window the first time) and checks
    /// the text as it stands.
    void checkNow();

    QListView* rowList() const { return m_rows; }
    QLabel* summaryLabel() const { return m_summary; }
    QPushButton* checkAgainButton() const { return m_checkAgain; }
    PageCheckRun& run() { return *m_run; }

signals:
    /// A row was chosen: its line and column, both 1-based.
    void placeChosen(int line, int column);

private:
    void showResult(const pagecheck::Result& result);
    void showOutdated();
    void placeBesideParent();

    EditorBuffer* m_memo;
    PageCheckRun* m_run;
    QListView* m_rows;
    QStringListModel* m_model;
    QLabel* m_summary;
    QPushButton* m_checkAgain;
    /// Line and column of each row; line 0 names no place.
    std::vector<std::pair<int, int>> m_places;
    bool m_placed = false;
};
