// The commands of the budget screen: budgets, chapters, commitments and
// transfers created, changed and deleted through their dialogs and the
// services; a commitment chosen for an invoice.

#include "acquisitions/core/budgets.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/commitments.h"
#include "acquisitions/widgets/frmbudget.h"
#include "acquisitions/widgets/frmbudgetligne.h"
#include "acquisitions/widgets/frmbudgetmontant.h"
#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

#include <QLineEdit>

namespace folian {

namespace {

// Tells a refusal; true when the operation was done.
bool told(const AcqResult &r)
{
    if (!r.passed)
        inform(r.message);
    return r.passed;
}

} // namespace

void TFrmBudget::BtnNouveauClick()
{
    TFrmBudgetMontant sheet(data_, TFrmBudgetMontant::Page::Budget, 0, 0, this);
    if (sheet.exec() != QDialog::Accepted)
        return;
    if (year_->text().trimmed().isEmpty())
        year_->setText(QStringLiteral("*"));
    reopen(sheet.savedKey());
    writeStatusPanel(2, budgetCountLine(data_.db()));
}

void TFrmBudget::BtnModifierClick()
{
    const int year = currentBudget();
    if (year <= 0)
        return;
    TFrmBudgetMontant sheet(data_, TFrmBudgetMontant::Page::Budget, year, 0, this);
    if (sheet.exec() == QDialog::Accepted)
        reopen(sheet.savedKey());
}

void TFrmBudget::BtnSupprimerClick()
{
    const int year = currentBudget();
    if (year <= 0 || !confirm(acq::deleteBudgetQuestion()))
        return;
    reopen(told(deleteBudget(data_.db(), year)) ? 0 : year);
    writeStatusPanel(2, budgetCountLine(data_.db()));
}

void TFrmBudget::BtnNouveauChapitreClick()
{
    const int year = currentBudget();
    if (year <= 0)
        return;
    TFrmBudgetMontant sheet(data_, TFrmBudgetMontant::Page::Chapter, 0, year, this);
    if (sheet.exec() != QDialog::Accepted)
        return;
    refreshBudget();
    data_.QChapitre->locate(QStringLiteral("CHP_ID"), sheet.savedKey());
}

void TFrmBudget::BtnModifierChapitreClick()
{
    const int chapter = currentChapter();
    if (chapter <= 0)
        return;
    TFrmBudgetMontant sheet(data_, TFrmBudgetMontant::Page::Chapter, chapter, currentBudget(), this);
    if (sheet.exec() == QDialog::Accepted)
        refreshBudget();
}

void TFrmBudget::BtnSupprimerChapitreClick()
{
    const int chapter = currentChapter();
    if (chapter <= 0 || !confirm(acq::deleteChapterQuestion()))
        return;
    told(deleteChapter(data_.db(), chapter));
    refreshBudget();
}

void TFrmBudget::openEntry(bool transfer, int id)
{
    const int year = currentBudget();
    if (year <= 0)
        return;
    TFrmBudgetLigne sheet(data_, transfer ? TFrmBudgetLigne::Page::Transfer : TFrmBudgetLigne::Page::Commitment, year, id, this);
    if (sheet.exec() != QDialog::Accepted)
        return;
    refreshBudget();
    if (transfer)
        data_.QTransfert->locate(QStringLiteral("TRS_ID"), sheet.savedKey());
    else
        data_.QEngagement->locate(QStringLiteral("ENG_ID"), sheet.savedKey());
}

void TFrmBudget::BtnNouvelEngagementClick() { openEntry(false, 0); }

void TFrmBudget::BtnModifierEngagementClick()
{
    if (const int id = currentCommitment(); id > 0)
        openEntry(false, id);
}

void TFrmBudget::BtnSupprimerEngagementClick()
{
    const int id = currentCommitment();
    if (id <= 0 || !confirm(acq::deleteCommitmentQuestion()))
        return;
    told(deleteCommitment(data_.db(), id));
    refreshBudget();
}

void TFrmBudget::BtnChoisirClick()
{
    if (mode_ != Mode::Pick || currentCommitment() <= 0)
        return;
    chosen_ = currentCommitment();
    emit chosen();
}

void TFrmBudget::BtnNouveauTransfertClick() { openEntry(true, 0); }

void TFrmBudget::BtnModifierTransfertClick()
{
    if (currentTransfer() > 0)
        inform(acq::transfersNotEditable());
}

void TFrmBudget::BtnSupprimerTransfertClick()
{
    const int id = currentTransfer();
    if (id <= 0 || !confirm(acq::deleteTransferQuestion()))
        return;
    told(deleteTransfer(data_.db(), id));
    refreshBudget();
}

} // namespace folian
