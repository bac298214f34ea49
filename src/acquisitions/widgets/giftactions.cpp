// The commands of the gifts' screen: documents and their titles created,
// changed, deleted, validated, printed; the copies and issues of a title
// received, generated, chosen, changed and removed.

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifts.h"
#include "acquisitions/core/giftpages.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/widgets/frmdon.h"
#include "acquisitions/widgets/frmgenerate.h"
#include "acquisitions/widgets/frmlivraisonexemplaire.h"
#include "acquisitions/widgets/giftsearch.h"
#include "base/messages.h"
#include "catalogue/core/records.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "reports/widgets/frmhtmlpreview.h"

#include <QApplication>
#include <QPushButton>

namespace folian {

void GiftSearchScreen::BtnNouveauClick()
{
    TFrmDon sheet(data_, kind_, 0, this);
    if (sheet.exec() != QDialog::Accepted)
        return;
    reopen(sheet.savedId());
    writeStatusPanel(2, documentCountLine(data_.db(), kind_));
}

void GiftSearchScreen::BtnModifierClick()
{
    const int id = currentDocument();
    if (id <= 0 || (validated() && !confirm(acq::giftEditValidatedQuestion(kind_))))
        return;
    TFrmDon sheet(data_, kind_, id, this);
    if (sheet.exec() == QDialog::Accepted)
        reopen(id);
}

void GiftSearchScreen::BtnSupprimerClick()
{
    const int id = currentDocument();
    if (id <= 0)
        return;
    const QString number = data_.QAcquisition->value(QStringLiteral("ACQ_NUMERO")).toString();
    if (!confirmIrreversible(validated() ? acq::giftDeleteValidatedQuestion(kind_) : acq::giftDeleteQuestion(kind_, number)))
        return;
    const AcqResult r = deleteDocument(data_.db(), id);
    if (!r.passed)
        inform(r.message);
    reopen(r.passed ? 0 : id);
    writeStatusPanel(2, documentCountLine(data_.db(), kind_));
}

void GiftSearchScreen::BtnImprimerClick()
{
    const int id = currentDocument();
    if (id <= 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportResult r = writeGiftForm(data_.db(), id);
    QApplication::restoreOverrideCursor();
    if (!r.written()) {
        inform(r.message);
        return;
    }
    TFrmHTMLPreview::showFile(acq::giftPageTitle(kind_), r.path, this);
}

void GiftSearchScreen::openLine(int line)
{
    const int document = currentDocument();
    if (document <= 0)
        return;
    TFrmDonLigne sheet(data_, kind_, document, line, this);
    if (sheet.exec() == QDialog::Accepted)
        refreshDocument(sheet.savedId());
}

void GiftSearchScreen::BtnNouveauTitreClick() { openLine(0); }

void GiftSearchScreen::BtnModifierTitreClick()
{
    const int line = currentLine();
    if (line <= 0 || (validated() && !confirm(acq::giftEditValidatedLinesQuestion(kind_))))
        return;
    openLine(line);
}

void GiftSearchScreen::BtnSupprimerTitreClick()
{
    const int line = currentLine();
    if (line <= 0 || !confirmIrreversible(validated() ? acq::giftDeleteValidatedLinesQuestion(kind_) : acq::deleteLineQuestion()))
        return;
    const AcqResult r = deleteLine(data_.db(), line);
    if (!r.passed)
        inform(r.message);
    refreshDocument(r.passed ? 0 : line);
}

void GiftSearchScreen::BtnValidationClick()
{
    const int id = currentDocument();
    if (id <= 0 || !confirm(acq::giftValidateQuestion(kind_)))
        return;
    const AcqResult r = validateDocument(data_.db(), id);
    if (!r.passed)
        inform(r.message);
    refreshDocument(currentLine());
}

bool GiftSearchScreen::openSheet(int page, const QString &copyId, int issueId)
{
    const int line = currentLine();
    TFrmLivraisonExemplaire sheet(data_, TFrmLivraisonExemplaire::Page(page), giftTarget(loadGiftLine(data_.db(), line)), copyId,
                                  issueId, this);
    if (sheet.exec() != QDialog::Accepted)
        return false;
    refreshDocument(line);
    return true;
}

void GiftSearchScreen::AddCopy()
{
    const int line = currentLine();
    if (line <= 0)
        return;
    if (const QString full = giftAddRefusal(data_.db(), line); !full.isEmpty()) {
        inform(full);
        return;
    }
    openSheet(int(lineIncoming() ? TFrmLivraisonExemplaire::Page::Copy : TFrmLivraisonExemplaire::Page::SelectCopy), QString(), 0);
}

void GiftSearchScreen::EditCopy()
{
    Dataset *c = data_.QExemplaire;
    if (currentLine() <= 0 || c->rowCount() == 0)
        return;
    const QString id = c->value(QStringLiteral("EXP_ID")).toString();
    if (const QString lent = copyEditRefusal(data_.db(), id); !lent.isEmpty())
        inform(lent);
    else
        openSheet(int(TFrmLivraisonExemplaire::Page::Copy), id, 0);
}

void GiftSearchScreen::DeleteCopy()
{
    const int line = currentLine();
    Dataset *c = data_.QExemplaire;
    if (line <= 0 || c->rowCount() == 0)
        return;
    const QString id = c->value(QStringLiteral("EXP_ID")).toString();
    if (!confirmIrreversible(copyDeleteQuestion(id)))
        return;
    const AcqResult r = removeLineCopy(data_.db(), line, id);
    if (!r.passed)
        inform(r.message);
    refreshDocument(line);
}

void GiftSearchScreen::GenerateCopies()
{
    const int line = currentLine();
    if (line <= 0 || !lineIncoming())
        return;
    if (const QString full = giftAddRefusal(data_.db(), line); !full.isEmpty()) {
        inform(full);
        return;
    }
    const GiftLine l = loadGiftLine(data_.db(), line);
    TFrmGenerate generator(data_, this);
    generator.Initialize(GenerationContext::Line, giftCopyMode(kind_), l.record, line);
    generator.propose(qMax(1, l.copies - l.held));
    if (generator.exec() == QDialog::Accepted)
        refreshDocument(line);
}

void GiftSearchScreen::AddIssue()
{
    if (currentLine() > 0)
        openSheet(int(lineIncoming() ? TFrmLivraisonExemplaire::Page::Issue : TFrmLivraisonExemplaire::Page::SelectIssue), QString(),
                  0);
}

void GiftSearchScreen::EditIssue()
{
    Dataset *b = data_.QBulletin;
    if (currentLine() > 0 && b->rowCount() > 0)
        openSheet(int(TFrmLivraisonExemplaire::Page::Issue), QString(), b->value(QStringLiteral("BUL_ID")).toInt());
}

void GiftSearchScreen::DeleteIssue()
{
    const int line = currentLine();
    Dataset *b = data_.QBulletin;
    if (line <= 0 || b->rowCount() == 0 || !confirmIrreversible(issueDeleteQuestion(b->value(QStringLiteral("BUL_NUMERO")))))
        return;
    const AcqResult r = removeLineIssue(data_.db(), line, b->value(QStringLiteral("BUL_ID")).toInt());
    if (!r.passed)
        inform(r.message);
    refreshDocument(line);
}

} // namespace folian
