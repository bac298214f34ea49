#include "catalogue/widgets/frmreferencelists.h"

#include "catalogue/widgets/listmodel.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

namespace {

using Definition = TFrmAuthorityList::Definition;

QStringList strings(std::initializer_list<const char16_t *> list)
{
    QStringList out;
    for (const char16_t *s : list)
        out << QString::fromUtf16(s);
    return out;
}

const Definition &definition(AuthorityList l)
{
    static const Definition publishers{
        "FrmEditeur", u"Liste des editeurs", RefTable::Publisher, AuthorityPage::Publisher,
        u"Nouvel editeur", u"إضافة ناشر", u"Mise à jour editeur", u"تعديل ناشر",
        u"Supprimer l'editeur", u"حذف الناشر",
        strings({u"EDT_NOM", u"EDT_NOM_AR", u"PAY_ID", u"EDT_TEL"}),
        strings({u"Nom editeur", u"Nom (AR)", u"Pays", u"Téléphone"})};
    static const Definition collections{
        "FrmCollection", u"Liste des collections", RefTable::Collection, AuthorityPage::Collection,
        u"Nouvelle collection", u"إضافة سلسلة", u"Mise à jour collection", u"تعديل سلسلة",
        u"Supprimer la collection", u"حذف السلسلة",
        strings({u"COL_TITRE_PROPRE", u"COL_TITRE_PARALLELE", u"COL_RESPONSABILITE", u"COL_ISSN"}),
        strings({u"Titre propre", u"Titre parallèle", u"Responsabilité", u"ISSN"})};
    static const Definition subCollections{
        "FrmSousCollection", u"Liste des sous collections", RefTable::SubCollection, AuthorityPage::SubCollection,
        u"Nouvelle sous collection", u"إضافة سلسلة فرعية", u"Mise à jour sous collection", u"تعديل سلسلة فرعية",
        u"Supprimer la sous collection", u"حذف السلسلة الفرعية",
        strings({u"SCL_TITRE_PROPRE", u"COL_ID", u"SCL_TITRE_PARALLELE", u"SCL_ISSN"}),
        strings({u"Titre propre", u"Collection", u"Titre parallèle", u"ISSN"})};
    static const Definition classifications{
        "FrmClassification", u"Liste des classifications", RefTable::Classification, AuthorityPage::Classification,
        u"Nouvel indice de classification", u"إضافة رمز تصنيف", u"Mise à jour indice de classification",
        u"تعديل رمز تصنيف", u"Supprimer l'indice", u"حذف رمز التصنيف",
        strings({u"CLA_ID", u"CLA_LIBELLE", u"CLA_LIBELLE_AR"}),
        strings({u"Indice", u"Libellé", u"Libellé (AR)"})};
    switch (l) {
    case AuthorityList::Publisher: return publishers;
    case AuthorityList::Collection: return collections;
    case AuthorityList::SubCollection: return subCollections;
    case AuthorityList::Classification: return classifications;
    }
    return publishers;
}

} // namespace

TFrmReferenceList::TFrmReferenceList(TFrmData &frmData, AuthorityList list, int mode, QWidget *parent)
    : TFrmAuthorityList(frmData, definition(list), mode, parent), list_(list)
{
}

ListQuery TFrmReferenceList::searchQuery(const QString &typed) const
{
    return authoritySearch(data_.db().dialect(), list_, typed);
}

TFrmEditeur::TFrmEditeur(TFrmData &frmData, int mode, const QString &text, QWidget *parent)
    : TFrmReferenceList(frmData, AuthorityList::Publisher, mode, parent)
{
    start(text);
}

TFrmCollection::TFrmCollection(TFrmData &frmData, int mode, const QString &text, QWidget *parent)
    : TFrmReferenceList(frmData, AuthorityList::Collection, mode, parent)
{
    start(text);
}

TFrmSousCollection::TFrmSousCollection(TFrmData &frmData, int mode, const QString &text, const QVariant &collection,
                                       QWidget *parent)
    : TFrmReferenceList(frmData, AuthorityList::SubCollection, mode, parent), collection_(collection)
{
    model()->setRowDisplay(QStringLiteral("COL_ID"), [this](int row) { return collectionName(row); });
    connect(dataset(), &Dataset::reset, this, [this] { names_.clear(); });
    connect(dataset(), &Dataset::rowChanged, this, [this] { names_.clear(); });
    start(text);
}

QString TFrmSousCollection::collectionName(int row)
{
    const QVariant id = dataset()->valueAt(row, QStringLiteral("COL_ID"));
    if (IsBlank(id))
        return {};
    const QString key = id.toString();
    if (!names_.contains(key))
        names_.insert(key, data_.db()
                               .scalar(QStringLiteral("SELECT COL_TITRE_PROPRE FROM COLLECTION WHERE COL_ID = ?"), {id})
                               .toString());
    return names_.value(key);
}

void TFrmSousCollection::prepareNewRow()
{
    if (!IsBlank(collection_))
        dataset()->setValue(QStringLiteral("COL_ID"), collection_);
}

TFrmClassification::TFrmClassification(TFrmData &frmData, int mode, const QString &text, QWidget *parent)
    : TFrmReferenceList(frmData, AuthorityList::Classification, mode, parent)
{
    start(text);
}

} // namespace folian
