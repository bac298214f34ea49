#pragma once
// The user sheet: identity, login and password, role, rights and the
// document types the user may catalogue. Saving goes through saveUser.

#include "data/widgets/formdialog.h"
#include "base/session.h"

#include <QSet>
#include <array>

class QButtonGroup;
class QCheckBox;
class QFormLayout;
class QLineEdit;
class QTableWidget;

namespace folian {

class TFrmData;

class TFrmDetailUser : public FormDialog
{
    Q_OBJECT
public:
    // `userId` 0 opens the sheet of a new user; `title` replaces the caption.
    TFrmDetailUser(TFrmData &data, int userId, const QString &title = QString(), QWidget *parent = nullptr);

    // The user's UTL_ID once saved (the new key for a new user); 0 before.
    int savedId() const { return savedId_; }

    int role() const;
    void setRole(int role);
    QCheckBox *rightBox(Right r) const { return boxes_[static_cast<size_t>(r)]; }
    // The document-type list, its items matched by TYP_ID code.
    QTableWidget *documentTypeList() const { return types_; }
    bool isTypeChecked(const QString &code) const;
    void setTypeChecked(const QString &code, bool checked);

public slots:
    // "&Enregistrer": saves, or shows why not and stays open.
    void BtnPostClick();
    // Applies the selected role to the rights and the document-type list.
    void RoleChange();

protected:
    void afterLocalise() override;

private:
    QLineEdit *addField(QFormLayout *form, const char *name, const char *label, bool required);
    QWidget *buildRights();
    QWidget *buildTypes();
    void fillTypes(const QSet<QString> &checked);
    void showSheet();

    TFrmData &data_;
    const int userId_;
    QString title_;
    int savedId_ = 0;

    QLineEdit *nom_ = nullptr, *prenom_ = nullptr, *tel_ = nullptr, *email_ = nullptr;
    QLineEdit *adresse_ = nullptr, *login_ = nullptr, *password_ = nullptr, *confirmation_ = nullptr;
    QButtonGroup *roles_ = nullptr;
    std::array<QCheckBox *, RightCount> boxes_{};
    // The rights as stored (or as last chosen while their group was free):
    // what a group shows again when the role no longer locks it.
    std::array<bool, RightCount> held_{};
    bool applying_ = false;
    QTableWidget *types_ = nullptr;
};

} // namespace folian
