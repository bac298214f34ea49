#include "circulation/widgets/frmrelance.h"

#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/widgets/indexsearch.h"
#include "data/core/datasetmodel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "reports/widgets/frmhtmlpreview.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

QTableView *grid(const char *name, DatasetModel *model, const QList<int> &widths, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setModel(model);
    ConfigureGrid(view);
    view->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < widths.size(); ++c)
        view->setColumnWidth(c, widths.at(c));
    return view;
}

} // namespace

ReminderPage::ReminderPage(TFrmData &frmData, ReminderKind kind, const QDate &today, QWidget *parent)
    : QWidget(parent), data_(frmData), kind_(kind), today_(today)
{
    const bool loans = kind == ReminderKind::Loans;
    setObjectName(loans ? QStringLiteral("TabPret") : QStringLiteral("TabPeb"));
    readers_ = new Dataset(data_.db(), QStringLiteral("QRelanceLecteur"), QStringLiteral("LECTEUR"), this);
    loans_ = new Dataset(data_.db(), QStringLiteral("QRelancePret"),
                         loans ? QStringLiteral("NOTICE_EXEMPLAIRE") : QStringLiteral("PEB"), this);

    auto *readerModel = new DatasetModel(readers_, this);
    readerModel->setColumns({QStringLiteral("LEC_ID"), QStringLiteral("LEC_NOM"), QStringLiteral("LEC_PRENOM"),
                             QStringLiteral("CAT_LIBELLE"), QStringLiteral("STR_LIBELLE")},
                            {QStringLiteral("Numéro"), QStringLiteral("Nom"), QStringLiteral("Prénom"),
                             QStringLiteral("Catégorie"), QStringLiteral("Structure")});
    auto *loanModel = new DatasetModel(loans_, this);
    if (loans)
        loanModel->setColumns({QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE"), QStringLiteral("TITRE"),
                               QStringLiteral("EXP_DATE_PRET"), QStringLiteral("EXP_DATE_RETOUR")},
                              {QStringLiteral("N° exemplaire"), QStringLiteral("Cote"), QStringLiteral("Titre"),
                               QStringLiteral("Date prêt"), QStringLiteral("Date retour")});
    else
        loanModel->setColumns({QStringLiteral("PEB_EXP_ID"), QStringLiteral("PEB_TITRE"), QStringLiteral("PEB_AUTEUR"),
                               QStringLiteral("BIB_NOM"), QStringLiteral("BIB_PRET"), QStringLiteral("BIB_RETOUR")},
                              {QStringLiteral("N° exemplaire"), QStringLiteral("Titre"), QStringLiteral("Auteur"),
                               QStringLiteral("Bibiliothèque"), QStringLiteral("Date prêt"),
                               QStringLiteral("Date retour")});

    auto *box = new QGroupBox(QStringLiteral(" Liste des lecteurs retardataires "), this);
    box->setObjectName(QStringLiteral("GbxLecteurs"));
    readerGrid_ = grid("DBGridLecteurs", readerModel, {110, 180, 180, 170}, box);
    lblCount_ = new QLabel(box);
    lblCount_->setObjectName(QStringLiteral("LblCount"));
    lblCount_->setProperty("localise", false);  // a count, written at run time
    QFont bold = lblCount_->font();
    bold.setBold(true);
    lblCount_->setFont(bold);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(readerGrid_, 1);
    boxLayout->addWidget(lblCount_);

    loanGrid_ = grid(loans ? "DBGridPrets" : "DBGridPeb", loanModel,
                     loans ? QList<int>{110, 90, 380, 100} : QList<int>{110, 280, 160, 160, 100}, this);
    FollowCurrentRow(readerGrid_, readers_, [this] { showLoans(); });
    connect(readers_, &Dataset::currentChanged, this, [this] { showLoans(); });
    FollowCurrentRow(loanGrid_, loans_, {});

    search_ = new IndexSearch(this);
    btnPrint_ = new QPushButton(QStringLiteral("Imprimer"), this);
    btnPrint_->setObjectName(QStringLiteral("BtnPrint"));
    btnPrint_->setAutoDefault(false);
    connect(btnPrint_, &QPushButton::clicked, this, &ReminderPage::BtnPrintClick);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(search_, 1);
    bottom->addSpacing(24);
    bottom->addWidget(btnPrint_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box, 3);
    layout->addWidget(loanGrid_, 2);
    layout->addLayout(bottom);
    refresh();
}

bool ReminderPage::refresh()
{
    const SqlText sql = lateReadersSql(data_.db().dialect(), kind_, today_);
    bool ok;
    {
        // A list that cannot be read is shown empty; the count says none.
        SilentScope silent;
        ok = readers_->open(sql.sql, sql.binds);
    }
    if (!ok)
        readers_->close();
    count_ = ok ? qMax(0, readers_->recordCount()) : 0;
    lblCount_->setText(circ::lateReadersCount(count_));
    loans_->close();  // read again for the current reader
    search_->setList(readers_, {QStringLiteral("LEC_ID"), QStringLiteral("LEC_NOM"), QStringLiteral("LEC_PRENOM")},
                     {tr2(QStringLiteral("Numéro"), QStringLiteral("الرقم")), tr2(QStringLiteral("Nom"), QStringLiteral("اللقب")),
                      tr2(QStringLiteral("Prénom"), QStringLiteral("الاسم"))});
    showLoans();
    emit countChanged(count_);
    return ok;
}

QString ReminderPage::countText() const { return lblCount_->text(); }

QString ReminderPage::currentReader() const
{
    if (!readers_->isOpen() || readers_->currentRow() < 0)
        return {};
    return readers_->value(QStringLiteral("LEC_ID")).toString();
}

void ReminderPage::showLoans()
{
    const QString reader = currentReader();
    btnPrint_->setEnabled(!reader.isEmpty());
    if (reader.isEmpty()) {
        loans_->close();
        return;
    }
    // Already on this reader's loans: nothing to read again.
    if (loans_->isOpen() && loans_->binds().value(0).toString() == reader)
        return;
    const SqlText sql = lateLoansSql(data_.db().dialect(), kind_, reader, today_);
    SilentScope silent;
    if (!loans_->open(sql.sql, sql.binds))
        loans_->close();
}

void ReminderPage::BtnPrintClick()
{
    const QString reader = currentReader();
    if (reader.isEmpty()) {
        inform(circ::reminderNoReader());
        return;
    }
    btnPrint_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportResult page = writeReminder(data_.db(), kind_, reader, today_);
    QApplication::restoreOverrideCursor();
    btnPrint_->setEnabled(true);
    if (page.written())
        TFrmHTMLPreview::showFile(circ::reminderPreviewTitle(), page.path, this);
    else
        error(page.message);
}

TFrmRelance::TFrmRelance(TFrmData &frmData, ReminderKind start, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmRelance"));
    setWindowTitle(QStringLiteral("Relances"));
    const QDate today = serverToday(frmData.db());
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    loans_ = new ReminderPage(frmData, ReminderKind::Loans, today, tabs_);
    interLibrary_ = new ReminderPage(frmData, ReminderKind::InterLibrary, today, tabs_);
    tabs_->addTab(loans_, QStringLiteral("Relance prêt"));
    tabs_->addTab(interLibrary_, QStringLiteral("Relance PEB"));
    tabs_->setCurrentWidget(page(start));
    connect(tabs_, &QTabWidget::currentChanged, this, &TFrmRelance::showStatus);
    for (ReminderPage *p : {loans_, interLibrary_})
        connect(p, &ReminderPage::countChanged, this, &TFrmRelance::showStatus);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    showStatus();
}

ReminderPage *TFrmRelance::page(ReminderKind kind) const
{
    return kind == ReminderKind::Loans ? loans_ : interLibrary_;
}

ReminderPage *TFrmRelance::currentPage() const { return qobject_cast<ReminderPage *>(tabs_->currentWidget()); }

void TFrmRelance::showStatus()
{
    if (ReminderPage *p = currentPage())
        writeStatusPanel(2, circ::remindersStatus(p->lateReaders()));
}

void TFrmRelance::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

} // namespace folian
