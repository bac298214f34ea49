#pragma once
// The messages of serial subscriptions and of the claims to late
// suppliers, in French or Arabic by the session's language.

#include <QString>

namespace folian {
class Database;
}

namespace folian::acq {

// Subscriptions: the questions of their screen, in the subscription's wording.
QString subscriptionEditValidatedQuestion();
QString subscriptionDeleteValidatedQuestion();
QString deleteSubscriptionQuestion(const QString &number);
QString subscriptionEditValidatedLinesQuestion();
QString subscriptionDeleteValidatedLinesQuestion();
QString subscriptionValidateQuestion();
QString subscriptionFormTitle();      // "Bon d'abonnement"
QString subscriptionLinesCaption();   // the tab of the titles: "Titres d'abonnement"

// Claims
QString lateSuppliersCount(int count);   // " 2 fournisseur(s) retardataire(s)"
QString lateTitlesCount(int count);      // " 3 Titre(s)"
QString awaitedIssuesCount(int count);   // " 1 Bulletin(s)"
// The status-bar line of the claims: " Relances : n enreg(s)".
QString claimsCountLine(int count);
QString claimLetterTitle();              // "Relance fournisseur"
QString lateSupplierListTitle();         // "Liste des fournisseurs retardataires"
QString lateTitlesCaption();             // the letter's table of titles
QString awaitedIssuesCaption();          // the letter's table of issues
QString supplierNotLate(const QString &name);
QString claimsWritten(int letters);      // what the batch of letters did

} // namespace folian::acq
