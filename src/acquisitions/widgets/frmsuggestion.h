#pragma once
// "Recherche suggestions": the purchase suggestions found by their number
// ("*" any digits), oldest first, with new, change (also a double click),
// delete and the printed list; and "Ligne de suggestion", the dialog of
// one suggestion (title, author, publisher, price, comment, date),
// "Enregistrer" enabled while the title is not blank. The suggestions
// service does the work.

#include "data/widgets/formdialog.h"
#include "data/widgets/screen.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace folian {

class TFrmData;

class TFrmSuggestionSearch : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmSuggestionSearch(TFrmData &data, QWidget *parent = nullptr);

    QTableView *grid() const { return grid_; }
    QLineEdit *numberField() const { return number_; }
    QLabel *countLabel() const { return count_; }
    QPushButton *button(const char *name) const;
    int currentSuggestion() const;

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

public slots:
    void Search();
    void BtnImprimerClick();
    void BtnNouveauClick();
    void BtnModifierClick();
    void BtnSupprimerClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void reopen(int id);
    void updateButtons();

    TFrmData &data_;
    QLineEdit *number_;
    QTableView *grid_;
    QLabel *count_;
};

class TFrmSuggestionLigne : public FormDialog
{
    Q_OBJECT
public:
    // `id` 0 opens a new suggestion, dated today.
    TFrmSuggestionLigne(TFrmData &data, int id, QWidget *parent = nullptr);

    int savedId() const { return savedId_; }
    QLineEdit *field(const char *name) const;
    QPlainTextEdit *commentField() const { return comment_; }
    QDateEdit *dateField() const { return date_; }
    QPushButton *postButton() const { return post_; }

public slots:
    void BtnPostClick();

protected:
    void afterLocalise() override;

private:
    TFrmData &data_;
    const int id_;
    int savedId_ = 0;
    QPlainTextEdit *comment_;
    QDateEdit *date_;
    QPushButton *post_;
};

} // namespace folian
