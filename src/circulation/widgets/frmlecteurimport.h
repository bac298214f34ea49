#pragma once
// "Importation lecteur": readers created from a text file, all in one
// category and, optionally, one structure. The lines that could not be
// imported are listed with their reason.

#include "data/widgets/screen.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace folian {

class ProgressPanel;
class TFrmData;

class TFrmLecteurImport : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmLecteurImport(TFrmData &data, QWidget *parent = nullptr);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    QLineEdit *fileField() const { return file_; }
    QComboBox *categoryList() const { return category_; }
    QComboBox *structureList() const { return structure_; }
    QDateEdit *registrationDate() const { return registered_; }
    QListWidget *rejected() const { return rejected_; }
    ProgressPanel *progress() const { return progress_; }
    QPushButton *importButton() const { return btnImport_; }

public slots:
    void BtnFileClick();
    void BtnImportClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void updateButtons();

    TFrmData &data_;
    QLineEdit *file_;
    QComboBox *category_, *structure_;
    QDateEdit *registered_;
    QListWidget *rejected_;
    ProgressPanel *progress_;
    QPushButton *btnImport_;
    bool running_ = false;
};

} // namespace folian
