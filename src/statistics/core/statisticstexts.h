#pragma once
// The messages of the statistics, French or Arabic by the session's language.

#include "statistics/core/statistics.h"

#include <QString>

namespace folian::stats {

// "Source : compteurs de prêt depuis la dernière initialisation", ...
QString sourceText(StatSource source);
QString periodMissing();
QString periodReversed();
// The statistic could not be read, with the engine's words.
QString readFailed(const QString &why);
// The label of a group whose key names nothing (a reader deleted since).
QString unknownGroup();
// The chart draws the first `shown` bars of `rows`.
QString chartTruncated(int shown, int rows);
// The count panels: " 12 notice(s) trouvé(s)", " 3 titre(s)", " Résultat de recherche".
QString recordsFound(int n);
QString titlesFound(int n);
QString searchResult();
// Exports.
QString exportWritten(const QString &path, int rows);
QString exportFailed(const QString &path, const QString &why);
QString fileNotWritable();

} // namespace folian::stats
