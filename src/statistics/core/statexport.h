#pragma once
// A statistic saved for a spreadsheet: as CSV text (UTF-8, commas, quoted
// fields, for any spreadsheet) or as an .xlsx workbook whose counts, rates
// and amounts are numbers, laid out right to left in Arabic. The first row
// holds the column titles in the session's language; then one row per row
// of the statistic, in its order.

#include "statistics/core/statistics.h"

namespace folian {

struct ExportResult {
    bool ok = false;
    int rows = 0;
    QString message;  // what was written, or why nothing was
};

ExportResult writeStatisticCsv(const StatisticTable &t, const QString &path);
ExportResult writeStatisticXlsx(const StatisticTable &t, const QString &path);

// One CSV line of these fields, quoted where a field holds a comma, a
// quote or a line break; a text that a spreadsheet would take for a
// formula (=, +, -, @ first) is written with a quote mark before it.
QString csvLine(const QStringList &fields, const QList<bool> &numeric);

} // namespace folian
