#include "catalogue/core/references.h"

#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

namespace {

QString text(const char16_t *s) { return s ? QString::fromUtf16(s) : QString(); }

const QList<RefTableDef> &definitions()
{
    // The code tables are named by their label; the document types are a fixed set.
    static const QList<RefTableDef> defs{
        {RefTable::Heading, "VEDETTE", "VED_ID", "QVedette", {QStringLiteral("VED_NOM")},
         {QStringLiteral("VED_NOM")}, u"Nom de vedette", u"اسم المدخل", false,
         {{"NOTICE_AUTEUR", "VED_ID", u"les auteurs des notices", u"مؤلفو التسجيلات"},
          {"NOTICE_MATIERE", "VED_ID", u"les vedettes matières des notices", u"رؤوس موضوعات التسجيلات"},
          {"VEDETTE", "VED_ID2", u"les formes rejetées de cette vedette", u"الأشكال المرفوضة لهذا المدخل",
           true}}},
        {RefTable::Publisher, "EDITEUR", "EDT_ID", "QEditeur",
         {QStringLiteral("EDT_NOM"), QStringLiteral("EDT_NOM_AR")},
         {QStringLiteral("EDT_NOM"), QStringLiteral("EDT_NOM_AR")}, u"Nom editeur", u"اسم الناشر", false,
         {{"NOTICE", "EDT_ID", u"les notices (éditeur)", u"التسجيلات (الناشر)"},
          {"NOTICE", "EDT_ID2", u"les notices (autre éditeur)", u"التسجيلات (ناشر آخر)"}}},
        {RefTable::Collection, "COLLECTION", "COL_ID", "QCollection", {QStringLiteral("COL_TITRE_PROPRE")},
         {QStringLiteral("COL_TITRE_PROPRE")}, u"Titre propre", u"العنوان الأصلي", false,
         {{"NOTICE", "COL_ID", u"les notices (collection)", u"التسجيلات (السلسلة)"},
          {"SOUS_COLLECTION", "COL_ID", u"les sous collections", u"السلاسل الفرعية"}}},
        {RefTable::SubCollection, "SOUS_COLLECTION", "SCL_ID", "QSousCollection",
         {QStringLiteral("SCL_TITRE_PROPRE")}, {QStringLiteral("SCL_TITRE_PROPRE")}, u"Titre propre",
         u"العنوان الأصلي", false,
         {{"NOTICE", "SCL_ID", u"les notices (sous collection)", u"التسجيلات (السلسلة الفرعية)"}}},
        {RefTable::Classification, "CLASSIFICATION", "CLA_ID", "QClassification", {QStringLiteral("CLA_ID")},
         {QStringLiteral("CLA_ID")}, u"Indice", u"الرمز", false,
         {{"NOTICE_CLASSIFICATION", "CLA_ID", u"les indices des notices", u"تصنيفات التسجيلات"}}},
        {RefTable::DocumentType, "TYPE_DOCUMENT", "TYP_ID", "QTypeDocument",
         {QStringLiteral("TYP_LIBELLE"), QStringLiteral("TYP_ID")}, {}, nullptr, nullptr, true,
         {{"NOTICE", "TYP_ID", u"les notices", u"التسجيلات"},
          {"CATALOGAGE", "TYP_ID", u"les droits de catalogage des utilisateurs", u"صلاحيات الفهرسة للمستخدمين"},
          {"REGLEMENT", "TYP_ID", u"les règles de prêt", u"قواعد الإعارة"}}},
        {RefTable::Support, "SUPPORT", "SUP_ID", "QSupport", {QStringLiteral("SUP_LIBELLE")},
         {QStringLiteral("SUP_LIBELLE"), QStringLiteral("SUP_LIBELLE_AR")}, u"Libellé", u"التسمية", false,
         {{"NOTICE_EXEMPLAIRE", "SUP_ID", u"les exemplaires", u"النسخ"}}},
        {RefTable::Language, "LANGUE", "LAN_ID", "QLangue", {QStringLiteral("LAN_LIBELLE"), QStringLiteral("LAN_ID")},
         {QStringLiteral("LAN_ID")}, u"Code", u"الرمز", false,
         {{"NOTICE", "LAN_ID", u"les notices (langue de publication)", u"التسجيلات (لغة النشر)"},
          {"NOTICE", "LAN_ID2", u"les notices (langue originale)", u"التسجيلات (اللغة الأصلية)"}}},
        {RefTable::Country, "PAYS", "PAY_ID", "QPays", {QStringLiteral("PAY_LIBELLE"), QStringLiteral("PAY_ID")},
         {QStringLiteral("PAY_ID")}, u"Code", u"الرمز", false,
         {{"NOTICE", "PAY_ID", u"les notices (pays)", u"التسجيلات (البلد)"},
          {"EDITEUR", "PAY_ID", u"les éditeurs", u"الناشرون"},
          {"FOURNISSEUR", "PAY_ID", u"les fournisseurs", u"المزودون"},
          {"PARAMETRE", "PAY_ID", u"les paramètres", u"الإعدادات"}}},
        {RefTable::Periodicity, "PERIODICITE", "PER_ID", "QPeriodicite",
         {QStringLiteral("PER_LIBELLE"), QStringLiteral("PER_ID")}, {QStringLiteral("PER_ID")}, u"Code", u"الرمز",
         false, {{"NOTICE", "PER_ID", u"les notices", u"التسجيلات"}}},
        {RefTable::Function, "FONCTION", "FON_ID", "QFonction", {QStringLiteral("FON_LIBELLE"), QStringLiteral("FON_ID")},
         {QStringLiteral("FON_ID")}, u"Code", u"الرمز", false,
         {{"NOTICE_AUTEUR", "FON_ID", u"les auteurs des notices", u"مؤلفو التسجيلات"}}},
        {RefTable::Diploma, "DIPLOME", "DIP_ID", "QDiplome", {QStringLiteral("DIP_LIBELLE")},
         {QStringLiteral("DIP_LIBELLE"), QStringLiteral("DIP_LIBELLE_AR")}, u"Libellé", u"التسمية", false,
         {{"NOTICE", "DIP_ID", u"les notices (thèses)", u"التسجيلات (الأطروحات)"}}},
        {RefTable::Speciality, "SPECIALITE", "SPE_ID", "QSpecialite", {QStringLiteral("SPE_LIBELLE")},
         {QStringLiteral("SPE_LIBELLE"), QStringLiteral("SPE_LIBELLE_AR")}, u"Libellé", u"التسمية", false,
         {{"NOTICE", "SPE_ID", u"les notices (thèses)", u"التسجيلات (الأطروحات)"}}},
        {RefTable::Location, "LOCALISATION", "LOC_ID", "QLocalisation",
         {QStringLiteral("LOC_LIBELLE"), QStringLiteral("LOC_ID")}, {QStringLiteral("LOC_ID")}, u"Code", u"الرمز",
         false, {{"NOTICE_EXEMPLAIRE", "LOC_ID", u"les exemplaires", u"النسخ"}}},
    };
    return defs;
}

// The refusal: a heading line, then one line per using table.
QString refusal(const QString &french, const QString &arabic, const QString &name, const QStringList &uses)
{
    return tr2(french, arabic).arg(quotedName(name)) + u'\n' + uses.join(u'\n');
}

} // namespace

QString quotedName(const QString &name) { return QStringLiteral("« ") + name + QStringLiteral(" »"); }

const RefTableDef &refTableDef(RefTable t)
{
    for (const RefTableDef &d : definitions())
        if (d.id == t)
            return d;
    return definitions().first();
}

QStringList referenceUses(Database &db, RefTable t, const QVariant &key)
{
    const RefTableDef &def = refTableDef(t);
    QStringList out;
    if (IsBlank(key))
        return out;
    for (const RefUse &use : def.uses) {
        QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(use.table) + QStringLiteral(" WHERE ")
            + QLatin1String(use.column) + QStringLiteral(" = ?");
        QVariantList binds{key};
        if (use.otherRowsOnly) {
            sql += QStringLiteral(" AND ") + QLatin1String(def.key) + QStringLiteral(" <> ?");
            binds << key;
        }
        bool ok = false;
        const int n = db.scalar(sql, binds, &ok).toInt();
        const QString what = tr2(text(use.french), text(use.arabic)) + QStringLiteral(" (")
            + QLatin1String(use.table) + u')';
        if (!ok)
            out << what + QStringLiteral(" : ") + db.lastError().text();
        else if (n > 0)
            out << what + QStringLiteral(" : ") + QString::number(n);
    }
    return out;
}

QString referenceName(const Dataset &d, RefTable t)
{
    const RefTableDef &def = refTableDef(t);
    QStringList names = def.names;
    // A label column read in the interface's language first.
    if (session().ArabicMode)
        for (int i = int(names.size()) - 1; i >= 0; --i)
            if (d.hasField(names.at(i) + QStringLiteral("_AR")))
                names.prepend(names.at(i) + QStringLiteral("_AR"));
    for (const QString &c : names)
        if (!IsBlank(d.value(c)))
            return d.value(c).toString().trimmed();
    return d.value(QLatin1String(def.key)).toString();
}

QString postFailure(const Dataset &d)
{
    if (!d.refusal().isEmpty())
        return TFrmData::PostErrorMessage() + u'\n' + d.refusal();
    return d.lastError().isEmpty() ? TFrmData::PostErrorMessage()
                                   : TFrmData::PostErrorMessage() + u'\n' + d.lastError();
}

QString deleteReference(Dataset &d, RefTable t)
{
    if (const QString refusal = referenceRightRefusal(t, session()); !refusal.isEmpty())
        return refusal;
    const RefTableDef &def = refTableDef(t);
    if (d.state() != Dataset::State::Browse || d.currentRow() < 0)
        return {};
    const QString name = referenceName(d, t);
    if (def.fixedSet)
        return tr2(QStringLiteral("Suppression impossible : la liste des types de documents est fixe."),
                   QStringLiteral("الحذف غير ممكن : قائمة أنواع الوثائق ثابتة."));
    Database &db = d.database();
    Transaction tx(db);
    if (!tx.isActive())
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    const QStringList uses = referenceUses(db, t, d.value(QLatin1String(def.key)));
    if (!uses.isEmpty())
        return refusal(QStringLiteral("Suppression impossible : %1 est utilisé par :"),
                       QStringLiteral("الحذف غير ممكن : %1 مستعمل في :"), name, uses);
    {
        SilentScope quiet;
        if (!d.remove())
            return TFrmData::DeleteErrorMessage() + u'\n' + d.lastError();
    }
    if (!tx.commit())
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    return {};
}

QString postReference(Dataset &d, RefTable t)
{
    if (const QString refusal = referenceRightRefusal(t, session()); !refusal.isEmpty())
        return refusal;
    const RefTableDef &def = refTableDef(t);
    if (!d.isEditing())
        return {};
    if (def.fixedSet && d.state() == Dataset::State::Insert)
        return tr2(QStringLiteral("La liste des types de documents est fixe : aucun type ne peut être ajouté."),
                   QStringLiteral("قائمة أنواع الوثائق ثابتة : لا يمكن إضافة أي نوع."));
    if (!def.required.isEmpty()) {
        bool filled = false;
        for (const QString &c : def.required)
            filled = filled || !IsBlank(d.value(c));
        if (!filled)
            return tr2(QStringLiteral("Le champ %1 est obligatoire."), QStringLiteral("الحقل %1 إجباري."))
                .arg(quotedName(tr2(text(def.requiredFr), text(def.requiredAr))));
    }
    Database &db = d.database();
    Transaction tx(db);
    if (!tx.isActive())
        return TFrmData::PostErrorMessage() + u'\n' + db.lastError().text();
    const QString key = QLatin1String(def.key);
    const QVariant stored = d.storedValue(key);
    if (d.state() == Dataset::State::Edit && !sameValue(stored, d.value(key))) {
        if (def.fixedSet)
            return tr2(QStringLiteral("Le code d'un type de document ne peut pas être modifié."),
                       QStringLiteral("لا يمكن تعديل رمز نوع الوثيقة."));
        const QStringList uses = referenceUses(db, t, stored);
        if (!uses.isEmpty())
            return refusal(QStringLiteral("Modification du code impossible : %1 est utilisé par :"),
                           QStringLiteral("تعديل الرمز غير ممكن : %1 مستعمل في :"), stored.toString(), uses);
    }
    {
        SilentScope quiet;
        if (!d.post())
            return postFailure(d);
    }
    if (!tx.commit())
        return TFrmData::PostErrorMessage() + u'\n' + db.lastError().text();
    return {};
}

// --- Rights -----------------------------------------------------------------

bool mayManageAuthorities(const Session &s)
{
    return allowed(Right::CatNotice, s) || s.right(Right::CatAutorite);
}

bool mayManageCodeTables(const Session &s) { return allowed(Right::CatAdmin, s); }

QString referenceRightRefusal(RefTable t, const Session &s)
{
    if (t > RefTable::Classification)
        return rightRefusal(Right::CatAdmin, s);
    return mayManageAuthorities(s) ? QString() : notAllowedMessage(s, rightLabel(Right::CatAutorite));
}

ListActions authorityListActions(const Session &s, int mode, bool browsing, int rows)
{
    ListActions a;
    const bool manage = mayManageAuthorities(s);
    a.append = browsing && manage;
    a.edit = browsing && rows > 0 && manage;
    a.remove = browsing && rows > 0 && manage;
    a.select = browsing && rows > 0 && mode != 0;
    return a;
}

// --- Searches -------------------------------------------------------------

RefTable refTableOf(AuthorityList l)
{
    switch (l) {
    case AuthorityList::Publisher: return RefTable::Publisher;
    case AuthorityList::Collection: return RefTable::Collection;
    case AuthorityList::SubCollection: return RefTable::SubCollection;
    case AuthorityList::Classification: return RefTable::Classification;
    }
    return RefTable::Publisher;
}

ListQuery noRows(const QString &table) { return {QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1 = 0"), {}}; }

ListQuery authoritySearch(const Dialect &dialect, AuthorityList l, const QString &typed)
{
    const RefTableDef &def = refTableDef(refTableOf(l));
    const QString table = QLatin1String(def.table);
    if (typed.trimmed().isEmpty())
        return noRows(table);
    const QString pattern = LikePattern(typed);
    const QString select = QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ");
    switch (l) {
    case AuthorityList::Publisher:
        return {select + u'(' + dialect.likeNoCase(QStringLiteral("EDT_NOM")) + QStringLiteral(" OR ")
                    + dialect.likeNoCase(QStringLiteral("EDT_NOM_AR")) + u')',
                {pattern, pattern}};
    case AuthorityList::Collection:
        return {select + dialect.likeNoCase(QStringLiteral("COL_TITRE_PROPRE")), {pattern}};
    case AuthorityList::SubCollection:
        return {select + dialect.likeNoCase(QStringLiteral("SCL_TITRE_PROPRE")), {pattern}};
    case AuthorityList::Classification:
        return {select + dialect.likeNoCase(QStringLiteral("CLA_ID")), {pattern}};
    }
    return noRows(table);
}

int firstRowStartingWith(Dataset &d, const QStringList &columns, const QString &typed)
{
    if (!d.isOpen() || typed.isEmpty())
        return -1;
    d.fetchAll();
    for (const QString &c : columns) {
        const int f = d.fieldIndex(c);
        if (f < 0)
            continue;
        for (int r = 0; r < d.rowCount(); ++r)
            if (d.valueAt(r, f).toString().startsWith(typed, Qt::CaseInsensitive))
                return r;
    }
    return -1;
}

} // namespace folian
