// What the record search does to several records at once: delete the
// selection, collect the whole result, print and export the result or the
// basket. The long ones run with the progress panel and its stop button.

#include "catalogue/widgets/frmnoticesearch.h"

#include "base/messages.h"
#include "catalogue/core/recorddeletion.h"
#include "catalogue/core/recordlist.h"
#include "catalogue/unimarc/output.h"
#include "catalogue/widgets/noticebasket.h"
#include "data/core/shareddata.h"
#include "data/widgets/progresspanel.h"
#include "reports/widgets/printreport.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>

namespace folian {

void TFrmNoticeSearch::BtnDeleteClick()
{
    if (!btnDelete_->isEnabled())
        return;
    const QList<int> ids = chosenIds();
    if (ids.isEmpty() || !confirmIrreversible(tr2(QStringLiteral("Supprimer les notices"), QStringLiteral("حذف البطاقات"))
                                  + QStringLiteral(" ?")))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Each record on its own: the rows deleted leave the result in place.
    const QList<RecordDeletion> outcome = deleteRecords(data_, rights_, ids);
    QApplication::restoreOverrideCursor();
    grid_->clearSelection();
    if (data_.QNotice->sql() != resultSql_)
        run(last_);  // the result was replaced to reach a record: search again
    showCount();
    updateButtons();
    if (const QString refused = refusalsText(outcome); !refused.isEmpty())
        warn(tr2(QStringLiteral("Notices non supprimées :"), QStringLiteral("البطاقات التي لم تحذف :")) + u'\n'
             + refused);
}

void TFrmNoticeSearch::BtnAddAllClick()
{
    if (!btnAddAll_->isEnabled())
        return;
    QList<int> ids;
    QString why;
    // The result's records on a query of their own: the grid stays where it is.
    if (!recordIds(data_.db(), last_, &ids, &why)) {
        error(why);
        return;
    }
    startRun();
    progress_->start();
    const int added = basket_->add(ids, progress_);
    progress_->finish();
    endRun();
    if (added < 0)
        error(data_.db().lastError().text());
}

void TFrmNoticeSearch::BtnPrintClick()
{
    if (!btnPrint_->isEnabled())
        return;
    Report page;
    QString why;
    const bool ok = basketShown() ? basketListReport(data_.db(), basket_->basket().ids(), &page, &why)
                                  : recordListReport(data_.db().dialect(), last_, &page, &why);
    if (!ok) {
        error(why);
        return;
    }
    startRun();
    PrintReport(data_.db(), page, this, progress_, btnPrint_);
    endRun();
}

void TFrmNoticeSearch::BtnExportClick()
{
    if (!btnExport_->isEnabled())
        return;
    const QString start =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("notices.txt"));
    const QString path = QFileDialog::getSaveFileName(
        this, tr2(QStringLiteral("Fichier d'exportation"), QStringLiteral("ملف النقل")), start,
        tr2(QStringLiteral("Fichiers UNIMARC (*.ouv *.per *.the *.art *.fon *.txt);;Tous fichiers (*)"),
            QStringLiteral("ملف UNIMARC (*.ouv *.per *.the *.art *.fon *.txt);;جميع الملفات (*)")));
    if (!path.isEmpty())
        exportTo(path);
}

bool TFrmNoticeSearch::exportTo(const QString &path)
{
    QList<int> ids;
    QString why;
    if (basketShown())
        ids = basket_->basket().ids();
    else if (!recordIds(data_.db(), last_, &ids, &why)) {
        error(why);
        return false;
    }
    startRun();
    btnExport_->hide();
    progress_->setBusy(true);
    const unimarc::ExportCounts counts = unimarc::exportRecords(data_.db(), path, ids, progress_);
    progress_->setBusy(false);
    btnExport_->show();
    endRun();
    if (!counts.error.isEmpty()) {
        error(unimarc::exportSummary(counts));
        return false;
    }
    inform(unimarc::exportSummary(counts));
    return true;
}

} // namespace folian
