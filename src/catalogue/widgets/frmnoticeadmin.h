#pragma once
// The table editor of cataloguing ("Mise à jour des tables"): the code
// tables edited in place in a grid, one page per table, the page chosen by
// the caller (the cataloguing module's commands).

#include "data/widgets/screen.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace folian {

class Dataset;
class EditGrid;
class TFrmData;

enum class NoticeAdminPage {
    DocumentTypes, Supports, Languages, Countries, Periodicities, Functions, Diplomas, Specialities, Locations
};

// The title a module shows over the page ("Catalogage - Langues").
QString noticeAdminTitle(NoticeAdminPage page, bool arabic);

class TFrmNoticeAdmin : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    TFrmNoticeAdmin(TFrmData &data, NoticeAdminPage page, QWidget *parent = nullptr);
    ~TFrmNoticeAdmin() override;

    NoticeAdminPage page() const { return page_; }
    Dataset *dataset() const { return dataset_; }
    QTableView *grid() const;
    QLineEdit *searchField() const { return search_; }

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void BtnAppendClick();
    void BtnEditClick();
    void BtnDeleteClick();
    void BtnPostClick();
    void BtnCancelClick();
    // "Fermer": a row being edited is saved or dropped as the operator answers.
    void BtnCloseClick();
    // "Rechercher :": the first row whose label begins with the text.
    void Search(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool save();
    void rowChosen(int row);
    void updateButtons();

    TFrmData &data_;
    const NoticeAdminPage page_;
    Dataset *dataset_ = nullptr;
    QStackedWidget *pages_;
    EditGrid *grid_ = nullptr;
    QLineEdit *search_;
    QPushButton *btnAppend_, *btnEdit_, *btnDelete_, *btnPost_, *btnCancel_;
};

// The screen on `page`, for the module that hosts it.
QWidget *createNoticeAdmin(TFrmData &data, NoticeAdminPage page, QWidget *parent = nullptr);

} // namespace folian
