#pragma once
// Purchase suggestions: titles proposed for purchase, free text kept apart
// from the catalogue and the orders. Open to every user (the entry needs
// no right). Each save or deletion is one statement; a new suggestion's
// key is the largest + 1, retried when another workstation took it.

#include "acquisitions/core/acqresult.h"
#include "data/core/helpers.h"
#include "reports/core/report.h"

#include <QDate>

namespace folian {

class Database;
class Dialect;

struct SuggestionSheet {
    int id = 0;            // SUG_ID; 0 for a new suggestion
    QString title;         // SUG_TITRE, required
    QString author;        // SUG_AUTEUR
    QString publisher;     // SUG_EDITEUR
    QString price;         // SUG_PRIX as typed; blank for none
    QString comment;       // SUG_COMMENTAIRE
    QDate date;            // SUG_DATE; today when not valid
};

// Saves the suggestion; the key in the result. Refused: a blank title, a
// price that is not an amount or is negative, a text longer than its column.
AcqResult saveSuggestion(Database &db, const SuggestionSheet &sheet);
// The stored suggestion; id 0 when there is none.
SuggestionSheet loadSuggestion(Database &db, int id);
AcqResult deleteSuggestion(Database &db, int id);

// The suggestions whose number matches `number` ("*" any digits; blank:
// every one), oldest first, then by number. False with the reason when the
// criterion holds anything but digits and "*".
bool suggestionSearchSql(const Dialect &d, const QString &number, SqlText *out, QString *why);
// The status-bar count (" Suggestions : n enreg(s)").
QString suggestionCountLine(Database &db);
// "suggestion.html": the suggestions the criterion finds.
bool suggestionListReport(const Dialect &d, const QString &number, Report *out, QString *why);

} // namespace folian
