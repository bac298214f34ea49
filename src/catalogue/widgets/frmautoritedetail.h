#pragma once
// The authority detail dialog: one heading, publisher, collection,
// sub-collection or classification index, each on its page. The caller
// appends or edits the row of the page's shared query; "Enregistrer" saves
// it and closes, or shows why not and stays open with what was typed;
// "Annuler" and Escape cancel it.

#include "data/widgets/formdialog.h"
#include "catalogue/core/references.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;

namespace folian {

class Dataset;
class FieldBinder;
class LinkBox;
class TFrmData;

enum class AuthorityPage { Heading, Publisher, Collection, SubCollection, Classification };

RefTable refTableOf(AuthorityPage page);

class TFrmAutoriteDetail : public FormDialog
{
    Q_OBJECT
public:
    // `french` and `arabic` are the dialog's title ("Nouvelle vedette").
    TFrmAutoriteDetail(TFrmData &data, AuthorityPage page, const QString &french, const QString &arabic,
                       QWidget *parent = nullptr);

    AuthorityPage page() const { return page_; }
    Dataset *dataset() const { return dataset_; }
    // Rejected forms that saving the heading moved to its new accepted form.
    int repointed() const { return repointed_; }
    // The accepted form of the heading, or the collection of the sub-collection.
    LinkBox *linkBox() const { return link_; }

public slots:
    void BtnPostClick();
    void reject() override;
    // The link box: open its list (with the character typed), or clear it.
    void PickLink(const QString &typed = QString());
    void ClearLink();

protected:
    void afterLocalise() override;

private:
    QLabel *addRow(QFormLayout *form, const char *name, const char16_t *label, QWidget *field,
                   QLayout *row = nullptr);
    template <typename W>
    W *addField(QFormLayout *form, const char *prefix, const char *name, const char16_t *label, const QString &column);
    QLineEdit *addLine(QFormLayout *form, const char *name, const char16_t *label, const QString &column);
    QComboBox *addList(QFormLayout *form, const char *name, const char16_t *label, const QString &column);
    void addLink(QFormLayout *form, const char *name, const char16_t *label);
    QWidget *buildPage();
    void fillLists();
    void nameFields();
    void showLink();
    QString linkColumn() const;

    TFrmData &data_;
    const AuthorityPage page_;
    const QString french_, arabic_;
    Dataset *dataset_;
    FieldBinder *binder_;
    QComboBox *list_ = nullptr;   // the kind of heading, or the country of a publisher
    QComboBox *type_ = nullptr;   // the kind of publisher
    LinkBox *link_ = nullptr;
    int repointed_ = 0;
    // The labels that name the fields in the messages, in the language shown.
    QList<QPair<QString, QLabel *>> captions_;
};

} // namespace folian
