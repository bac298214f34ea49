#pragma once
// The screen of the loan desk and of the in-house consultation: mode
// buttons (F5...), the reader and copy fields with their search buttons,
// "Valider" and "Annuler", the red and blue message area, the information
// panel and the " Historique lecteur :" lists. What each mode checks and
// does is the LoanDesk service's; the screen keeps which field is current
// and whether the reader and the copy were checked.

#include "circulation/core/loandesk.h"
#include "data/widgets/screen.h"

#include <QVector>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace folian {

class MessageArea;
class ReaderHistory;
class ReaderPanel;
class TFrmData;

class DeskScreen : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    struct Mode {
        const char *button;      // object name
        const char *caption;
        LoanOperation operation;
        int key;                 // Qt::Key choosing it
    };

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    // Chooses the mode by its position (0 = the first button).
    void chooseMode(int index);
    int mode() const { return mode_; }
    LoanOperation operation() const;
    void Validate();
    void cancelEntry();

    QLineEdit *readerField() const { return reader_; }
    QLineEdit *copyField() const { return copy_; }
    QPushButton *modeButton(int index) const { return buttons_.value(index); }
    QPushButton *validateButton() const { return btnValider_; }
    QPushButton *cancelButton() const { return btnAnnuler_; }
    MessageArea *messages() const;
    ReaderHistory *history() const;
    QString shownName() const;
    QString shownTitle() const;
    bool readerChecked() const { return readerChecked_; }
    bool copyChecked() const { return copyChecked_; }
    // The desk's day: the server's unless a test fixes it.
    void setToday(const QDate &d) { today_ = d; }

signals:
    // The operation was done (the database changed).
    void operationDone(LoanOperation operation, const QString &copyId);

protected:
    DeskScreen(TFrmData &data, const QString &objectName, const QString &caption, QVector<Mode> modes,
               QWidget *parent = nullptr);
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LoanDesk desk();
    bool readerFirst() const;
    void focusField(QLineEdit *field, bool select = false);
    void validateReader();
    void validateCopy();
    bool runReaderCheck();
    bool runCopyCheck();
    void showResult(const DeskResult &r);
    void showCopy(const DeskCopy &c);
    void showReader(const QString &readerId);
    void readerEdited();
    void copyEdited();
    void updateCancel();
    void searchReader();
    void searchCopy();
    void pickCopy(const QString &copyId);

    TFrmData &data_;
    QVector<Mode> modes_;
    QVector<QPushButton *> buttons_;
    int mode_ = -1;
    int currentField_ = 1;        // 1 reader, 2 copy
    bool readerChecked_ = false, copyChecked_ = false;
    QDate today_;
    QLineEdit *reader_, *copy_;
    QLabel *cote_, *titre_;
    ReaderPanel *panel_;
    QPushButton *btnValider_, *btnAnnuler_;
};

} // namespace folian
