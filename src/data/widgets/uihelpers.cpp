#include "data/widgets/uihelpers.h"

#include "base/dates.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"

#include <QDateEdit>
#include <QLayout>
#include <QWidget>

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QProcess>
#include <QTableView>
#include <QUrl>

namespace folian {

void AddAndSelect(const QString &text, QListWidget *list)
{
    if (!list)
        return;
    list->addItem(text);
    list->setCurrentRow(list->count() - 1);
    list->scrollToBottom();
}

void ConfigureGrid(QTableView *view)
{
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
}

void ConfigureDateField(QDateEdit *field)
{
    // Left to right first: a field formatted while right to left shows its
    // sections in reverse order (YYYY/MM/DD).
    field->setLayoutDirection(Qt::LeftToRight);
    field->setDisplayFormat(DateFormat());
}

void ShowCurrentRow(QTableView *grid, Dataset *dataset)
{
    const int row = dataset->currentRow();
    QAbstractItemModel *model = grid->model();
    if (row >= 0 && model && row < model->rowCount() && grid->currentIndex().row() != row)
        grid->setCurrentIndex(model->index(row, qMax(0, grid->currentIndex().column())));
}

void FollowCurrentRow(QTableView *grid, Dataset *dataset, std::function<void()> changed,
                      std::function<void(int row)> chosen)
{
    if (!chosen)
        chosen = [dataset](int row) {
            if (!dataset->isEditing())
                dataset->moveTo(row);
        };
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
                     [dataset, chosen](const QModelIndex &current) {
                         if (current.isValid() && current.row() != dataset->currentRow())
                             chosen(current.row());
                     });
    QObject::connect(dataset, &Dataset::currentChanged, grid, [grid, dataset] { ShowCurrentRow(grid, dataset); });
    if (!changed)
        return;
    for (auto signal : {&Dataset::stateChanged, &Dataset::reset})
        QObject::connect(dataset, signal, grid, [changed] { changed(); });
    QObject::connect(dataset, &Dataset::rowInserted, grid, [changed] { changed(); });
    QObject::connect(dataset, &Dataset::rowRemoved, grid, [changed] { changed(); });
}

bool OpenSafeLink(const QUrl &url)
{
    const QUrl safe = SafeLinkUrl(url.toString());
    return safe.isValid() && QDesktopServices::openUrl(safe);
}

bool RunDocument(const QString &file, const QString &parameters, const QString &directory)
{
    const QString f = file.trimmed();
    if (f.isEmpty())
        return false;
    const QUrl url(f, QUrl::StrictMode);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1)
        return QDesktopServices::openUrl(url);
    const QString path = QDir::isAbsolutePath(f) || directory.isEmpty() ? f : QDir(directory).filePath(f);
    if (!parameters.trimmed().isEmpty())
        return QProcess::startDetached(path, QProcess::splitCommand(parameters), directory);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

} // namespace folian

#include "data/widgets/screen.h"

#include <QKeyEvent>

namespace folian {

bool returnMovesFocus(QWidget *control, QKeyEvent *event)
{
    if (!control || (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter))
        return false;
    // Multi-line editors keep their Return.
    if (control->inherits("QPlainTextEdit") || control->inherits("QTextEdit"))
        return false;
    QWidget *w = control->window();
    if (!w)
        return false;
    QWidget *next = control->nextInFocusChain();
    while (next && next != control && (!(next->focusPolicy() & Qt::TabFocus) || !next->isEnabled() || !next->isVisible()))
        next = next->nextInFocusChain();
    if (next && next != control)
        next->setFocus(Qt::TabFocusReason);
    return true;
}

void retire(QWidget *screen)
{
    if (!screen)
        return;
    screen->hide();
    if (QWidget *parent = screen->parentWidget(); parent && parent->layout())
        parent->layout()->removeWidget(screen);
    screen->deleteLater();
}

QPushButton *namedButton(QAnyStringView name, QAnyStringView caption, QWidget *parent)
{
    auto *b = new QPushButton(caption.toString(), parent);
    b->setObjectName(name.toString());
    b->setAutoDefault(false);
    return b;
}

QLabel *namedLabel(QAnyStringView name, QAnyStringView caption, QWidget *parent)
{
    auto *l = new QLabel(caption.toString(), parent);
    l->setObjectName(name.toString());
    return l;
}

QLabel *valueLabel(QAnyStringView name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name.toString());
    l->setProperty("localise", false);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace folian
