#include "acquisitions/widgets/frmbudgetligne.h"

#include "acquisitions/core/budgets.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/commitments.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace folian {

TFrmBudgetLigne::TFrmBudgetLigne(TFrmData &frmData, Page page, int year, int id, QWidget *parent)
    : FormDialog(parent), data_(frmData), page_(page), year_(year), id_(id)
{
    setObjectName(QStringLiteral("FrmBudgetLigne"));
    setWindowTitle(QStringLiteral("Entrée de budget"));
    setModal(true);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PgcLigne"));
    pages_->addTab(buildCommitmentPage(), QStringLiteral("Engagement"));
    pages_->addTab(buildTransferPage(), QStringLiteral("Transfert"));
    const int shown = page == Page::Commitment ? 0 : 1;
    pages_->setCurrentIndex(shown);
    pages_->setTabVisible(1 - shown, false);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmBudgetLigne::BtnPostClick);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(bottom);
    setMinimumWidth(460);

    // The budget's chapters by title, in every list.
    const SqlText chapters = budgetChaptersSql(year);
    for (const char *name : {"CbChapitre", "CbSource", "CbDestination"}) {
        QComboBox *l = list(name);
        SqlRows q = data_.db().query(chapters.sql, chapters.binds);
        while (q.next())
            l->addItem(q.value(QStringLiteral("CHP_INTITULE")).toString(), q.value(QStringLiteral("CHP_ID")));
    }
    if (page == Page::Commitment) {
        const QDate today = serverToday(data_.db());
        const CommitmentRow c = id > 0 ? loadCommitment(data_.db(), id) : CommitmentRow();
        chooseKey(list("CbChapitre"), c.id > 0 ? QVariant(c.chapter) : QVariant());
        if (c.id == 0 && list("CbChapitre")->count() > 0)
            list("CbChapitre")->setCurrentIndex(0);
        showDate(dateField("EdtDate"), c.id > 0 ? c.date : today);
        showDate(dateField("EdtDatePaiement"), c.id > 0 ? c.paymentDate : today);
        field("EdtNumeroPaiement")->setText(c.paymentNumber);
        field("EdtModePaiement")->setText(c.paymentMode);
        field("EdtMontant")->setText(c.id > 0 ? c.amount.toString() : QString());
        list("CbChapitre")->setFocus();
    } else {
        list("CbSource")->setFocus();
    }
}

QWidget *TFrmBudgetLigne::buildCommitmentPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabEngagement"));
    auto *form = new QFormLayout(page);
    formList(form, page, "CbChapitre", "LblChapitre", "Chapitre :");
    formRow(form, page, "LblDate", "Date :", folian::dateField("EdtDate", page));
    formLine(form, page, "EdtNumeroPaiement", "LblNumeroPaiement", "N° paiement :");
    formLine(form, page, "EdtModePaiement", "LblModePaiement", "Mode paiement :");
    formRow(form, page, "LblDatePaiement", "Date paiement :", folian::dateField("EdtDatePaiement", page, true));
    formLine(form, page, "EdtMontant", "LblMontant", "Montant :");
    return page;
}

QWidget *TFrmBudgetLigne::buildTransferPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabTransfert"));
    auto *form = new QFormLayout(page);
    formList(form, page, "CbSource", "LblSource", "Source :");
    formLine(form, page, "EdtMontantTransfert", "LblMontantTransfert", "Montant :");
    formList(form, page, "CbDestination", "LblDestination", "Destination :");
    return page;
}

QLineEdit *TFrmBudgetLigne::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }
QComboBox *TFrmBudgetLigne::list(const char *name) const { return findChild<QComboBox *>(QLatin1String(name)); }
QDateEdit *TFrmBudgetLigne::dateField(const char *name) const { return findChild<QDateEdit *>(QLatin1String(name)); }

void TFrmBudgetLigne::afterLocalise()
{
    if (page_ == Page::Transfer)
        setWindowTitle(acq::newTransferCaption());
    else
        setWindowTitle(id_ > 0 ? acq::editCommitmentCaption() : acq::newCommitmentCaption());
}

void TFrmBudgetLigne::BtnPostClick()
{
    AcqResult r;
    if (page_ == Page::Commitment) {
        CommitmentSheet s;
        s.id = id_;
        s.chapter = chosenKey(list("CbChapitre")).toInt();
        s.date = dateOf(dateField("EdtDate"));
        s.paymentNumber = field("EdtNumeroPaiement")->text();
        s.paymentMode = field("EdtModePaiement")->text();
        s.paymentDate = dateOf(dateField("EdtDatePaiement"));
        s.amount = field("EdtMontant")->text();
        r = saveCommitment(data_.db(), s);
    } else {
        r = addTransfer(data_.db(), {chosenKey(list("CbSource")).toInt(), chosenKey(list("CbDestination")).toInt(),
                                     field("EdtMontantTransfert")->text()});
    }
    if (!r.passed) {
        inform(r.message);
        QLineEdit *amount = field(page_ == Page::Commitment ? "EdtMontant" : "EdtMontantTransfert");
        amount->setFocus();
        amount->selectAll();
        return;
    }
    savedKey_ = r.key;
    accept();
}

} // namespace folian
