#include "acquisitions/widgets/frmbudgetmontant.h"

#include "acquisitions/core/budgets.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/shareddata.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace folian {

TFrmBudgetMontant::TFrmBudgetMontant(TFrmData &frmData, Page page, int id, int year, QWidget *parent)
    : FormDialog(parent), data_(frmData), page_(page), id_(id), year_(year)
{
    setObjectName(QStringLiteral("FrmBudgetMontant"));
    setWindowTitle(QStringLiteral("Budget"));
    setModal(true);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PgcMontant"));
    auto *budget = new QWidget(pages_);
    budget->setObjectName(QStringLiteral("TabBudget"));
    auto *budgetForm = new QFormLayout(budget);
    formLine(budgetForm, budget, "EdtAnnee", "LblAnnee", "Année :");
    formLine(budgetForm, budget, "EdtMontantBudget", "LblMontantBudget", "Montant :");
    auto *chapter = new QWidget(pages_);
    chapter->setObjectName(QStringLiteral("TabChapitre"));
    auto *chapterForm = new QFormLayout(chapter);
    formLine(chapterForm, chapter, "EdtIntitule", "LblIntitule", "Intitulé :");
    formLine(chapterForm, chapter, "EdtMontantChapitre", "LblMontantChapitre", "Montant :");
    pages_->addTab(budget, QStringLiteral("Budget"));
    pages_->addTab(chapter, QStringLiteral("Chapitre"));
    // Only the page of the row being saved is shown.
    const int shown = page == Page::Budget ? 0 : 1;
    pages_->setCurrentIndex(shown);
    pages_->setTabVisible(1 - shown, false);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmBudgetMontant::BtnPostClick);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(bottom);
    setMinimumWidth(420);

    if (page == Page::Budget) {
        const BudgetRow b = id > 0 ? loadBudget(data_.db(), id) : BudgetRow();
        field("EdtAnnee")->setText(b.year > 0 ? QString::number(b.year) : QString());
        field("EdtMontantBudget")->setText(b.year > 0 ? b.amount.toString() : QString());
        field("EdtAnnee")->setFocus();
    } else {
        const ChapterRow c = id > 0 ? loadChapter(data_.db(), id) : ChapterRow();
        field("EdtIntitule")->setText(c.title);
        field("EdtMontantChapitre")->setText(c.id > 0 ? c.amount.toString() : QString());
        field("EdtIntitule")->setFocus();
    }
}

QLineEdit *TFrmBudgetMontant::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

void TFrmBudgetMontant::afterLocalise()
{
    const bool edit = id_ > 0;
    if (page_ == Page::Budget)
        setWindowTitle(edit ? acq::editBudgetCaption() : acq::newBudgetCaption());
    else
        setWindowTitle(edit ? acq::editChapterCaption() : acq::newChapterCaption());
}

void TFrmBudgetMontant::BtnPostClick()
{
    const bool budget = page_ == Page::Budget;
    const AcqResult r = budget ? saveBudget(data_.db(), {id_, field("EdtAnnee")->text(), field("EdtMontantBudget")->text()})
                               : saveChapter(data_.db(), {id_, year_, field("EdtIntitule")->text(), field("EdtMontantChapitre")->text()});
    if (!r.passed) {
        inform(r.message);
        QLineEdit *amount = field(budget ? "EdtMontantBudget" : "EdtMontantChapitre");
        amount->setFocus();
        amount->selectAll();
        return;
    }
    savedKey_ = r.key;
    accept();
}

} // namespace folian
