#pragma once
// A closed period of the library: its first and last closed days, edited in
// the current row of QException (appended or edited by the caller).

#include "data/widgets/formdialog.h"

class QDateEdit;
class QPushButton;

namespace folian {

class FieldBinder;
class TFrmData;

class TFrmException : public FormDialog
{
    Q_OBJECT
public:
    TFrmException(TFrmData &data, const QString &title, QWidget *parent = nullptr);

    QDateEdit *startField() const { return start_; }
    QDateEdit *endField() const { return end_; }
    // A field shows no date (its minimum stands for "none").
    static bool isBlank(const QDateEdit *field);
    static void setDate(QDateEdit *field, const QDate &date);

public slots:
    // "Enregistrer": checks the period, posts the row and closes.
    void BtnPostClick();

protected:
    void afterLocalise() override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QDateEdit *dateField(const char *name);
    void updateButtons();

    TFrmData &data_;
    FieldBinder *binder_ = nullptr;
    QString title_;
    QDateEdit *start_;
    QDateEdit *end_;
    QPushButton *btnPost_;
};

} // namespace folian
