#pragma once
// The detail sheet of a record's copy, serial issue or electronic resource:
// the current row of QExemplaire, QBulletin or QRessource, being inserted or
// edited. "Enregistrer" posts it and closes; a refused post keeps the sheet
// open with what was typed. "Annuler" (or Escape) cancels the row.

#include "data/widgets/formdialog.h"

#include <QVariant>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace folian {

class Dataset;
class FieldBinder;
class TFrmData;

class TFrmNoticeDetail : public FormDialog
{
    Q_OBJECT
public:
    enum class Page { Copy = 0, Issue = 1, Resource = 2 };

    TFrmNoticeDetail(TFrmData &frmData, Page page, const QString &title, QWidget *parent = nullptr);

    Page page() const { return page_; }
    QPushButton *postButton() const { return btnPost_; }
    // The resource's kind (offered values, free text allowed) and how its file is kept.
    QComboBox *resourceType() const { return resourceType_; }
    QButtonGroup *archiveOptions() const { return archive_; }

public slots:
    void BtnPostClick();
    void reject() override;

protected:
    void afterLocalise() override;

private:
    QWidget *copyPage(FieldBinder &b);
    QWidget *issuePage(FieldBinder &b);
    QWidget *resourcePage(FieldBinder &b);
    bool postCopy();
    bool postResource();
    void updateButtons();
    void chooseFile();

    TFrmData &data_;
    Page page_;
    QString title_;
    Dataset *dataset_;
    FieldBinder *binder_ = nullptr;
    QTabWidget *pages_;
    QLineEdit *first_[3] = {};
    QComboBox *resourceType_ = nullptr;
    QButtonGroup *archive_ = nullptr;
    QPushButton *btnPost_;
    QVariant originalCopy_;
};

} // namespace folian
