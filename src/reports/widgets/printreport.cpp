#include "reports/widgets/printreport.h"

#include "base/messages.h"
#include "data/widgets/progresspanel.h"
#include "reports/widgets/frmhtmlpreview.h"

#include <QApplication>

namespace folian {

ReportResult PrintReport(Database &db, const Report &report, QWidget *owner, ProgressPanel *panel,
                         QWidget *printButton)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (printButton)
        printButton->setEnabled(false);
    if (panel)
        panel->start();
    const ReportResult result = writeReport(db, report, panel);
    if (panel)
        panel->finish();
    if (printButton)
        printButton->setEnabled(true);
    QApplication::restoreOverrideCursor();

    switch (result.status) {
    case ReportResult::Status::Written:
        TFrmHTMLPreview::showFile(report.title(), result.path, owner);
        break;
    case ReportResult::Status::Failed:
        error(result.message);
        break;
    case ReportResult::Status::Stopped:
        break;
    }
    return result;
}

} // namespace folian
