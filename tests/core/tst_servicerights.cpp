// The services check the rights of the user they act for, by the rules the
// screens use to enable their buttons: whoever calls them (a screen, a
// script), a user without the right changes nothing.

#include "acquisitions/core/budgets.h"
#include "acquisitions/core/currencies.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/core/suppliers.h"
#include "admin/core/administration.h"
#include "admin/core/users.h"
#include "base/rights.h"
#include "catalogue/core/records.h"
#include "circulation/core/categories.h"
#include "circulation/core/libraries.h"
#include "circulation/core/readers.h"
#include "circulation/deskfixture.h"
#include "support/session.h"

#include <QTest>
#include <functional>

using namespace folian;
using namespace folian::test;

namespace {

struct Case {
    const char *name;
    int role;
    QList<Right> rights;
    bool done;                                       // the service does it
    std::function<bool(TFrmData &)> act;              // true when the service did it
    const char *rows;                                // what it changes, counted
};

UserSheet newUser()
{
    UserSheet u;
    u.login = QStringLiteral("nouveau");
    u.nom = QStringLiteral("Benali");
    u.prenom = QStringLiteral("Amina");
    u.password = u.confirmation = QStringLiteral("secret");
    return u;
}

LibrarySheet newLibrary()
{
    LibrarySheet l;
    l.nom = QStringLiteral("Bibliothèque de l'Institut");
    l.tutelle = QStringLiteral("Université");
    return l;
}

const QList<Case> &cases()
{
    using R = Right;
    static const QList<Case> all = [] {
        auto lend = [](TFrmData &d) { return LoanDesk(d.db()).lend(QStringLiteral("A"), QStringLiteral("E1")).passed; };
        auto deleteOthers = [](TFrmData &d) { return deleteRecord(d, 1).isEmpty(); };
        auto deleteOwn = [](TFrmData &d) { return deleteRecord(d, 2).isEmpty(); };
        auto dropReader = [](TFrmData &d) { return deleteReader(d.db(), QStringLiteral("Z")).isEmpty(); };
        auto dropCategory = [](TFrmData &d) { return deleteCategory(d.db(), 5).isEmpty(); };
        auto reset = [](TFrmData &d) { return ResetLoanStatistics(d.db()); };
        auto dropUser = [](TFrmData &d) { return deleteUser(d, 2).isEmpty(); };
        auto addUser = [](TFrmData &d) { return saveUser(d, newUser()).ok(); };
        auto addLibrary = [](TFrmData &d) { return saveLibrary(d.db(), newLibrary()).ok(); };
        auto addSupplier = [](TFrmData &d) {
            SupplierSheet s;
            s.name = QStringLiteral("Librairie du Parc");
            s.type = 1;
            return saveSupplier(d.db(), s).passed;
        };
        auto addOrder = [](TFrmData &d) {
            DocumentSheet o;
            o.supplier = 1;
            o.number = QStringLiteral("BC 2024/1");
            o.date = QDate(2024, 3, 1);
            return saveDocument(d.db(), o).passed;
        };
        auto dropSupplier = [](TFrmData &d) { return deleteSupplier(d.db(), 2).passed; };
        auto addBudget = [](TFrmData &d) { return saveBudget(d.db(), {0, QStringLiteral("2024"), QStringLiteral("1000.00")}).passed; };
        auto addCurrency = [](TFrmData &d) {
            return saveCurrency(d.db(), {0, QStringLiteral("Dinar"), QStringLiteral("دينار")}).passed;
        };
        const char *suppliers = "SELECT COUNT(*) FROM FOURNISSEUR";
        const char *orders = "SELECT COUNT(*) FROM ACQUISITION";
        const char *journal = "SELECT COUNT(*) FROM HISTORIQUE_PRET";
        const char *records = "SELECT COUNT(*) FROM NOTICE";
        return QList<Case>{
            {"loan without the right", 0, {}, false, lend, journal},
            {"loan by an agent with the right", 0, {R::CirculTransact}, true, lend, journal},
            {"loan by the circulation manager", 4, {}, true, lend, journal},
            {"loan by the cataloguing manager", 3, {}, false, lend, journal},
            {"another's record, agent with the right", 0, {R::CatNotice}, false, deleteOthers, records},
            {"own record, agent with the right", 0, {R::CatNotice}, true, deleteOwn, records},
            {"own record, agent without the right", 6, {}, false, deleteOwn, records},
            {"another's record, cataloguing manager", 3, {}, true, deleteOthers, records},
            {"reader, loan agent", 7, {R::CirculTransact}, false, dropReader, "SELECT COUNT(*) FROM LECTEUR"},
            {"reader, with the readers' right", 7, {R::CirculLecteur}, true, dropReader, "SELECT COUNT(*) FROM LECTEUR"},
            {"category, readers' right only", 0, {R::CirculLecteur}, false, dropCategory, "SELECT COUNT(*) FROM CATEGORIE"},
            {"category, circulation administration", 0, {R::CirculAdmin}, true, dropCategory, "SELECT COUNT(*) FROM CATEGORIE"},
            {"loan counters, circulation manager", 4, {}, false, reset, "SELECT SUM(DOC_PRET_EXTERNE) FROM NOTICE"},
            {"loan counters, administrator", 1, {}, true, reset, "SELECT SUM(DOC_PRET_EXTERNE) FROM NOTICE"},
            {"user deleted by a manager", 4, {}, false, dropUser, "SELECT COUNT(*) FROM UTILISATEUR"},
            {"user deleted by the administrator", 1, {}, true, dropUser, "SELECT COUNT(*) FROM UTILISATEUR"},
            {"user added by a manager", 3, {}, false, addUser, "SELECT COUNT(*) FROM UTILISATEUR"},
            {"user added by the administrator", 1, {}, true, addUser, "SELECT COUNT(*) FROM UTILISATEUR"},
            {"partner library, circulation manager", 4, {}, false, addLibrary, "SELECT COUNT(*) FROM BIBLIOTHEQUE"},
            {"partner library, administrator", 1, {}, true, addLibrary, "SELECT COUNT(*) FROM BIBLIOTHEQUE"},
            {"supplier, acquisition agent with orders only", 5, {R::AcqTransact}, false, addSupplier, suppliers},
            {"supplier, acquisitions' administration", 5, {R::AcqAdmin}, true, addSupplier, suppliers},
            {"supplier deleted by the circulation manager", 4, {}, false, dropSupplier, suppliers},
            {"supplier deleted by the acquisitions' manager", 2, {}, true, dropSupplier, suppliers},
            {"order, acquisition agent without the right", 5, {}, false, addOrder, orders},
            {"order, acquisition agent with the right", 5, {R::AcqTransact}, true, addOrder, orders},
            {"order, cataloguing manager", 3, {}, false, addOrder, orders},
            {"budget, acquisition agent with orders only", 5, {R::AcqTransact}, false, addBudget, "SELECT COUNT(*) FROM BUDGET"},
            {"budget, acquisition agent with the budgets' right", 5, {R::AcqBudget}, true, addBudget, "SELECT COUNT(*) FROM BUDGET"},
            {"currency, acquisition agent with orders only", 5, {R::AcqTransact}, false, addCurrency, "SELECT COUNT(*) FROM MONNAIE"},
            {"currency, acquisitions' manager", 2, {}, true, addCurrency, "SELECT COUNT(*) FROM MONNAIE"},
        };
    }();
    return all;
}

// Two records (one created by "autre", one by "moi") with a free copy E1,
// readers A and Z, an unused category 5, two users, counters to reset and
// two suppliers (2 named by no order).
bool fill(Database &db)
{
    return deskSetUp(db) && addCopy(db, 1, QStringLiteral("E1"), QStringLiteral("a"), QVariant(), QVariant())
        && db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, CREATE_USER) VALUES (2, 'a', 'Mien', 'moi')"))
        && db.exec(QStringLiteral("UPDATE NOTICE SET CREATE_USER = 'autre', DOC_PRET_EXTERNE = 4 WHERE DOC_ID = 1"))
        && addDeskReader(db, QStringLiteral("Z")) && addCategory(db, 5, QStringLiteral("Visiteur"))
        && db.exec(QStringLiteral("INSERT INTO UTILISATEUR (UTL_ID, UTL_LOGIN, UTL_NOM, UTL_PRENOM, UTL_ROLE) VALUES "
                                  "(1, 'admin', 'A', 'A', 1), (2, 'autre', 'B', 'B', 6), (3, 'moi', 'C', 'C', 0)"))
        && db.exec(QStringLiteral("INSERT INTO FOURNISSEUR (FOU_ID, FOU_LIBELLE, FOU_TYP) VALUES (1, 'Librairie', 1), (2, 'Donateur', 2)"));
}

} // namespace

class TstServiceRights : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init() { freshSession(sink); }
    void cleanup() { setMessageSink(nullptr); }

    void servicesCheckTheRights_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("index");
        for (const QString &engine : engines())
            for (int i = 0; i < cases().size(); ++i)
                QTest::newRow(qPrintable(engine + QStringLiteral(": ") + QLatin1String(cases().at(i).name))) << engine << i;
    }
    void servicesCheckTheRights()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        const Case &c = cases().at(index);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY2(fill(tdb.db()), qPrintable(tdb.db().lastError().text()));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Session &s = session();
        s.AllDocumentTypes = QStringLiteral("a");
        s.CurrentUserId = 3;
        s.CurrentUserLogin = QStringLiteral("moi");
        s.CurrentUserRole = c.role;
        for (Right r : c.rights)
            s.setRight(r, true);
        const QString count = QLatin1String(c.rows);
        const int before = tdb.db().scalar(count).toInt();
        QCOMPARE(c.act(data), c.done);
        QCOMPARE(tdb.db().scalar(count).toInt() != before, c.done);
    }
};

QTEST_GUILESS_MAIN(TstServiceRights)
#include "tst_servicerights.moc"
