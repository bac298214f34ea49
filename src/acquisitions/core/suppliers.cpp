#include "acquisitions/core/suppliers.h"

#include "acquisitions/core/acqtexts.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/newkey.h"

namespace folian {

namespace {

struct Field {
    const char *column;
    const char16_t *french, *arabic;   // the caption a refusal names
    QString SupplierSheet::*member;
};
const Field kFields[] = {
    {"FOU_LIBELLE", u"Nom", u"الاسم", &SupplierSheet::name},
    {"FOU_COMPTE", u"Compte", u"الحساب", &SupplierSheet::account},
    {"FOU_CONTACT", u"Contact", u"جهة الاتصال", &SupplierSheet::contact},
    {"PAY_ID", u"Pays", u"البلد", &SupplierSheet::country},
    {"FOU_ADRESSE", u"Adresse", u"العنوان", &SupplierSheet::address},
    {"FOU_TEL", u"Téléphone", u"الهاتف", &SupplierSheet::phone},
    {"FOU_FAX", u"Fax", u"الفاكس", &SupplierSheet::fax},
    {"FOU_EMAIL", u"E-Mail", u"البريد الإلكتروني", &SupplierSheet::email},
    {"FOU_URL", u"URL", u"الموقع", &SupplierSheet::url},
};

const QString kInUse = QStringLiteral("SELECT COUNT(*) FROM ACQUISITION WHERE FOU_ID = ?");

} // namespace

AcqResult saveSupplier(Database &db, const SupplierSheet &sheet)
{
    if (const QString refusal = rightRefusal(Right::AcqAdmin, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    if (sheet.name.trimmed().isEmpty())
        return AcqResult::refused(acq::supplierNameRequired());
    if (sheet.type < 0 || sheet.type > 3)
        return AcqResult::refused(acq::supplierTypeUnknown(sheet.type));
    QStringList columns{QStringLiteral("FOU_TYP")};
    QVariantList values{sheet.type};
    for (const Field &f : kFields) {
        QString refusal;
        const std::optional<QVariant> v = columnValue(db, "FOURNISSEUR", f.column,
                                                      acq::text(f.french, f.arabic),
                                                      (sheet.*f.member).trimmed(), &refusal);
        if (!v)
            return AcqResult::refused(refusal);
        columns << QLatin1String(f.column);
        values << *v;
    }
    return inTransaction(db, [&] {
        if (sheet.id > 0) {
            QStringList sets;
            for (const QString &c : columns)
                sets << c + QStringLiteral(" = ?");
            SqlRows q = db.query(QStringLiteral("UPDATE FOURNISSEUR SET ") + sets.join(QStringLiteral(", "))
                                       + QStringLiteral(" WHERE FOU_ID = ?"),
                                   values + QVariantList{sheet.id});
            if (!q.isActive())
                return databaseError(db);
            return q.numRowsAffected() == 1 ? AcqResult::done(sheet.id) : AcqResult::refused(acq::supplierGone());
        }
        const QString sql = QStringLiteral("INSERT INTO FOURNISSEUR (FOU_ID, ") + columns.join(QStringLiteral(", "))
            + QStringLiteral(") VALUES (?") + QStringLiteral(", ?").repeated(int(columns.size())) + u')';
        int id = 0;
        const KeyedInsert done = insertWithNewKey(
            db, QStringLiteral("FOURNISSEUR"), QStringLiteral("FOU_ID"),
            [&](int key) { return db.exec(sql, QVariantList{key} + values); }, {}, &id);
        return done == KeyedInsert::Done ? AcqResult::done(id) : databaseError(db);
    });
}

SupplierSheet loadSupplier(Database &db, int id)
{
    SupplierSheet s;
    QStringList columns{QStringLiteral("FOU_ID"), QStringLiteral("FOU_TYP")};
    for (const Field &f : kFields)
        columns << QLatin1String(f.column);
    SqlRows q = db.query(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", "))
                               + QStringLiteral(" FROM FOURNISSEUR WHERE FOU_ID = ?"),
                           {id});
    if (!q.next())
        return s;
    s.id = q.value(0).toInt();
    s.type = q.value(1).toInt();
    int i = 2;
    for (const Field &f : kFields)
        s.*f.member = q.value(i++).toString();
    return s;
}

AcqResult deleteSupplier(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqAdmin, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        // The row locked, then deleted only while no document names it: a
        // document saved at another workstation meanwhile keeps it.
        if (!db.exec(db.dialect().lockRow(QStringLiteral("FOURNISSEUR"), QStringLiteral("FOU_ID")), {id}))
            return databaseError(db);
        SqlRows q = db.query(QStringLiteral("DELETE FROM FOURNISSEUR WHERE FOU_ID = ? AND NOT EXISTS "
                                              "(SELECT 1 FROM ACQUISITION A WHERE A.FOU_ID = ?)"),
                               {id, id});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() == 1)
            return AcqResult::done(id);
        bool ok = false;
        const int documents = db.scalar(kInUse, {id}, &ok).toInt();
        if (!ok)
            return databaseError(db);
        return AcqResult::refused(documents > 0 ? acq::supplierInUse(documents) : acq::supplierGone());
    });
}

SqlText suppliersSql()
{
    return {QStringLiteral("SELECT * FROM FOURNISSEUR ORDER BY FOU_LIBELLE"), {}};
}

int supplierNamed(Database &db, const QString &name)
{
    return db.scalar(QStringLiteral("SELECT MIN(FOU_ID) FROM FOURNISSEUR WHERE FOU_LIBELLE = ?"), {name}).toInt();
}

} // namespace folian
