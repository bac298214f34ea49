// The commands of the documents' screen: documents and their titles
// created, changed, deleted, validated, printed, received, converted; the
// invoices of an order entered, changed and deleted.

#include "acquisitions/core/acqpages.h"
#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/invoices.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/core/serialtexts.h"
#include "acquisitions/widgets/documentsearch.h"
#include "acquisitions/widgets/frmcommande.h"
#include "acquisitions/widgets/frmabonnementligne.h"
#include "acquisitions/widgets/frmcommandeligne.h"
#include "acquisitions/widgets/frmfacture.h"
#include "acquisitions/widgets/frmlivraisonbon.h"
#include "acquisitions/widgets/frmlivraisonchoix.h"
#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "reports/widgets/frmhtmlpreview.h"

#include <QApplication>
#include <memory>
#include <QLabel>
#include <QPushButton>

namespace folian {

void DocumentSearchScreen::BtnNouveauClick()
{
    TFrmCommande sheet(data_, type_, 0, this);
    if (sheet.exec() != QDialog::Accepted)
        return;
    reopen(sheet.savedId());
    writeStatusPanel(2, documentCountLine(data_.db(), type_));
}

void DocumentSearchScreen::BtnModifierClick()
{
    const int id = currentDocument();
    const bool subscription = type_ == AcqType::Subscription;
    if (id <= 0
        || (validated() && !confirm(subscription ? acq::subscriptionEditValidatedQuestion() : acq::editValidatedQuestion())))
        return;
    TFrmCommande sheet(data_, type_, id, this);
    if (sheet.exec() == QDialog::Accepted)
        reopen(id);
}

void DocumentSearchScreen::BtnSupprimerClick()
{
    const int id = currentDocument();
    if (id <= 0)
        return;
    const QString number = data_.QAcquisition->value(QStringLiteral("ACQ_NUMERO")).toString();
    const bool subscription = type_ == AcqType::Subscription;
    const QString question = validated() ? (subscription ? acq::subscriptionDeleteValidatedQuestion() : acq::deleteValidatedQuestion())
        : type_ == AcqType::PreOrder     ? acq::deletePreOrderQuestion(number)
        : subscription                   ? acq::deleteSubscriptionQuestion(number)
                                         : acq::deleteOrderQuestion(number);
    if (!confirmIrreversible(question))
        return;
    const AcqResult r = deleteDocument(data_.db(), id);
    if (!r.passed)
        inform(r.message);
    reopen(r.passed ? 0 : id);
    writeStatusPanel(2, documentCountLine(data_.db(), type_));
}

void DocumentSearchScreen::BtnImprimerClick()
{
    const int id = currentDocument();
    QPushButton *print = button("BtnImprimer");
    if (id <= 0 || !print->isEnabled())
        return;
    print->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportResult r = writeOrderForm(data_.db(), id);
    QApplication::restoreOverrideCursor();
    updateButtons();
    if (!r.written()) {
        inform(r.message);
        return;
    }
    TFrmHTMLPreview::showFile(documentFormTitle(type_), r.path, this);
}

void DocumentSearchScreen::openLine(int line)
{
    const int document = currentDocument();
    if (document <= 0)
        return;
    std::unique_ptr<TFrmCommandeLigne> sheet;
    if (type_ == AcqType::Subscription)
        sheet = std::make_unique<TFrmAbonnementLigne>(data_, document, line, this);
    else
        sheet = std::make_unique<TFrmCommandeLigne>(data_, type_, document, line, this);
    if (sheet->exec() == QDialog::Accepted)
        refreshDocument(sheet->savedId());
}

void DocumentSearchScreen::BtnNouveauTitreClick() { openLine(0); }

void DocumentSearchScreen::BtnModifierTitreClick()
{
    const int line = currentLine();
    const bool subscription = type_ == AcqType::Subscription;
    if (line <= 0
        || (validated()
            && !confirm(subscription ? acq::subscriptionEditValidatedLinesQuestion() : acq::editValidatedLinesQuestion())))
        return;
    openLine(line);
}

void DocumentSearchScreen::BtnSupprimerTitreClick()
{
    const int line = currentLine();
    const QString question = !validated()                 ? acq::deleteLineQuestion()
        : type_ == AcqType::Subscription ? acq::subscriptionDeleteValidatedLinesQuestion()
                                         : acq::deleteValidatedLinesQuestion();
    if (line <= 0 || !confirmIrreversible(question))
        return;
    const AcqResult r = deleteLine(data_.db(), line);
    if (!r.passed)
        inform(r.message);
    refreshDocument(r.passed ? 0 : line);
}

void DocumentSearchScreen::BtnValidationClick()
{
    const int id = currentDocument();
    if (id <= 0 || !confirm(type_ == AcqType::Subscription ? acq::subscriptionValidateQuestion() : acq::validateQuestion()))
        return;
    const AcqResult r = validateDocument(data_.db(), id);
    if (!r.passed)
        inform(r.message);
    refreshDocument(currentLine());
}

void DocumentSearchScreen::BtnReceptionClick()
{
    const int id = currentDocument();
    if (id <= 0 || !button("BtnReception")->isEnabled())
        return;
    TFrmLivraisonChoix choice(data_, id, selectedLines(), this);
    if (choice.exec() != QDialog::Accepted)
        return;
    const int line = currentLine();
    TFrmLivraisonBon note(data_, choice.deliveryId(), this);
    note.exec();
    // The received counts have changed: the lines and the receipt button follow.
    refreshDocument(line);
}

void DocumentSearchScreen::BtnPasserCommandeClick()
{
    const int id = currentDocument();
    if (id <= 0 || !confirm(acq::convertQuestion(data_.QAcquisition->value(QStringLiteral("ACQ_NUMERO")).toString())))
        return;
    const AcqResult r = convertToOrder(data_.db(), id);
    if (!r.passed)
        inform(r.message);
    reopen(0);
    writeStatusPanel(2, documentCountLine(data_.db(), type_));
}

void DocumentSearchScreen::openInvoice(const QString &number)
{
    const int document = currentDocument();
    if (document <= 0)
        return;
    TFrmFacture sheet(data_, document, number, this);
    if (sheet.exec() != QDialog::Accepted)
        return;
    refreshDocument(currentLine());
    data_.QFacture->locate(QStringLiteral("FAC_ID"), sheet.savedNumber());
    updateButtons();
}

void DocumentSearchScreen::BtnNouvelleFactureClick()
{
    if (button("BtnNouvelleFacture") && button("BtnNouvelleFacture")->isEnabled())
        openInvoice(QString());
}

void DocumentSearchScreen::BtnModifierFactureClick()
{
    if (const QString number = currentInvoice(); !number.isEmpty())
        openInvoice(number);
}

void DocumentSearchScreen::BtnSupprimerFactureClick()
{
    if (TFrmFacture::deleteAsked(data_, currentInvoice()))
        refreshDocument(currentLine());
}

} // namespace folian
