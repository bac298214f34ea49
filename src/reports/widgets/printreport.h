#pragma once
// Printing a report from a screen: the page is written while the screen's
// progress panel runs (its print button disabled, the wait cursor shown),
// then shown in a preview window of its own. A stopped run shows nothing;
// a failed one shows why.

#include "reports/core/report.h"

class QWidget;

namespace folian {

class ProgressPanel;

// `owner` owns the preview window; `panel` and `printButton` may be null.
ReportResult PrintReport(Database &db, const Report &report, QWidget *owner, ProgressPanel *panel = nullptr,
                         QWidget *printButton = nullptr);

} // namespace folian
