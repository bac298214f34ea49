#pragma once
// "Sauvegarde": backs the database up now into a directory, with progress
// and a stop; lists the backups there with what they hold; restores one,
// after a question whose default answer is "Non".

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace folian {

class Database;
class ProgressPanel;

class TFrmSauvegarde : public QWidget
{
    Q_OBJECT
public:
    // `db` is the workstation's connection; a restore goes through one of its own.
    explicit TFrmSauvegarde(Database &db, QWidget *parent = nullptr);

    QLineEdit *directoryField() const { return directory_; }
    QTableWidget *grid() const { return grid_; }
    ProgressPanel *progress() const { return progress_; }

public slots:
    void BtnDossierClick();
    void BtnSauvegarderClick();
    void BtnRestaurerClick();
    void Actualiser();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateButtons();

    Database &db_;
    QLineEdit *directory_;
    QTableWidget *grid_;
    ProgressPanel *progress_;
    QPushButton *btnBackup_, *btnRestore_;
    bool running_ = false;
};

} // namespace folian
