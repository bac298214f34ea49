#pragma once
// The parameters of the application: the one row of PARAMETRE (letterhead,
// cataloguing source, classification, letters, weekly closing days) and the
// closed periods of JOUR_EXCEPTION.

#include "data/widgets/formdialog.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace folian {

class FieldBinder;

class DatasetModel;
class TFrmData;

class TFrmParametre : public FormDialog
{
    Q_OBJECT
public:
    TFrmParametre(TFrmData &data, QWidget *parent = nullptr);

    // Puts the picture file into the letterhead; false (nothing changed)
    // when the file cannot be read as a picture.
    bool loadLetterhead(const QString &path);

public slots:
    void BtnLoadClick();
    // "Enregistrer": posts the row; on failure the dialog stays with the edit pending.
    void BtnPostClick();
    void AppendException();
    void EditException();
    void DeleteException();

protected:
    void done(int result) override;

private:
    QWidget *pageGeneral();
    QWidget *pageCatalogage();
    QWidget *pageCirculation();
    QWidget *pageAcquisition();
    QComboBox *dayList(const char *name);
    void showRow();
    void showLetterhead();
    bool openExceptions();
    void updateExceptionButtons();

    TFrmData &data_;
    FieldBinder *binder_ = nullptr;
    QLabel *letterhead_ = nullptr;
    QComboBox *pays_ = nullptr;
    QLineEdit *agence_ = nullptr;
    QButtonGroup *classification_ = nullptr;
    QPlainTextEdit *relanceLecteur_ = nullptr, *quitus_ = nullptr, *relanceFournisseur_ = nullptr;
    QComboBox *weekend1_ = nullptr, *weekend2_ = nullptr;
    DatasetModel *exceptionModel_ = nullptr;
    QTableView *exceptions_ = nullptr;
    QPushButton *btnAppendException_ = nullptr, *btnEditException_ = nullptr, *btnDeleteException_ = nullptr;
};

} // namespace folian
