#pragma once
// "Administration lecteur": one screen for three actions on a reader chosen
// by his number: cancel his penalty, suspend him (with a reason), lift his
// suspension. The reader's row and what he holds are shown; the result is
// written in the message area.

#include "circulation/core/readerstanding.h"
#include "data/widgets/screen.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace folian {

class MessageArea;
class ReaderHistory;
class ReaderPanel;
class TFrmData;

class TFrmLecteurAdmin : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    TFrmLecteurAdmin(TFrmData &data, AdminAction action, QWidget *parent = nullptr);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    AdminAction action() const { return action_; }
    QLineEdit *readerField() const { return reader_; }
    QLineEdit *motifField() const { return motif_; }
    MessageArea *messages() const;
    ReaderHistory *history() const;
    QString shownName() const;
    void focusReader();

public slots:
    void BtnValiderClick();
    void BtnAnnulerClick();
    void BtnSearchClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Loads the reader into QLecteur and shows him; false when he does not exist.
    bool loadReader(const QString &id);

    TFrmData &data_;
    AdminAction action_;
    QLineEdit *reader_, *motif_;
    ReaderPanel *panel_;
    QPushButton *btnValider_, *btnAnnuler_;
};

} // namespace folian
