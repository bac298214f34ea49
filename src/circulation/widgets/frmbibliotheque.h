#pragma once
// "Bibliothèque": the partner libraries of the inter-library loan. The list
// of libraries (QBibliotheque), the detail of the current one, edited after
// "Ajouter" or "Modifier" and saved by "Enregistrer", and the list of its
// correspondents (QLecteur), kept with the sheet "Responsable bibliothèque".
// Saving and deleting are the libraries service's.

#include "data/widgets/screen.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableView;

namespace folian {

class DatasetModel;
class FieldBinder;
class TFrmData;

class TFrmBibliotheque : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmBibliotheque(TFrmData &data, QWidget *parent = nullptr);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    QTableView *libraries() const { return grid_; }
    QTableView *correspondents() const { return correspondents_; }
    QLineEdit *field(const char *name) const;
    QPushButton *button(const char *name) const;
    // The key of the current library, 0 when none.
    int currentLibrary() const;
    // A library being added or modified.
    bool isPending() const;
    // Before the screen is freed: a library being typed is saved on "Oui"
    // to "Sauvegardez les modifications ?", dropped on "Non". False when
    // its save was refused: the library stays as typed, with its message.
    bool askBeforeClosing();

public slots:
    void BtnAjouterClick();
    void BtnModifierClick();
    // Saves the library being edited; false (with the message shown) when refused.
    bool BtnEnregistrerClick();
    void BtnAnnulerClick();
    void BtnSupprimerClick();
    void BtnNouveauRespClick();
    void BtnModifierRespClick();
    void BtnSupprimerRespClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildDetail();
    QWidget *buildCorrespondents();
    // Reads the libraries again, the current row on `id` (or near `row`).
    void reopen(int id, int row = 0);
    // The correspondents of the current library, the current one on `id`.
    void showCorrespondents(const QString &id = QString());
    void openSheet(const QString &correspondentId);
    void updateButtons();

    TFrmData &data_;
    FieldBinder *binder_;
    DatasetModel *model_;
    QTableView *grid_, *correspondents_;
};

} // namespace folian
