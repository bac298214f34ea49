// Catalogue benchmark. Fills a fresh database with generated records, then
// measures in a fresh child process how fast the record query opens and
// shows its first rows, how much memory that takes, and how long posting
// one new record through the shared record query takes.
//
//   bench_catalogue --engine SQLITE [--dir DIR] [--rows N]
//   bench_catalogue --engine POSTGRESQL --host H --port P --user U --password W [--db NAME] [--rows N]
//
// The PostgreSQL settings may come from FOLIAN_BENCH_PG_HOST, _PORT, _USER,
// _PASSWORD and _DB instead. --keep leaves the generated database in place.

#include "base/session.h"
#include "catalogue/core/recordresult.h"
#include "data/core/database.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"
#include "data/core/shareddata.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace folian;

namespace {

constexpr int kOpenRepeats = 5;
constexpr int kFirstRows = 50;
constexpr int kPostRepeats = 200;
constexpr double kAimOpenMs = 500.0;
constexpr double kAimPeakMb = 300.0;
constexpr double kAimPostMs = 20.0;

// --- small utilities --------------------------------------------------------

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

[[noreturn]] void die(const QString &message)
{
    err() << "bench_catalogue: " << message << Qt::endl;
    std::exit(2);
}

// A field of /proc/self/status in kB ("VmHWM", "VmRSS"); -1 when unreadable.
qint64 procStatusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

struct Stats {
    double min = 0, median = 0, p95 = 0, max = 0;
};

Stats stats(QVector<double> v)
{
    Stats s;
    if (v.isEmpty())
        return s;
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    s.min = v.first();
    s.max = v.last();
    s.median = n % 2 ? v.at(n / 2) : (v.at(n / 2 - 1) + v.at(n / 2)) / 2;
    s.p95 = v.at(qBound<qsizetype>(0, qsizetype(std::ceil(0.95 * double(n))) - 1, n - 1));
    return s;
}

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

QString fmt(double v, int decimals = 2) { return QString::number(v, 'f', decimals); }

// --- options ---------------------------------------------------------------

struct Options {
    QString engine;
    qint64 rows = 1000000;
    QString dir;
    QString file;   // the SQLite file, given to the child
    QString host, user, password, db;
    int port = 5432;
    bool keep = false;
    bool measure = false;

    bool postgres() const { return engine == QLatin1String("POSTGRESQL"); }
    QString server() const { return host + u':' + QString::number(port); }
};

Options parseOptions(const QCoreApplication &app)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Catalogue benchmark: generation, first rows, memory, posting."));
    p.addHelpOption();
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("SQLITE or POSTGRESQL."),
                                    QStringLiteral("engine"));
    const QCommandLineOption rows(QStringLiteral("rows"), QStringLiteral("Records to generate."),
                                  QStringLiteral("n"), QStringLiteral("1000000"));
    const QCommandLineOption dir(QStringLiteral("dir"), QStringLiteral("Directory of the SQLite file."),
                                 QStringLiteral("dir"));
    const QCommandLineOption file(QStringLiteral("file"), QStringLiteral("SQLite file (child mode)."),
                                  QStringLiteral("file"));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("PostgreSQL host."),
                                  QStringLiteral("host"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("PostgreSQL port."),
                                  QStringLiteral("port"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("PostgreSQL user."),
                                  QStringLiteral("user"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("PostgreSQL password."),
                                      QStringLiteral("password"));
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("PostgreSQL database to create."),
                                QStringLiteral("name"));
    const QCommandLineOption keep(QStringLiteral("keep"), QStringLiteral("Keep the generated database."));
    const QCommandLineOption measure(QStringLiteral("measure-open"),
                                     QStringLiteral("Child mode: measure an existing database."));
    p.addOptions({engine, rows, dir, file, host, port, user, password, db, keep, measure});
    p.process(app);

    const auto env = [](const char *name) { return qEnvironmentVariable(name); };
    const auto pick = [&](const QCommandLineOption &o, const char *var, const QString &fallback = {}) {
        if (p.isSet(o))
            return p.value(o);
        const QString e = env(var);
        return e.isEmpty() ? fallback : e;
    };

    Options o;
    o.engine = p.value(engine).trimmed().toUpper();
    if (o.engine != QLatin1String("SQLITE") && o.engine != QLatin1String("POSTGRESQL"))
        die(QStringLiteral("--engine SQLITE|POSTGRESQL is required"));
    bool ok = false;
    o.rows = p.value(rows).toLongLong(&ok);
    if (!ok || o.rows < 1)
        die(QStringLiteral("--rows must be a positive number"));
    o.dir = p.value(dir);
    o.file = p.value(file);
    o.host = pick(host, "FOLIAN_BENCH_PG_HOST", QStringLiteral("127.0.0.1"));
    o.port = pick(port, "FOLIAN_BENCH_PG_PORT", QStringLiteral("5432")).toInt(&ok);
    if (!ok)
        die(QStringLiteral("bad port"));
    o.user = pick(user, "FOLIAN_BENCH_PG_USER", QStringLiteral("postgres"));
    o.password = pick(password, "FOLIAN_BENCH_PG_PASSWORD");
    o.db = pick(db, "FOLIAN_BENCH_PG_DB",
                QStringLiteral("folian_bench_%1").arg(QCoreApplication::applicationPid()));
    // The name goes into CREATE DATABASE as it stands: identifiers cannot be bound.
    if (!QRegularExpression(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$")).match(o.db).hasMatch())
        die(QStringLiteral("--db: lower-case letters, digits and _ only"));
    o.keep = p.isSet(keep);
    o.measure = p.isSet(measure);
    return o;
}

ConnectionParams paramsOf(const Options &o, const QString &catalog)
{
    ConnectionParams c;
    c.engine = o.engine;
    if (o.postgres()) {
        c.server = o.server();
        c.catalog = catalog;
        c.user = o.user;
        c.password = o.password;
        c.appDir = QDir::tempPath() + u'/';
    } else {
        c.catalog = catalog;
        c.appDir = QFileInfo(catalog).absolutePath() + u'/';
    }
    return c;
}

// --- record generation -----------------------------------------------------

constexpr QStringView kFrench[] = {
    u"histoire", u"introduction", u"droit", u"civil", u"algérien", u"économie", u"politique",
    u"méthodes", u"analyse", u"numérique", u"géographie", u"Maghreb", u"littérature", u"française",
    u"poésie", u"contemporaine", u"manuel", u"pratique", u"gestion", u"entreprises", u"chimie",
    u"organique", u"physique", u"quantique", u"mathématiques", u"appliquées", u"statistique",
    u"probabilités", u"médecine", u"tropicale", u"pédiatrie", u"architecture", u"islamique",
    u"urbanisme", u"Méditerranée", u"société", u"rurale", u"sociologie", u"éducation", u"réforme",
    u"enseignement", u"supérieur", u"langue", u"arabe", u"grammaire", u"dictionnaire", u"pratique",
    u"informatique", u"réseaux", u"bases", u"données", u"programmation", u"systèmes", u"énergie",
    u"solaire", u"hydraulique", u"agriculture", u"saharienne", u"eau", u"environnement", u"climat",
    u"philosophie", u"pensée", u"médiévale", u"Andalousie", u"Ibn", u"Khaldoun", u"musique",
    u"andalouse", u"théâtre", u"roman", u"nouvelles", u"mémoires", u"guerre", u"indépendance",
    u"colonisation", u"patrimoine", u"archéologie", u"Tassili", u"Numidie", u"Carthage", u"voyage",
    u"atlas", u"encyclopédie", u"études", u"essais", u"recherches", u"actes", u"colloque",
    u"international", u"traité", u"finances", u"publiques", u"fiscalité", u"comptabilité",
    u"banque", u"monnaie", u"commerce", u"extérieur", u"Algérie", u"Tunisie", u"Maroc", u"Afrique"};
constexpr QStringView kFrenchLinks[] = {u"de", u"du", u"des", u"la", u"le", u"et", u"en", u"au", u"pour",
                                        u"dans"};
constexpr QStringView kArabic[] = {
    u"تاريخ", u"الجزائر", u"مدخل", u"إلى", u"القانون", u"المدني", u"الاقتصاد", u"السياسي", u"مناهج",
    u"البحث", u"العلمي", u"الجغرافيا", u"المغرب", u"العربي", u"الأدب", u"الشعر", u"المعاصر", u"دليل",
    u"تطبيقي", u"تسيير", u"المؤسسات", u"الكيمياء", u"العضوية", u"الفيزياء", u"الرياضيات", u"الإحصاء",
    u"الطب", u"العمارة", u"الإسلامية", u"المجتمع", u"علم", u"الاجتماع", u"التربية", u"التعليم",
    u"العالي", u"اللغة", u"العربية", u"النحو", u"معجم", u"الإعلام", u"الآلي", u"الشبكات", u"قواعد",
    u"البيانات", u"البرمجة", u"الطاقة", u"الشمسية", u"الزراعة", u"الصحراوية", u"المياه", u"البيئة",
    u"الفلسفة", u"الفكر", u"الأندلس", u"ابن", u"خلدون", u"الموسيقى", u"المسرح", u"الرواية", u"مذكرات",
    u"الثورة", u"التحرير", u"الاستقلال", u"التراث", u"الآثار", u"رحلة", u"موسوعة", u"دراسات",
    u"أبحاث", u"أعمال", u"الملتقى", u"الدولي", u"المالية", u"العامة", u"الجباية", u"المحاسبة",
    u"البنوك", u"التجارة", u"الخارجية", u"تونس", u"إفريقيا", u"في", u"و", u"من", u"على"};
constexpr QStringView kCitiesFr[] = {u"Alger", u"Oran", u"Constantine", u"Paris", u"Lyon", u"Tunis",
                                     u"Rabat", u"Tlemcen", u"Annaba", u"Bruxelles", u"Montréal"};
constexpr QStringView kCitiesAr[] = {u"الجزائر", u"وهران", u"قسنطينة", u"بيروت", u"القاهرة", u"تونس",
                                     u"الرباط", u"تلمسان", u"دمشق", u"عمان"};
constexpr QStringView kNotes[] = {u"Bibliogr. p. 231-240. Index", u"Texte en français et en arabe",
                                  u"Thèse de doctorat", u"Index", u"بيبليوغرافيا ص. 301-315",
                                  u"Comprend des références bibliographiques"};
constexpr QStringView kEditions[] = {u"2e éd.", u"3e éd. revue et augmentée", u"Nouvelle éd.",
                                     u"ط. 2", u"ط. 3 مزيدة ومنقحة"};

// The columns each generated record fills, in insert order.
const QStringList &generatedColumns()
{
    static const QStringList c = {
        QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("IND_ID"),
        QStringLiteral("STA_ID"), QStringLiteral("LAN_ID"), QStringLiteral("DOC_TITRE_PROPRE"),
        QStringLiteral("DOC_TITRE_COMPLEMENT"), QStringLiteral("DOC_ISBN"), QStringLiteral("DOC_EDITION"),
        QStringLiteral("DOC_LIEU_EDITION"), QStringLiteral("DOC_ANNEE"), QStringLiteral("DOC_NBR_UNITE"),
        QStringLiteral("DOC_FORMAT"), QStringLiteral("PAY_ID"), QStringLiteral("DOC_AGENCE"),
        QStringLiteral("DOC_PRET_INTERNE"), QStringLiteral("DOC_PRET_EXTERNE"), QStringLiteral("DOC_NOTE"),
        QStringLiteral("DOC_KEYWORDS"), QStringLiteral("CREATE_USER"), QStringLiteral("CREATE_DATE")};
    return c;
}

class RecordGenerator
{
public:
    explicit RecordGenerator(quint64 seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return below(100) < percent; }

    template<size_t N>
    QStringView any(const QStringView (&list)[N])
    {
        return list[below(int(N))];
    }

    QString title(bool arabic, int minWords, int maxWords)
    {
        const int n = minWords + below(maxWords - minWords + 1);
        QString t;
        for (int i = 0; i < n; ++i) {
            if (i > 0)
                t += u' ';
            if (!arabic && i > 0 && i + 1 < n && chance(35)) {
                t += any(kFrenchLinks);
                t += u' ';
            }
            const QStringView w = arabic ? any(kArabic) : any(kFrench);
            if (i == 0 && !arabic)
                t += w.left(1).toString().toUpper() + w.mid(1);
            else
                t += w;
        }
        if (!arabic && chance(10))
            t += QStringLiteral(" : tome ") + QString::number(1 + below(5));
        return t;
    }

    // A valid ISBN-13, digits only (as the record rules store it).
    QString isbn(bool arabic)
    {
        QString d = QStringLiteral("978") + (arabic ? QStringLiteral("9947") : QStringLiteral("2"));
        while (d.size() < 12)
            d += QChar(u'0' + below(10));
        int sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += (d.at(i).unicode() - u'0') * (i % 2 ? 3 : 1);
        d += QChar(u'0' + (10 - sum % 10) % 10);
        return d;
    }

    static QString hyphenated(const QString &isbn)
    {
        return isbn.left(3) + u'-' + isbn.mid(3, 1) + u'-' + isbn.mid(4, 4) + u'-' + isbn.mid(8, 4) + u'-'
            + isbn.mid(12);
    }

    // One record's values in the order of generatedColumns().
    QVariantList record(int docId, const QDateTime &stamp)
    {
        const bool arabic = chance(30);
        const QString titre = title(arabic, 2, 7);
        const QString complement = chance(30) ? title(arabic, 1, 4) : QString();
        const QVariant none;
        QVariantList r;
        r.reserve(generatedColumns().size());
        r << docId << QString(QChar(u'a' + below(7))) << QStringLiteral("a") << 1
          << (arabic ? QStringLiteral("ara") : QStringLiteral("fre")) << titre
          << (complement.isEmpty() ? none : QVariant(complement))
          << (chance(85) ? QVariant(isbn(arabic)) : none)
          << (chance(15) ? QVariant(any(kEditions).toString()) : none)
          << (arabic ? any(kCitiesAr) : any(kCitiesFr)).toString()
          << QString::number(1950 + below(75))
          << QString(QString::number(48 + below(900)) + QStringLiteral(" p."))
          << QString(QString::number(16 + below(15)) + QStringLiteral(" cm"))
          << (arabic || chance(60) ? QStringLiteral("DZ") : QStringLiteral("FR"))
          << QStringLiteral("Bibliothèque centrale") << 0 << 0
          << (chance(10) ? QVariant(any(kNotes).toString()) : none)
          // The keyword text the record rules build: the four titles, blank-separated.
          << BuildKeywords(titre + u' ' + complement + u' ' + u' ')
          << QStringLiteral("bench") << stamp;
        return r;
    }

private:
    std::mt19937_64 rng_;
};

QString insertSql(int rowsPerStatement)
{
    const QStringList &cols = generatedColumns();
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i)
        marks << QStringLiteral("?");
    const QString tuple = u'(' + marks.join(QStringLiteral(", ")) + u')';
    QStringList tuples;
    for (int i = 0; i < rowsPerStatement; ++i)
        tuples << tuple;
    return QStringLiteral("INSERT INTO NOTICE (") + cols.join(QStringLiteral(", ")) + QStringLiteral(") VALUES ")
        + tuples.join(QStringLiteral(", "));
}

bool execBatch(QSqlQuery &q, const QVector<QVariantList> &batch)
{
    int k = 0;
    for (const QVariantList &row : batch)
        for (const QVariant &v : row)
            q.bindValue(k++, v);
    return q.exec();
}

// Multi-row INSERTs on one prepared statement, all in one transaction.
void generate(Database &db, qint64 count)
{
    const TableDef *notice = Schema::table(QStringLiteral("NOTICE"));
    QVector<ColType> types;
    for (const QString &c : generatedColumns())
        types << notice->column(c)->type;

    const int batchRows = db.dialect().isPostgres() ? 1000 : 500;
    Transaction tx(db);
    if (!tx.isActive())
        die(QStringLiteral("cannot begin: ") + db.lastError().text());
    QSqlQuery full(db.connection());
    if (!full.prepare(insertSql(batchRows)))
        die(QStringLiteral("prepare: ") + full.lastError().text());

    RecordGenerator gen(20240611);
    const QDateTime base(QDate(2015, 1, 1), QTime(9, 0));
    QVector<QVariantList> batch;
    batch.reserve(batchRows);
    for (qint64 id = 1; id <= count; ++id) {
        QVariantList r = gen.record(int(id), base.addSecs(id * 97));
        for (int i = 0; i < r.size(); ++i)
            r[i] = db.dialect().toDb(r.at(i), types.at(i));
        batch << r;
        if (batch.size() == batchRows) {
            if (!execBatch(full, batch))
                die(QStringLiteral("insert: ") + full.lastError().text());
            batch.clear();
        }
        if (id % 250000 == 0)
            err() << "  " << id << " records" << Qt::endl;
    }
    if (!batch.isEmpty()) {
        QSqlQuery tail(db.connection());
        if (!tail.prepare(insertSql(int(batch.size()))) || !execBatch(tail, batch))
            die(QStringLiteral("insert: ") + tail.lastError().text());
    }
    full.finish();
    if (!tx.commit())
        die(QStringLiteral("commit: ") + db.lastError().text());
}

void execOrDie(Database &db, const QString &sql)
{
    if (!db.exec(sql))
        die(sql + QStringLiteral(": ") + db.lastError().text());
}

// --- child: the measures in a fresh process --------------------------------

void result(const char *key, const QVariant &v)
{
    out() << "RESULT " << key << ' ' << v.toString() << Qt::endl;
}

int measure(const Options &o)
{
    Session &s = session();
    s.DbEngine = o.engine;
    s.SilentMode = 1;
    s.CurrentUserLogin = QStringLiteral("bench");
    if (o.postgres()) {
        s.DbServer = o.server();
        s.DbCatalog = o.db;
        s.DbUser = o.user;
        s.DbPassword = o.password;
        s.AppDir = QDir::tempPath() + u'/';
    } else {
        s.DbCatalog = o.file;
        s.AppDir = QFileInfo(o.file).absolutePath() + u'/';
    }
    TFrmData data;
    if (!data.DataModuleCreate(sessionConnection(session())))
        die(QStringLiteral("connectSession failed: ") + data.db().lastError().text());
    Dataset *q = data.QNotice;
    const qint64 hwmBase = procStatusKb("VmHWM");
    result("hwm_base_kb", hwmBase);

    // (a) open and read the first rows, five times.
    QVector<double> openMs, closeMs;
    qint64 cells = 0;
    for (int rep = 0; rep < kOpenRepeats; ++rep) {
        QElapsedTimer t;
        t.start();
        if (!q->open(QStringLiteral("SELECT * FROM NOTICE")))
            die(QStringLiteral("open: ") + q->lastError());
        while (q->rowCount() < kFirstRows && q->fetchMore()) {
        }
        const int fields = int(q->fieldNames().size());
        for (int r = 0; r < kFirstRows; ++r)
            for (int c = 0; c < fields; ++c)
                if (!q->valueAt(r, c).isNull())
                    ++cells;
        openMs << msSince(t);
        t.restart();
        q->close();
        closeMs << msSince(t);
    }
    const Stats so = stats(openMs), sc = stats(closeMs);
    result("open_ms_min", so.min);
    result("open_ms_median", so.median);
    result("open_ms_max", so.max);
    result("close_ms_median", sc.median);
    result("cells_read", cells / kOpenRepeats);

    // (b) peak memory after (a).
    result("hwm_after_kb", procStatusKb("VmHWM"));

    // (d) the record search's result: every catalogued record (a criterion
    // that keeps them all), in each order of "Trier par": its first 50 rows,
    // the next page, and the count the screen shows.
    const struct {
        const char *key;
        RecordSort sort;
    } sorts[] = {{"none", RecordSort::None}, {"title", RecordSort::Title}, {"year", RecordSort::Year},
                 {"created", RecordSort::Created}};
    for (const auto &so2 : sorts) {
        RecordCriteria c;
        c.status = 1;
        c.sort = so2.sort;
        SqlCondition sq;
        QString why;
        if (!recordResultQuery(data.db().dialect(), c, &sq, &why))
            die(why);
        QVector<double> firstMs, nextMs, countMs;
        for (int rep = 0; rep < 3; ++rep) {
            QElapsedTimer t;
            t.start();
            if (!q->open(sq.sql, sq.binds))
                die(QStringLiteral("search: ") + q->lastError());
            while (q->rowCount() < kFirstRows && q->fetchMore()) {
            }
            firstMs << msSince(t);
            t.restart();
            const int had = q->rowCount();
            q->fetchMore(100);
            if (q->rowCount() <= had)
                die(QStringLiteral("search: no second page"));
            nextMs << msSince(t);
            t.restart();
            if (q->recordCount() < 1)
                die(QStringLiteral("search: no count"));
            countMs << msSince(t);
        }
        q->close();
        result(qPrintable(QStringLiteral("search_%1_first_ms").arg(QLatin1String(so2.key))), stats(firstMs).median);
        result(qPrintable(QStringLiteral("search_%1_next_ms").arg(QLatin1String(so2.key))), stats(nextMs).median);
        result(qPrintable(QStringLiteral("search_%1_count_ms").arg(QLatin1String(so2.key))), stats(countMs).median);
    }
    result("hwm_search_kb", procStatusKb("VmHWM"));

    // (c) post new records through the shared query, its rules included.
    if (!q->open(QStringLiteral("SELECT * FROM NOTICE")))
        die(QStringLiteral("open: ") + q->lastError());
    const qint64 before = data.db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE")).toLongLong();
    const int maxBefore = data.db().scalar(QStringLiteral("SELECT MAX(DOC_ID) FROM NOTICE")).toInt();
    RecordGenerator gen(7);
    QVector<double> totalMs, appendMs, postMs;
    for (int i = 0; i < kPostRepeats; ++i) {
        const bool arabic = gen.chance(30);
        const QString titre = gen.title(arabic, 2, 6);
        const QString isbn = RecordGenerator::hyphenated(gen.isbn(arabic));
        QElapsedTimer t;
        t.start();
        if (!q->append())
            die(QStringLiteral("append: ") + q->lastError());
        const double a = msSince(t);
        q->setValue(QStringLiteral("DOC_TITRE_PROPRE"), titre);
        q->setValue(QStringLiteral("DOC_TITRE_COMPLEMENT"), gen.title(arabic, 1, 3));
        q->setValue(QStringLiteral("TYP_ID"), QString(QChar(u'a' + gen.below(7))));
        q->setValue(QStringLiteral("DOC_ISBN"), isbn);
        q->setValue(QStringLiteral("DOC_ANNEE"), QString::number(1990 + gen.below(35)));
        q->setValue(QStringLiteral("DOC_LIEU_EDITION"), QStringLiteral("Alger"));
        q->setValue(QStringLiteral("DOC_NBR_UNITE"), QStringLiteral("212 p."));
        q->setValue(QStringLiteral("DOC_FORMAT"), QStringLiteral("24 cm"));
        QElapsedTimer tp;
        tp.start();
        if (!q->post())
            die(QStringLiteral("post: ") + q->lastError());
        postMs << msSince(tp);
        appendMs << a;
        totalMs << msSince(t);
    }
    const qint64 after = data.db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE")).toLongLong();
    const int maxAfter = data.db().scalar(QStringLiteral("SELECT MAX(DOC_ID) FROM NOTICE")).toInt();
    if (after != before + kPostRepeats || maxAfter != maxBefore + kPostRepeats)
        die(QStringLiteral("posting went wrong: %1 -> %2 rows, max key %3 -> %4")
                .arg(before).arg(after).arg(maxBefore).arg(maxAfter));
    // The last posted record as stored: the rules ran.
    QSqlQuery c = data.db().query(
        QStringLiteral("SELECT DOC_ISBN, DOC_KEYWORDS, STA_ID FROM NOTICE WHERE DOC_ID = ?"), {maxAfter});
    if (!c.next() || c.value(0).toString().contains(u'-') || c.value(1).toString().isEmpty()
        || c.value(2).toInt() != 1)
        die(QStringLiteral("the posted record lacks what the rules set"));
    q->close();
    const Stats st = stats(totalMs), sa = stats(appendMs), sp = stats(postMs);
    result("post_total_ms_min", st.min);
    result("post_total_ms_median", st.median);
    result("post_total_ms_p95", st.p95);
    result("post_total_ms_max", st.max);
    result("append_ms_median", sa.median);
    result("post_only_ms_median", sp.median);
    result("post_only_ms_p95", sp.p95);
    return 0;
}

// --- parent: build the database, run the child, print the figures ----------

QHash<QString, double> runChild(const Options &o, const QString &sqliteFile)
{
    QStringList args = {QStringLiteral("--measure-open"), QStringLiteral("--engine"), o.engine};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (o.postgres()) {
        args << QStringLiteral("--host") << o.host << QStringLiteral("--port") << QString::number(o.port)
             << QStringLiteral("--user") << o.user << QStringLiteral("--db") << o.db;
        env.insert(QStringLiteral("FOLIAN_BENCH_PG_PASSWORD"), o.password);  // not on the command line
    } else {
        args << QStringLiteral("--file") << sqliteFile;
    }
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForStarted() || !child.waitForFinished(-1))
        die(QStringLiteral("the measuring process did not run: ") + child.errorString());
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    out() << "--- measuring process ---\n" << output << "---" << Qt::endl;
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        die(QStringLiteral("the measuring process failed (exit %1)").arg(child.exitCode()));
    QHash<QString, double> r;
    for (const QString &line : output.split(u'\n')) {
        const QStringList parts = line.split(u' ');
        if (parts.size() == 3 && parts.at(0) == QLatin1String("RESULT"))
            r.insert(parts.at(1), parts.at(2).toDouble());
    }
    return r;
}

QString verdict(double value, double aim) { return value < aim ? QStringLiteral("ok") : QStringLiteral("MISSED"); }

int runParent(const Options &o)
{
    std::unique_ptr<QTemporaryDir> tmp;
    QString dir = o.dir;
    if (!o.postgres() && dir.isEmpty()) {
        tmp = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/folian-bench-XXXXXX"));
        if (!tmp->isValid())
            die(QStringLiteral("no temporary directory"));
        tmp->setAutoRemove(!o.keep);
        dir = tmp->path();
    }
    const QString sqliteFile = o.postgres() ? QString() : QDir(dir).absoluteFilePath(QStringLiteral("bench.db"));
    if (!o.postgres()) {
        QDir().mkpath(dir);
        if (QFileInfo::exists(sqliteFile))
            die(sqliteFile + QStringLiteral(" already exists"));
    }

    Database admin;
    QString why;
    if (o.postgres()) {
        if (!admin.open(paramsOf(o, QStringLiteral("postgres")), false, &why))
            die(QStringLiteral("cannot connect to postgres: ") + why);
        execOrDie(admin, QStringLiteral("CREATE DATABASE ") + o.db);
    }

    double genS = 0, analyzeS = 0;
    {
        Database db;
        if (!db.open(paramsOf(o, o.postgres() ? o.db : sqliteFile), true, &why))
            die(QStringLiteral("cannot open the new database: ") + why);
        if (!createSchema(db, &why))
            die(QStringLiteral("createSchema: ") + why);
        if (!o.postgres()) {
            // A new file has nothing to roll back to: no journal while filling it.
            execOrDie(db, QStringLiteral("PRAGMA journal_mode=MEMORY"));
            execOrDie(db, QStringLiteral("PRAGMA synchronous=OFF"));
        }
        err() << "generating " << o.rows << " records on " << o.engine << Qt::endl;
        QElapsedTimer t;
        t.start();
        generate(db, o.rows);
        genS = msSince(t) / 1000;
        t.restart();
        if (o.postgres()) {
            execOrDie(db, QStringLiteral("VACUUM ANALYZE NOTICE"));
        } else {
            execOrDie(db, QStringLiteral("ANALYZE"));
            execOrDie(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        }
        analyzeS = msSince(t) / 1000;
        db.close();
    }
    QString size;
    if (o.postgres())
        size = admin.scalar(QStringLiteral("SELECT pg_size_pretty(pg_database_size(?))"), {o.db}).toString();
    else
        size = QString::number(double(QFileInfo(sqliteFile).size()) / 1048576.0, 'f', 0) + QStringLiteral(" MB");

    const QHash<QString, double> r = runChild(o, sqliteFile);

    const double peakMb = r.value(QStringLiteral("hwm_after_kb")) / 1024.0;
    const double baseMb = r.value(QStringLiteral("hwm_base_kb")) / 1024.0;
    QTextStream &s = out();
    s << "\n== catalogue benchmark: " << o.engine << ", " << o.rows << " records (" << size << ") ==\n";
    s << "generation            " << fmt(genS, 1) << " s (" << fmt(double(o.rows) / genS, 0) << " records/s)\n";
    s << (o.postgres() ? "vacuum analyze        " : "analyze               ") << fmt(analyzeS, 1) << " s\n";
    s << "first 50 rows         min " << fmt(r.value(QStringLiteral("open_ms_min"))) << " ms, median "
      << fmt(r.value(QStringLiteral("open_ms_median"))) << " ms, max "
      << fmt(r.value(QStringLiteral("open_ms_max"))) << " ms   aim < " << kAimOpenMs << " ms   "
      << verdict(r.value(QStringLiteral("open_ms_median")), kAimOpenMs) << '\n';
    s << "close of the query    median " << fmt(r.value(QStringLiteral("close_ms_median"))) << " ms\n";
    s << "peak memory (VmHWM)   " << fmt(peakMb, 1) << " MB (baseline after connect " << fmt(baseMb, 1)
      << " MB, +" << fmt(peakMb - baseMb, 1) << " MB)   aim < " << kAimPeakMb << " MB   "
      << verdict(peakMb, kAimPeakMb) << '\n';
    s << "post one record       min " << fmt(r.value(QStringLiteral("post_total_ms_min"))) << " ms, median "
      << fmt(r.value(QStringLiteral("post_total_ms_median"))) << " ms, p95 "
      << fmt(r.value(QStringLiteral("post_total_ms_p95"))) << " ms   aim < " << kAimPostMs << " ms   "
      << verdict(r.value(QStringLiteral("post_total_ms_p95")), kAimPostMs) << '\n';
    s << "  of which append()   median " << fmt(r.value(QStringLiteral("append_ms_median"))) << " ms\n";
    s << "  of which post()     median " << fmt(r.value(QStringLiteral("post_only_ms_median"))) << " ms, p95 "
      << fmt(r.value(QStringLiteral("post_only_ms_p95"))) << " ms\n";
    for (const char *key : {"none", "title", "year", "created"}) {
        const QString k = QLatin1String(key);
        s << "search, sort " << qSetFieldWidth(8) << Qt::left << k << qSetFieldWidth(0) << "first 50 rows "
          << fmt(r.value(QStringLiteral("search_") + k + QStringLiteral("_first_ms"))) << " ms, next 100 "
          << fmt(r.value(QStringLiteral("search_") + k + QStringLiteral("_next_ms"))) << " ms, count "
          << fmt(r.value(QStringLiteral("search_") + k + QStringLiteral("_count_ms"))) << " ms\n";
    }
    s << "peak memory after the searches " << fmt(r.value(QStringLiteral("hwm_search_kb")) / 1024.0, 1) << " MB\n";
    s.flush();

    if (o.postgres() && !o.keep)
        execOrDie(admin, QStringLiteral("DROP DATABASE ") + o.db + QStringLiteral(" WITH (FORCE)"));
    else if (o.keep)
        err() << "kept: " << (o.postgres() ? o.db : sqliteFile) << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Options o = parseOptions(app);
    if (o.measure) {
        if (!o.postgres() && o.file.isEmpty())
            die(QStringLiteral("--measure-open on SQLite needs --file"));
        return measure(o);
    }
    return runParent(o);
}
