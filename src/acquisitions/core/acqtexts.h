#pragma once
// The messages of the acquisitions (suppliers, orders and pre-orders,
// deliveries, copies received and generated), in French or Arabic by the
// session's language. The screens, folianctl and the tests call these.

#include <QString>
#include <QStringList>

namespace folian::acq {

// A text of the acquisitions in the session's language (a field's caption, ...).
QString text(const char16_t *french, const char16_t *arabic);

// Labels
QString statusLabel(int status);          // "A valider", "En cours"; empty otherwise
QString directionLabel(int direction);    // "", "Entrant", "Sortant"
QString supplierTypeLabel(int type);      // "", "Fournisseur", "Donnateur", "Partenaire"
QString documentsCount(int type, int count);  // " 3 commande(s)", " 1 pré-commande(s)", ...
QString linesCount(int count);            // " 2 titre(s)"
QString invoicesCount(int count);         // " 0 facture(s)"
QString deliveriesCount(int count);       // " 4 livraison(s)"
QString recordsFound(int count);          // " 12 notice(s) trouvé(s)"

// Suppliers
QString supplierNameRequired();
QString deleteSupplierQuestion(const QString &name);
QString supplierInUse(int documents);
QString supplierGone();
QString supplierTypeUnknown(int type);

// Documents
QString supplierRequired();
QString numberRequired();
QString documentGone();
QString editValidatedQuestion();
QString deleteValidatedQuestion();
QString deleteOrderQuestion(const QString &number);
QString deletePreOrderQuestion(const QString &number);
QString documentHasDependants(int deliveries, int invoices, int received);
QString validateQuestion();
QString validateNoLines();
QString alreadyValidated();
QString notValidable();
QString convertQuestion(const QString &number);
QString notAPreOrder();
QString yearNotANumber(const QString &typed);

// Lines
QString editValidatedLinesQuestion();
QString deleteValidatedLinesQuestion();
QString deleteLineQuestion();
QString copiesNegative();
QString priceNegative();
QString copiesRequired();
QString recordRequired();
QString recordGone();
QString lineGone();
QString copiesBelowReceived(int received);
QString recordFixedOnceReceived();
QString lineHasReceipts(int received, int deliveries, int copies, int issues);
QString totalCaption();       // the field the order's total is named by
QString amountCaption();      // the line's "Total"
QString priceCaption();       // "Prix"

// Receipt
QString noTitleSelected();
QString receiptNotValidated();
QString receiptWrongType();
QString deliveryNumberRequired();
QString lineNotOfDocument(int line);
QString allTitlesReceived();
QString lineFullyDelivered();
QString countIncorrect();
QString removeTitleQuestion();
QString deleteDeliveryQuestion(const QString &number);
QString deliveryGone();
QString titleNotDelivered();
QString titleAlreadyDelivered();
QString deliveryHasReceipts(int copies, int issues);
QString titleHasReceipts(int copies, int issues);
QString newCopyCaption();
QString editCopyCaption();
QString newIssueCaption();
QString editIssueCaption();
QString copyNumberRequired();
QString copyNumberTaken(const QString &id);
QString issueNumberRequired();
QString copyGone(const QString &id);
QString issueGone();

// Batch generation
QString generationDone(int created);
QString countOutOfRange(const QString &typed);
QString startZero();
QString numbersTaken(const QStringList &numbers);
QString numbersTooLong(const QStringList &numbers, const QString &field, int length);
QString generatorCaption();

// Pages
QString orderFormTitle(bool preOrder);
QString deliveryNoteTitle();
QString deliveryListTitle();

} // namespace folian::acq
