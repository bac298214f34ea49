#pragma once
// The messages and captions of the physical inventory and its campaigns,
// in French or Arabic by the session's language. The screen, folianctl and
// the tests call these.

#include <QString>

namespace folian::inv {

QString searchResult();                      // " Résultat de recherche"
QString copiesCount(qint64 count);           // " 12 exemplaire(s)"
QString position(int row, qint64 count);     // "3 / 12"
QString flagLabel(bool found);               // "Oui", "Non"

// The double click
QString copyGone(const QString &copy);
QString flagChanged(const QString &copy, bool nowFound);

// Campaigns
QString criterionRequired();
QString startQuestion(qint64 selection);
QString noCampaign();
QString campaignUnknown(int campaign);
QString campaignStarted(int campaign, qint64 selection);
QString fileUnreadable(const QString &path);
QString scanSummary(int found, int unknown, int duplicates, int misplaced, int lent);
QString statusSummary(qint64 selection, qint64 found, qint64 notFound, qint64 misplaced);
QString stoppedAfter(int lines);

// Pages
QString registerTitle();        // "Inventaire"
QString checkTitle();           // "Inventaire physique"
QString discrepanciesTitle();   // "Ecarts d'inventaire"
QString campaignTitle();        // "Campagne d'inventaire"

} // namespace folian::inv
