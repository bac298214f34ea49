#include "circulation/widgets/readerhistory.h"

#include "base/dates.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/readers.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QBrush>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

constexpr int kInHouseStatus = 3;


int rowsOf(Dataset *d) { return d->isOpen() ? d->recordCount() : -1; }

QDate dayOf(Dataset *d, int row, const char *column) { return d->valueAt(row, QLatin1String(column)).toDate(); }

} // namespace

ReaderHistory::ReaderHistory(TFrmData &frmData, QWidget *parent)
    : QGroupBox(QStringLiteral(" Historique lecteur :"), parent), data_(frmData), today_(QDate::currentDate())
{
    setObjectName(QStringLiteral("GrpHistorique"));

    auto *loans = new DatasetModel(data_.QPret, this);
    loans->setColumns({QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE"), QStringLiteral("TITRE"),
                       QStringLiteral("EXP_DATE_PRET"), QStringLiteral("EXP_DATE_RETOUR")},
                      {QStringLiteral("N° Exemplaire"), QStringLiteral("Cote"), QStringLiteral("Titre"),
                       QStringLiteral("Date prêt"), QStringLiteral("Date retour")});
    loans->setStyle([this](int row, const QString &, int role) -> QVariant {
        Dataset *d = data_.QPret;
        const QDate due = dayOf(d, row, "EXP_DATE_RETOUR");
        if (role == Qt::ForegroundRole && due.isValid() && due < today_)
            return QBrush(Qt::red);
        if (role == Qt::BackgroundRole && d->valueAt(row, QStringLiteral("STA_EXP_ID")).toInt() == kInHouseStatus)
            return QBrush(QColor(0xc0, 0xc0, 0xc0));
        return {};
    });

    auto *held = new DatasetModel(data_.QReservation, this);
    held->setColumns({QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE"), QStringLiteral("TITRE"),
                      QStringLiteral("EXP_DATE_RETOUR"), QStringLiteral("EXP_DATE_RESERVATION")},
                     {QStringLiteral("N° Exemplaire"), QStringLiteral("Cote"), QStringLiteral("Titre"),
                      QStringLiteral("Date retour"), QStringLiteral("Date limite")});
    held->setRowDisplay(QStringLiteral("EXP_DATE_RETOUR"), [this](int row) {
        const QDate due = dayOf(data_.QReservation, row, "EXP_DATE_RETOUR");
        return due.isValid() ? ShowDate(due) : circ::returnedAndHeld();
    });

    auto *peb = new DatasetModel(data_.QPebHistory, this);
    peb->setColumns({QStringLiteral("PEB_EXP_ID"), QStringLiteral("PEB_TITRE"), QStringLiteral("PEB_AUTEUR"),
                     QStringLiteral("BIB_NOM"), QStringLiteral("BIB_PRET"), QStringLiteral("BIB_RETOUR")},
                    {QStringLiteral("N° Exemplaire"), QStringLiteral("Titre"), QStringLiteral("Auteur"),
                     QStringLiteral("Bibliothèque"), QStringLiteral("Date prêt"), QStringLiteral("Date Retour")});
    peb->setStyle([this](int row, const QString &, int role) -> QVariant {
        const QDate due = dayOf(data_.QPebHistory, row, "BIB_RETOUR");
        if (role == Qt::ForegroundRole && due.isValid() && due < today_)
            return QBrush(Qt::red);
        return {};
    });

    lblLoans_ = valueLabel("LblPret", this);
    lblReservations_ = valueLabel("LblReservation", this);
    lblPeb_ = valueLabel("LblPeb", this);
    loans_ = grid("DBGridPret", loans);
    reservations_ = grid("DBGridReservation", held);
    peb_ = grid("DBGridPeb", peb);
    connect(loans_, &QTableView::doubleClicked, this, [this](const QModelIndex &i) {
        emit loanActivated(data_.QPret->valueAt(i.row(), QStringLiteral("EXP_ID")).toString());
    });
    connect(reservations_, &QTableView::doubleClicked, this, [this](const QModelIndex &i) {
        emit reservationActivated(data_.QReservation->valueAt(i.row(), QStringLiteral("EXP_ID")).toString());
    });

    auto *tabs = tabs_ = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PgcHistorique"));
    auto *own = new QWidget(tabs);
    own->setObjectName(QStringLiteral("TabPret"));
    auto *ol = new QVBoxLayout(own);
    ol->setContentsMargins(4, 4, 4, 4);
    ol->setSpacing(2);
    ol->addWidget(lblLoans_);
    ol->addWidget(loans_, 1);
    ol->addWidget(lblReservations_);
    ol->addWidget(reservations_, 1);
    auto *other = new QWidget(tabs);
    other->setObjectName(QStringLiteral("TabPeb"));
    auto *pl = new QVBoxLayout(other);
    pl->setContentsMargins(4, 4, 4, 4);
    pl->setSpacing(2);
    pl->addWidget(lblPeb_);
    pl->addWidget(peb_, 1);
    tabs->addTab(own, QStringLiteral("Prêt externe/interne"));
    tabs->addTab(other, QStringLiteral("PEB"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabs);
    refreshHeaders();
}

QTableView *ReaderHistory::grid(const char *name, DatasetModel *model)
{
    auto *v = new QTableView(this);
    v->setObjectName(QLatin1String(name));
    v->setModel(model);
    ConfigureGrid(v);
    v->horizontalHeader()->setStretchLastSection(true);
    // A header and a row at the least: the lists scroll on a small screen.
    v->setMinimumHeight(v->horizontalHeader()->sizeHint().height() + v->verticalHeader()->defaultSectionSize() + 4);
    // The title takes the room: "N° Exemplaire" and "Cote" are short codes.
    const bool peb = model->dataset() == data_.QPebHistory;
    const QList<int> widths = peb ? QList<int>{110, 300, 180, 200, 100} : QList<int>{110, 100, 360, 100};
    for (int c = 0; c < widths.size(); ++c)
        v->setColumnWidth(c, widths.at(c));
    return v;
}

void ReaderHistory::showReader(const QString &readerId, const QDate &today)
{
    today_ = today;
    if (readerId.trimmed().isEmpty())
        closeReaderHistory(data_);
    else
        openReaderHistory(data_, readerId);
    refreshHeaders();
}

void ReaderHistory::showInterLibraryTab() { tabs_->setCurrentIndex(1); }

void ReaderHistory::clear()
{
    closeReaderHistory(data_);
    refreshHeaders();
}

void ReaderHistory::refreshHeaders()
{
    lblLoans_->setText(circ::historyLoans(rowsOf(data_.QPret)));
    lblReservations_->setText(circ::historyReservations(rowsOf(data_.QReservation)));
    lblPeb_->setText(circ::historyInterLibrary(rowsOf(data_.QPebHistory)));
}

QString ReaderHistory::loansHeader() const { return lblLoans_->text(); }
QString ReaderHistory::reservationsHeader() const { return lblReservations_->text(); }
QString ReaderHistory::interLibraryHeader() const { return lblPeb_->text(); }

} // namespace folian
