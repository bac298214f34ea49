#pragma once
// The messages of gifts, exchanges and deposits and of the purchase
// suggestions, in French or Arabic by the session's language, each kind of
// document with its own wording. The screens, folianctl and the tests call
// these.

#include "acquisitions/core/documents.h"

#include <QString>

namespace folian::acq {

// Captions of a kind (gift, exchange, deposit)
QString giftScreenTitle(AcqType kind);          // "Recherche dons", ...
QString giftNewCaption(AcqType kind);           // "Nouveau don", "Nouvel échange", "Nouveau dépôt"
QString giftEditCaption(AcqType kind);          // "Modifier don", ...
QString giftLinesPanel(AcqType kind);           // " Titres de don", ...
QString giftPageTitle(AcqType kind);            // "Don", "Echange", "Dépôt"
QString giftLineCaption();                      // "Ligne de don"

// Questions of a kind
QString giftValidateQuestion(AcqType kind);
QString giftEditValidatedQuestion(AcqType kind);
QString giftDeleteValidatedQuestion(AcqType kind);
QString giftEditValidatedLinesQuestion(AcqType kind);
QString giftDeleteValidatedLinesQuestion(AcqType kind);
QString giftDeleteQuestion(AcqType kind, const QString &number);

// Lines, copies and issues
QString goodCopiesShort();                     // an outgoing line asks more copies than the title has in good condition
QString incomingLineFull(AcqType kind);         // an incoming line has all its copies
QString outgoingLineFull(AcqType kind);         // an outgoing line has handed over all its copies
QString copyLentNoSelection();                  // "Séléction impossible car l'exemplaire est emprûnté"
QString copyReservedNoSelection();
QString copyAlreadyHandedOver(const QString &copy);
QString copyNotOfTitle(const QString &copy);
QString copyNotOnLine(const QString &copy);
QString issueAlreadyHandedOver(const QString &number);
QString issueNotOfTitle();
QString issueNotOnLine();
QString outgoingTakesExistingCopies();          // new copies and "Générer" only for incoming lines
QString incomingHasNoSelection();               // choosing existing copies only for outgoing lines
QString notAGiftLine();
QString directionLocked(int copies, int issues);
QString copySelectCaption();                    // "Sélection exemplaire"
QString issueSelectCaption();                   // "Sélection bulletin"

// Suggestions
QString suggestionsCount(int count);            // " 3 suggestion(s)"
QString suggestionTitleRequired();
QString suggestionGone();
QString suggestionDeleteQuestion();             // "Supprimer cette suggestion  ?"
QString suggestionNewCaption();
QString suggestionEditCaption();
QString suggestionListTitle();                  // "Liste des suggestions"
QString suggestionNumberNotANumber(const QString &typed);

} // namespace folian::acq
