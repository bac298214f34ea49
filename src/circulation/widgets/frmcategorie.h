#pragma once
// "Catégories": the reader categories edited in place (label, membership,
// penalty, proportional penalty ticked by a click) and, for the current
// category, its loan rules, one per document type, edited in TFrmReglement.
// The reserved category of partner-library correspondents keeps its label
// and is never deleted.

#include "data/widgets/listeditscreen.h"

class QPushButton;

namespace folian {

class DatasetModel;

class TFrmCategorie : public ListEditScreen
{
    Q_OBJECT
public:
    explicit TFrmCategorie(TFrmData &data, QWidget *parent = nullptr);

    QTableView *rules() const { return rules_; }

public slots:
    void BtnAppendRuleClick();
    void BtnEditRuleClick();
    void BtnDeleteRuleClick();
    // A click in the proportional-penalty column of a category.
    void ToggleProportional(int row);

protected:
    QString deleteRefusal() const override;
    QString deleteQuestion() const override;
    QString deleteCurrent() override;
    void afterChange() override;
    bool cellEditable(int row, const QString &field) const override;
    void updateMore() override;

private:
    void openRules();
    void openRuleSheet(const QString &title);

    QTableView *rules_ = nullptr;
    QPushButton *btnAppendRule_ = nullptr, *btnEditRule_ = nullptr, *btnDeleteRule_ = nullptr;
    QVariant rulesOf_;  // the category whose rules are shown
};

} // namespace folian
