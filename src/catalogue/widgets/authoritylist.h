#pragma once
// The family of the heading and authority lists: a name to search, a grid,
// "Nouveau", "Modifier", "Supprimer", "Choisir" and "Fermer". Hosted in the
// authorities module it manages its table (mode 0); opened as a dialog by a
// screen that chooses a row (any other mode), "Choisir" returns the row and
// closes. The lists differ only by what their definition and hooks say.

#include "data/widgets/formdialog.h"
#include "catalogue/core/references.h"
#include "catalogue/widgets/frmautoritedetail.h"
#include "catalogue/widgets/pickers.h"
#include "data/widgets/screen.h"

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class Dataset;
class ListModel;
class TFrmData;

class TFrmAuthorityList : public FormDialog, public KeyboardTarget
{
    Q_OBJECT
public:
    // What a list of the family is made of.
    struct Definition {
        const char *formName;
        const char16_t *caption;          // "Liste des editeurs"
        RefTable table;
        AuthorityPage page;
        const char16_t *newFr, *newAr;    // titles of the detail dialog
        const char16_t *editFr, *editAr;
        const char16_t *deleteFr, *deleteAr;  // the delete question, before the name
        QStringList columns, titles;      // the grid
    };

    int mode() const { return mode_; }
    Dataset *dataset() const { return dataset_; }
    QLineEdit *searchField() const { return key_; }
    QTableView *grid() const { return grid_; }
    ListModel *model() const { return model_; }
    // The row "Choisir" chose (once exec() returned Accepted).
    Picked chosen() const { return chosen_; }
    // The title of the list opened as a dialog ("Sélection auteur").
    void setTitle(const QString &french, const QString &arabic);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void Search();
    void Append();
    void Edit();
    void Delete();
    void Select();
    void Close();
    void reject() override;

protected:
    TFrmAuthorityList(TFrmData &data, const Definition &def, int mode, QWidget *parent);
    // Runs the search at once when the caller gave a text; the last call of
    // a list's constructor.
    void start(const QString &text);

    virtual ListQuery searchQuery(const QString &typed) const = 0;
    // A row just appended, before its detail dialog opens.
    virtual void prepareNewRow() {}
    // What "Choisir" returns for the current row.
    virtual Picked currentPick() const;
    // After the detail dialog saved the row.
    virtual void afterSave(const TFrmAutoriteDetail &) {}

    // The search options: the lists add theirs after the name.
    QHBoxLayout *options() const { return options_; }
    void afterLocalise() override;
    void keyPressEvent(QKeyEvent *event) override;
    void updateButtons();

    TFrmData &data_;

private:
    bool hosted() const { return !isWindow(); }
    bool handleKey(QWidget *control, QKeyEvent *event);
    void openDetail(bool inserting);

    const Definition def_;
    const int mode_;
    Dataset *dataset_;
    ListModel *model_;
    QWidget *pnlOption_;
    QHBoxLayout *options_;
    QLineEdit *key_;
    QTableView *grid_;
    QPushButton *btnSearch_, *btnAppend_, *btnEdit_, *btnDelete_, *btnSelect_, *btnClose_;
    QString titleFr_, titleAr_;
    Picked chosen_;
};

} // namespace folian
