#pragma once
// The heading list ("Liste des vedettes"): managing the headings in the
// authorities module (mode 0), and the picker of authors and subjects of
// every other screen (modes 1 to 7). Rejected forms are drawn in red.

#include "catalogue/widgets/authoritylist.h"

#include <QHash>

class QComboBox;

namespace folian {

class TFrmVedette : public TFrmAuthorityList
{
    Q_OBJECT
public:
    TFrmVedette(TFrmData &data, int mode = 0, const QString &text = QString(), QWidget *parent = nullptr);

    // The kind list (shown in modes 0, 2 and 4).
    QComboBox *kindList() const { return kinds_; }
    int kind() const;

protected:
    ListQuery searchQuery(const QString &typed) const override;
    void prepareNewRow() override;
    Picked currentPick() const override;
    void afterSave(const TFrmAutoriteDetail &sheet) override;
    void afterLocalise() override;

private:
    void fillKinds();
    QString acceptedName(int row);

    QComboBox *kinds_;
    QHash<int, QString> kindNames_;
    QHash<QString, QString> acceptedNames_;  // VED_ID2 -> its name, while the result is shown
};

} // namespace folian
