#include "ui/pagecheckwindow.h"

#include "core/text/editorbuffer.h"
#include "tools/pagecheckrun.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QStringListModel>
#include <QTextDocument>
#include <QVBoxLayout>

TPageCheck::TPageCheck(EditorBuffer* memo, QWidget* parent)
    : QDialog(parent)
    , m_memo(memo)
    , m_run(new PageCheckRun(this))
    , m_rows(new QListView(this))
    , m_model(new QStringListModel(this))
    , m_summary(new QLabel(this))
    , m_checkAgain(new QPushButton(QStringLiteral("Проверить снова"), this))
{
    setObjectName(QStringLiteral("PageCheck"));
    setWindowTitle(QStringLiteral("Проверка страницы"));
    setModal(false);
    resize(460, 320);

    m_rows->setObjectName(QStringLiteral("Rows"));
    m_rows->setModel(m_model);
    // Tens of thousands of rows go in at once without measuring each.
    m_rows->setUniformItemSizes(true);
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_checkAgain->setObjectName(QStringLiteral("CheckAgain"));
    // Enter belongs to the rows, never to the button.
    m_checkAgain->setAutoDefault(false);
    m_checkAgain->setDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(m_checkAgain);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_rows, 1);
    layout->addLayout(buttons);

    connect(m_checkAgain, &QPushButton::clicked, this, &TPageCheck::checkNow);
    // Double click, and Enter, activate a row.
    connect(m_rows, &QListView::activated, this, [this](const QModelIndex& index) {
        if (!index.isValid() || std::size_t(index.row()) >= m_places.size())
            return;
        const auto [line, column] = m_places[std::size_t(index.row())];
        if (line > 0)
            emit placeChosen(line, column);
    });
    connect(m_memo, &EditorBuffer::changed, m_run, &PageCheckRun::textChanged);
    connect(m_run, &PageCheckRun::finished, this, &TPageCheck::showResult);
    connect(m_run, &PageCheckRun::outdated, this, &TPageCheck::showOutdated);
}

TPageCheck::~TPageCheck() = default;

void TPageCheck::checkNow()
{
    if (!m_placed) {
        placeBesideParent();
        m_placed = true;
    }
    QDialog::show();
    raise();
    m_model->setStringList({});
    m_places.clear();
    m_summary->setText(QStringLiteral("Проверка..."));
    // The widget's own positions and form: '\n' at each line break,
    // nothing where a long line's pieces join.
    EditorBuffer* memo = m_memo;
    m_run->start(memo->document()->characterCount() - 1,
                 [memo](qsizetype from, qsizetype to) { return memo->editorText(int(from), int(to)); });
}

void TPageCheck::showResult(const pagecheck::Result& result)
{
    m_places.clear();
    m_places.reserve(result.rows.size());
    for (const pagecheck::Row& row : result.rows)
        m_places.emplace_back(row.line, row.column);
    m_model->setStringList(result.texts);
    m_summary->setText(pagecheck::summary(result));
    if (m_model->rowCount() > 0)
        m_rows->setCurrentIndex(m_model->index(0));
}

void TPageCheck::showOutdated()
{
    m_model->setStringList({});
    m_places.clear();
    m_summary->setText(QStringLiteral("Текст изменён: проверьте снова"));
}

void TPageCheck::placeBesideParent()
{
    // To the right of the main window; where the screen ends there, over
    // its right edge.
    const QWidget* owner = parentWidget();
    if (!owner)
        return;
    const QRect frame = owner->frameGeometry();
    QPoint at(frame.right() + 1, frame.top());
    if (const QScreen* screen = owner->screen() ? owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        if (at.x() + width() > area.right() + 1)
            at.setX(qMax(area.left(), area.right() + 1 - width()));
    }
    move(at);
}
