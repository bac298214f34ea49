#pragma once
// The amounts of a budget and of a chapter: the page "Budget" (year and
// amount) or the page "Chapitre" (title and amount), new or changed, saved
// by the budgets service; a refusal leaves the dialog open on the amount.

#include "data/widgets/formdialog.h"

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace folian {

class TFrmData;

class TFrmBudgetMontant : public FormDialog
{
    Q_OBJECT
public:
    enum class Page { Budget, Chapter };

    // `id` the budget's year or the chapter's key, 0 for a new one; `year`
    // the budget of a new chapter.
    TFrmBudgetMontant(TFrmData &data, Page page, int id, int year = 0, QWidget *parent = nullptr);

    Page page() const { return page_; }
    QLineEdit *field(const char *name) const;
    QPushButton *postButton() const { return post_; }
    // The year or the key saved.
    int savedKey() const { return savedKey_; }

public slots:
    void BtnPostClick();

protected:
    void afterLocalise() override;

private:
    TFrmData &data_;
    const Page page_;
    const int id_, year_;
    int savedKey_ = 0;
    QTabWidget *pages_;
    QPushButton *post_;
};

} // namespace folian
