#pragma once
// What the two inter-library loan screens share: the list of partner
// libraries (chosen by key), "Enregistrer" and "Annuler", the red and blue
// message area, the reader's name and the " Historique lecteur :" lists.
// What each operation checks and does is the InterLibraryDesk's.

#include "circulation/core/interlibrary.h"
#include "data/widgets/screen.h"

#include <QWidget>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace folian {

class MessageArea;
class ReaderHistory;
class ReaderPanel;
class TFrmData;

class InterLibraryScreen : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    QComboBox *libraryList() const { return libraries_; }
    // The key of the chosen library; null when none is chosen.
    QVariant chosenLibrary() const;
    // Chooses the library by its key (none with 0).
    void chooseLibrary(int id);
    QPushButton *saveButton() const { return btnEnregistrer_; }
    QPushButton *cancelButton() const { return btnAnnuler_; }
    MessageArea *messages() const;
    ReaderHistory *history() const;
    QString shownName() const;
    // The screen's day: the server's unless a test fixes it.
    void setToday(const QDate &d) { today_ = d; }

    virtual void BtnEnregistrerClick() = 0;
    virtual void BtnAnnulerClick() = 0;

signals:
    // The operation was done (the database changed).
    void operationDone();

protected:
    InterLibraryScreen(TFrmData &data, const QString &objectName, const QString &caption, QWidget *parent);
    // Lays the screen out: the screen's fields in `form`, then the buttons,
    // the reader's name, the messages and the history lists.
    void arrange(QGridLayout *form);
    InterLibraryDesk desk();
    // Shows the reader's name and lists; none with an empty number.
    void showReader(const QString &readerId);
    // A reader check told in blue or red, its reader shown; whether he passed.
    bool showCheck(const ReaderCheck &check);
    void showResult(const InterLibraryResult &r);
    void fillLibraries();
    // Return in one of these fields runs `action`; in the others it moves on.
    virtual bool returnInField(QWidget *control) = 0;
    virtual void updateSave() = 0;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    TFrmData &data_;
    QComboBox *libraries_;

private:
    QDate today_;
    QPushButton *btnEnregistrer_, *btnAnnuler_;
    ReaderPanel *panel_;
};

} // namespace folian
