#pragma once
// "Entrée de budget": the page "Engagement" (chapter, dates, payment,
// amount; new or changed) or the page "Transfert" (source, amount,
// destination; new only: a transfer is never changed), over the chapters
// of one budget, saved by the commitments service; a refusal leaves the
// dialog open on the amount.

#include "data/widgets/formdialog.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace folian {

class TFrmData;

class TFrmBudgetLigne : public FormDialog
{
    Q_OBJECT
public:
    enum class Page { Commitment, Transfer };

    // `year` the budget whose chapters are listed; `id` the commitment
    // changed, 0 for a new commitment or transfer.
    TFrmBudgetLigne(TFrmData &data, Page page, int year, int id = 0, QWidget *parent = nullptr);

    Page page() const { return page_; }
    QLineEdit *field(const char *name) const;
    QComboBox *list(const char *name) const;
    QDateEdit *dateField(const char *name) const;
    QPushButton *postButton() const { return post_; }
    int savedKey() const { return savedKey_; }

public slots:
    void BtnPostClick();

protected:
    void afterLocalise() override;

private:
    QWidget *buildCommitmentPage();
    QWidget *buildTransferPage();

    TFrmData &data_;
    const Page page_;
    const int year_, id_;
    int savedKey_ = 0;
    QTabWidget *pages_;
    QPushButton *post_;
};

} // namespace folian
