#pragma once
// Copy cataloguing ("Catalogage - Copie de notices"): a target, the
// criteria, the records it finds with the ISBD display of the current one,
// and "Importer" / "Importer et modifier". The search runs on a thread of
// its own, with the progress panel and its stop: the interface never waits
// for the network. Importing runs here, on the workstation's connection.

#include "catalogue/copy/copyimport.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTextBrowser;

namespace folian {

class ProgressPanel;
class TFrmData;

class TFrmNoticeCopie : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmNoticeCopie(TFrmData &data, QWidget *parent = nullptr);
    ~TFrmNoticeCopie() override;

    // The targets read again (after one was added or deleted).
    void loadTargets();

    QComboBox *targetBox() const { return target_; }
    QLineEdit *numberField() const { return number_; }
    QLineEdit *titleField() const { return title_; }
    QLineEdit *authorField() const { return author_; }
    QSpinBox *limitField() const { return limit_; }
    QTableWidget *results() const { return grid_; }
    QTextBrowser *preview() const { return preview_; }
    QLabel *messageLabel() const { return message_; }
    ProgressPanel *progress() const { return panel_; }
    QPushButton *searchButton() const { return btnSearch_; }
    QPushButton *importButton() const { return btnImport_; }
    QPushButton *importEditButton() const { return btnImportEdit_; }
    bool running() const { return running_; }
    const QList<copy::CopyHit> &hits() const { return hits_; }

    // For the tests: the exchange the searches use (the network by default).
    void setTransport(std::shared_ptr<copy::Transport> transport) { transport_ = std::move(transport); }

public slots:
    void BtnRechercherClick();
    void BtnStopClick();
    // Imports the current record; its key, or 0 when it was not imported.
    int BtnImporterClick();
    void BtnImporterModifierClick();
    void BtnAjouterCibleClick();
    void BtnSupprimerCibleClick();

signals:
    // A search ended, with its result shown.
    void searchEnded();
    // "Importer et modifier": the record form is to open on this record.
    void editRequested(int docId);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildCriteria();
    QWidget *buildButtons();
    void showResult(const copy::CopySearchResult &result);
    void showCurrent();
    void updateButtons();
    const copy::CopyHit *currentHit() const;

    TFrmData &data_;
    copy::CopyImporter importer_;
    std::shared_ptr<copy::Transport> transport_;
    QList<copy::CopyTarget> targets_;
    QList<copy::CopyHit> hits_;
    QComboBox *target_;
    QLineEdit *number_, *title_, *author_;
    QSpinBox *limit_;
    QTableWidget *grid_;
    QTextBrowser *preview_;
    QLabel *message_;
    ProgressPanel *panel_;
    QPushButton *btnSearch_, *btnImport_, *btnImportEdit_, *btnAddTarget_, *btnDeleteTarget_;
    std::shared_ptr<std::atomic<bool>> stop_;
    bool running_ = false;
    int run_ = 0;  // the search whose result is awaited
};

QWidget *createNoticeCopyScreen(TFrmData &data);

} // namespace folian
