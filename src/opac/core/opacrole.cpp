#include "opac/core/opacrole.h"

#include "admin/core/administration.h"
#include "data/core/database.h"

namespace folian::opac {

const QStringList &catalogueTables()
{
    static const QStringList tables{
        QStringLiteral("NOTICE"), QStringLiteral("NOTICE_AUTEUR"), QStringLiteral("NOTICE_MATIERE"),
        QStringLiteral("NOTICE_CLASSIFICATION"), QStringLiteral("NOTICE_RESSOURCE"), QStringLiteral("NOTICE_BULLETIN"),
        QStringLiteral("NOTICE_EXEMPLAIRE"), QStringLiteral("VEDETTE"), QStringLiteral("TYPE_VEDETTE"),
        QStringLiteral("FONCTION"), QStringLiteral("EDITEUR"), QStringLiteral("COLLECTION"),
        QStringLiteral("SOUS_COLLECTION"), QStringLiteral("INDICATION"), QStringLiteral("PERIODICITE"),
        QStringLiteral("DIPLOME"), QStringLiteral("SPECIALITE"), QStringLiteral("RELATION"),
        QStringLiteral("TYPE_DOCUMENT"), QStringLiteral("LANGUE"), QStringLiteral("LOCALISATION"),
        QStringLiteral("STATUT_EXEMPLAIRE")};
    return tables;
}

bool GrantCatalogueReaderRole(Database &db, const QString &role, const QString &password, bool *created,
                              QString *why)
{
    if (!db.dialect().hasRoles()) {
        if (why)
            *why = QStringLiteral("the embedded database has no roles: the public catalogue opens its file read-only");
        return false;
    }
    auto failed = [why](const QString &text) {
        if (why)
            *why = text;
        return false;
    };
    Transaction tx(db);
    bool existed = false;
    if (!MakeLoginRole(db, role, password, &existed, why))
        return false;
    // Taking back what a role may do to the tables would stop the
    // workstations that connect as it: a role that writes is not made a reader.
    if (existed) {
        bool ok = false;
        const bool writes = db.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE schemaname = current_schema() "
                                                     "AND has_table_privilege(?, quote_ident(schemaname) || '.' || "
                                                     "quote_ident(tablename), 'INSERT, UPDATE, DELETE')"),
                                    {role}, &ok)
                                .toInt()
            > 0;
        if (!ok)
            return failed(db.lastError().text());
        if (writes)
            return failed(QStringLiteral("the role %1 may change the tables (the workstations' role?): the public "
                                         "catalogue needs a role of its own; choose another name")
                              .arg(role));
    }
    for (const QString &sql : db.dialect().readOnlyGrants(role, db.params().catalog, catalogueTables()))
        if (!db.exec(sql))
            return failed(db.lastError().text() + QStringLiteral("\n") + sql);
    if (!tx.commit())
        return failed(db.lastError().text());
    if (created)
        *created = !existed;
    return true;
}

ConnectionParams catalogueConnection(ConnectionParams params, const QString &user, const QString &password)
{
    params.readOnly = true;
    if (!user.trimmed().isEmpty()) {
        params.user = user.trimmed();
        params.password = password;
    }
    return params;
}

QString readerConnectionRefusal(Database &db)
{
    if (!db.dialect().hasRoles())
        return {};
    // Every table of the schema the role may change, and those beyond the
    // catalogue it may read, asked of the server.
    const QString privileges = QStringLiteral(
        "SELECT tablename, has_table_privilege(current_user, quote_ident(schemaname) || '.' || quote_ident(tablename), "
        "'INSERT, UPDATE, DELETE, TRUNCATE'), has_table_privilege(current_user, quote_ident(schemaname) || '.' || "
        "quote_ident(tablename), 'SELECT') FROM pg_tables WHERE schemaname = current_schema() ORDER BY tablename");
    SqlRows q = db.query(privileges);
    if (!q.isActive())
        return db.lastError().text();
    QStringList writes, reads;
    while (q.next()) {
        const QString table = q.value(0).toString().toUpper();
        if (q.value(1).toBool())
            writes << table;
        else if (q.value(2).toBool() && !catalogueTables().contains(table))
            reads << table;
    }
    const QString user = db.params().user;
    if (!writes.isEmpty())
        return QStringLiteral("the role %1 may change the tables (%2): the public catalogue connects as a role that "
                              "only reads; make one with folianctl opac-role and name it under [OPAC] in Folian.ini")
            .arg(user, writes.mid(0, 5).join(QStringLiteral(", ")));
    if (!reads.isEmpty())
        return QStringLiteral("the role %1 may read tables beyond the catalogue (%2); grant it again with folianctl "
                              "opac-role")
            .arg(user, reads.mid(0, 5).join(QStringLiteral(", ")));
    return {};
}

} // namespace folian::opac
