#pragma once
// "Recherche de documents", the first screen of the cataloguing module: the
// criteria, the result (the shared record query itself, read in pages, so
// that the record form edits the record the search is on), the basket, and
// what is done to them: preview, edit, delete, print, export, collect.
// Print, export and "Tout mettre dans le panier" run with the progress
// panel, whose "Arréter" stops them.

#include "catalogue/core/recordsearch.h"
#include "catalogue/core/records.h"
#include "data/widgets/screen.h"

#include <QHash>
#include <QWidget>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace folian {

class CatalogueGridModel;
class NoticeBasketPage;
class NoticeSearchCriteria;
class ProgressPanel;
class TFrmData;

class TFrmNoticeSearch : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmNoticeSearch(TFrmData &data, QWidget *parent = nullptr);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    NoticeSearchCriteria *criteriaPanel() const { return criteria_; }
    QTableView *grid() const { return grid_; }
    NoticeBasketPage *basketPage() const { return basket_; }
    QTabWidget *pages() const { return pages_; }
    ProgressPanel *progress() const { return progress_; }
    // The panel above the result: " n notice(s) trouvé(s)" or " Résultat de recherche".
    QString countText() const;
    bool isRunning() const { return running_; }
    // The records "Supprimer" and "Mettre dans le panier" take: those
    // selected in the grid, else the current one.
    QList<int> chosenIds() const;
    // Writes the records of the page shown (the result or the basket) into
    // `path` in UNIMARC; false when the file could not be written.
    bool exportTo(const QString &path);
    // Back from the record form: the current record read again, the result kept.
    void refreshCurrent();

public slots:
    void Search();
    void Initialise();
    // TRI changed: the open result in the new order.
    void Resort();
    void BtnPreviewClick();
    void BtnEditClick();
    void BtnDeleteClick();
    void BtnAddClick();
    void BtnAddAllClick();
    void BtnPrintClick();
    void BtnExportClick();

signals:
    // "Modifier" (or a double click) on the current record.
    void editRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildResultPage();
    QWidget *buildButtons();
    // Opens the shared record query on the criteria; false (and the empty
    // result) when it cannot be read.
    bool run(const RecordCriteria &c);
    void showCount();
    void updateButtons();
    bool basketShown() const;
    QList<int> chosenRows() const;
    // Print, export and "Tout mettre dans le panier": one at a time, every
    // other button disabled meanwhile.
    void startRun();
    void endRun();

    TFrmData &data_;
    CataloguerRights rights_;
    RecordCriteria last_;
    QString resultSql_;
    bool searched_ = false;
    bool failed_ = false;
    bool running_ = false;
    QHash<int, QString> statusLabels_;
    NoticeSearchCriteria *criteria_;
    QTabWidget *pages_;
    QLabel *count_;
    CatalogueGridModel *model_;
    QTableView *grid_;
    NoticeBasketPage *basket_;
    ProgressPanel *progress_;
    QPushButton *btnPreview_, *btnEdit_, *btnDelete_, *btnAdd_, *btnAddAll_, *btnPrint_, *btnExport_;
};

} // namespace folian
