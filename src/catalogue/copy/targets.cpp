#include "catalogue/copy/targets.h"

#include "base/rights.h"
#include "base/session.h"
#include "catalogue/copy/copytexts.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/newkey.h"

#include <QRegularExpression>

namespace folian::copy {

namespace {

constexpr const char *kColumns = "CIB_ID, CIB_NOM, CIB_PROTOCOLE, CIB_HOTE, CIB_PORT, CIB_BASE, CIB_SYNTAXE, CIB_JEU, "
                                 "CIB_DELAI, CIB_INDEX";

CopyTarget fromRow(const SqlRows &r)
{
    CopyTarget t;
    t.id = r.value(0).toInt();
    t.name = r.value(1).toString();
    const int protocol = r.value(2).toInt();
    t.protocol = protocol == 2 ? Protocol::Https : protocol == 3 ? Protocol::Z3950 : Protocol::Http;
    t.host = r.value(3).toString();
    t.port = r.value(4).toInt();
    t.database = r.value(5).toString();
    t.syntax = r.value(6).toString();
    t.charset = r.value(7).toString();
    t.timeout = r.value(8).isNull() ? kDefaultTimeout : r.value(8).toInt();
    t.indexSet = parseIndexSet(r.value(9).toString()).value_or(IndexSet::DublinCore);
    return t;
}

bool nameTaken(Database &db, const QString &name)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM CIBLE_COPIE WHERE CIB_NOM = ?"), {name}).toInt() > 0;
}

TargetResult failed(Database &db) { return {false, db.lastError().text(), 0}; }

} // namespace

QString CopyTarget::address() const
{
    if (!isSru())
        return QStringLiteral("%1:%2/%3").arg(host).arg(port).arg(database);
    QUrl url;
    url.setScheme(protocol == Protocol::Https ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(host);
    if (port > 0)
        url.setPort(port);
    url.setPath(database.startsWith(u'/') ? database : u'/' + database);
    return url.toString();
}

std::optional<CopyTarget> parseSruAddress(const QString &typed, QString *why)
{
    const QUrl url(typed.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || url.hasQuery() || url.hasFragment() || !url.userInfo().isEmpty()) {
        if (why)
            *why = targetAddressInvalid(typed);
        return std::nullopt;
    }
    CopyTarget t;
    t.protocol = scheme == QLatin1String("https") ? Protocol::Https : Protocol::Http;
    t.host = url.host();
    t.port = url.port(t.protocol == Protocol::Https ? 443 : 80);
    t.database = url.path().isEmpty() ? QStringLiteral("/") : url.path();
    return t;
}

std::optional<CopyTarget> parseZ3950Address(const QString &typed, QString *why)
{
    static const QRegularExpression form(QStringLiteral("^([A-Za-z0-9.\\-]+|\\[[0-9A-Fa-f:.]+\\]):(\\d{1,5})/(\\S+)$"));
    const QRegularExpressionMatch m = form.match(typed.trimmed());
    const int port = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (!m.hasMatch() || port < 1 || port > 65535) {
        if (why)
            *why = targetAddressInvalid(typed);
        return std::nullopt;
    }
    CopyTarget t;
    t.protocol = Protocol::Z3950;
    t.host = m.captured(1);
    t.port = port;
    t.database = m.captured(3);
    return t;
}

QString charsetCode(const QString &typed)
{
    QString c = typed.trimmed().toUpper();
    c.remove(u' ');
    c.replace(u'_', u'-');
    if (c == QLatin1String("UTF-8") || c == QLatin1String("UTF8"))
        return QStringLiteral("UTF-8");
    if (c == QLatin1String("ISO-5426") || c == QLatin1String("ISO5426"))
        return QStringLiteral("ISO-5426");
    if (c == QLatin1String("ISO-646") || c == QLatin1String("ISO646"))
        return QStringLiteral("ISO-646");
    return {};
}

bool acceptSyntax(const QString &typed, QString *normalised, QString *why)
{
    QString s = typed.trimmed().toUpper();
    s.remove(u' ');
    if (s.isEmpty() || s == QLatin1String("UNIMARC")) {
        *normalised = QStringLiteral("UNIMARC");
        return true;
    }
    if (why)
        *why = s == QLatin1String("MARC21") || s == QLatin1String("USMARC") || s == QLatin1String("MARC")
            ? marc21Refused()
            : syntaxUnknown(typed);
    return false;
}

std::optional<IndexSet> parseIndexSet(const QString &typed)
{
    const QString s = typed.trimmed().toLower();
    if (s.isEmpty() || s == QLatin1String("dc"))
        return IndexSet::DublinCore;
    if (s == QLatin1String("bib"))
        return IndexSet::Bib;
    return std::nullopt;
}

QString indexSetName(IndexSet s) { return s == IndexSet::Bib ? QStringLiteral("bib") : QStringLiteral("dc"); }

std::optional<int> parseTimeout(const QString &typed)
{
    bool ok = false;
    const int s = typed.trimmed().toInt(&ok);
    if (!ok || s < 1 || s > kMaxTimeout)
        return std::nullopt;
    return s;
}

QString manageRefusal() { return rightRefusal(Right::CatAdmin, session()); }

TargetResult addTarget(Database &db, const CopyTarget &target)
{
    if (const QString refusal = manageRefusal(); !refusal.isEmpty())
        return {false, refusal, 0};
    const QString name = target.name.trimmed();
    if (name.isEmpty())
        return {false, targetNameRequired(), 0};
    QString syntax, why;
    if (!acceptSyntax(target.syntax, &syntax, &why))
        return {false, why, 0};
    if (!target.charset.isEmpty() && charsetCode(target.charset).isEmpty())
        return {false, charsetUnknown(target.charset), 0};
    if (target.timeout < 1 || target.timeout > kMaxTimeout)
        return {false, targetTimeoutInvalid(QString::number(target.timeout)), 0};
    Transaction tx(db);
    if (!tx.isActive())
        return failed(db);
    if (nameTaken(db, name))
        return {false, targetNameTaken(name), 0};
    int key = 0;
    const KeyedInsert k = insertWithNewKey(
        db, QStringLiteral("CIBLE_COPIE"), QStringLiteral("CIB_ID"),
        [&](int id) {
            return db.exec(QStringLiteral("INSERT INTO CIBLE_COPIE (%1, CREATE_USER, CREATE_DATE) "
                                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                               .arg(QLatin1String(kColumns)),
                           {id, name, int(target.protocol), target.host, target.port, target.database, syntax,
                            target.charset.isEmpty() ? QVariant(QString()) : charsetCode(target.charset),
                            target.timeout, indexSetName(target.indexSet), session().CurrentUserLogin,
                            ServerDate(db)});
        },
        [&] { return nameTaken(db, name); }, &key);
    if (k == KeyedInsert::Clash)
        return {false, targetNameTaken(name), 0};
    if (k != KeyedInsert::Done || !tx.commit())
        return failed(db);
    return {true, targetAdded(name), key};
}

TargetResult deleteTarget(Database &db, const QString &name)
{
    if (const QString refusal = manageRefusal(); !refusal.isEmpty())
        return {false, refusal, 0};
    SqlRows r = db.query(QStringLiteral("DELETE FROM CIBLE_COPIE WHERE CIB_NOM = ?"), {name.trimmed()});
    if (!r.isActive())
        return failed(db);
    if (r.numRowsAffected() < 1)
        return {false, targetNotFound(name.trimmed()), 0};
    return {true, targetDeleted(name.trimmed()), 0};
}

QList<CopyTarget> listTargets(Database &db, bool *ok)
{
    QList<CopyTarget> out;
    SqlRows r = db.query(QStringLiteral("SELECT %1 FROM CIBLE_COPIE ORDER BY CIB_NOM").arg(QLatin1String(kColumns)));
    if (ok)
        *ok = r.isActive();
    while (r.next())
        out << fromRow(r);
    return out;
}

std::optional<CopyTarget> findTarget(Database &db, const QString &name)
{
    SqlRows r = db.query(QStringLiteral("SELECT %1 FROM CIBLE_COPIE WHERE CIB_NOM = ?").arg(QLatin1String(kColumns)),
                         {name.trimmed()});
    if (r.next())
        return fromRow(r);
    return std::nullopt;
}

} // namespace folian::copy
