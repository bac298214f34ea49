#pragma once
// The generated catalogue the search benchmarks run on: records with French
// and Arabic titles (and a long tail of rare words), their authors
// (headings of persons, a fifth of them with a rejected form too), subjects,
// publishers and copies, written in multi-row INSERTs; with what the
// searches look for in it.

#include "data/core/database.h"
#include "data/core/schema.h"
#include "data/core/searchcolumns.h"
#include "benchdb.h"
#include "recordgen.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace folian::bench {

inline QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(f.readAll()).section(u' ', 0, 2);
}


// --- the generated catalogue -------------------------------------------------

inline constexpr QStringView kSyllables[] = {
    u"ben", u"ha", u"dou", u"la", u"mi", u"ra", u"sa", u"ti", u"ka", u"rou", u"mer", u"zi", u"ne", u"lou",
    u"ba", u"di", u"fa", u"gue", u"cha", u"mo", u"na", u"ri", u"ta", u"bou", u"li", u"ma", u"dja", u"khe",
    u"ssa", u"vel", u"mont", u"ber", u"dal", u"gar", u"lan", u"tor", u"vin", u"ro", u"sel", u"nier"};
inline constexpr QStringView kArabicSyllables[] = {u"بن", u"حد", u"ود", u"سا", u"لم", u"قا", u"سم", u"مر",
                                            u"زو", u"قي", u"تو", u"مي", u"عث", u"ما", u"ني", u"شر",
                                            u"يف", u"بل", u"حا", u"جي", u"رح", u"ال", u"كر", u"يم"};
inline constexpr QStringView kGiven[] = {u"Mohamed", u"Karim", u"Amina", u"Fatima", u"Yacine", u"Nadia", u"Saïd",
                                  u"Leïla", u"Omar", u"Sofiane", u"Pierre", u"Marie", u"Jean", u"Claire",
                                  u"Louis", u"Anne", u"Paul", u"Sophie", u"Ahmed", u"Samia", u"Rachid", u"Nora",
                                  u"Hocine", u"Djamila", u"Michel", u"Hélène", u"François", u"Élise", u"Youcef",
                                  u"Zohra"};
inline constexpr QStringView kGivenAr[] = {u"محمد", u"أحمد", u"فاطمة", u"عبد القادر", u"خديجة", u"يوسف", u"عائشة",
                                    u"مصطفى", u"زينب", u"إبراهيم", u"مريم", u"عمر", u"سعاد", u"علي",
                                    u"نور الدين", u"حسين", u"ليلى", u"رشيد", u"سليمة", u"الطاهر"};

// The counts of each table for a number of records.
struct Sizes {
    int records, authors, subjects, publishers, rareWords;
    explicit Sizes(int n)
        : records(n), authors(n / 4), subjects(qMax(50, n / 50)), publishers(qMax(20, n / 200)),
          rareWords(qMax(100, n / 40))
    {
    }
};

// What the searches look for, chosen while the catalogue is generated.
struct Targets {
    QString keyword;  // a rare word and another word of one record's title
    QString author;   // the surname of a rejected form of a heading
    QString isbn;     // a record's ISBN, typed with hyphens
    QString heading;  // the beginning of an accepted heading's name, for the heading list
};

// Rows written in multi-row INSERTs of one prepared statement, converted
// to the types of their columns, with the search columns the program
// writes where the rows do not bring them.
class Inserter
{
public:
    Inserter(Database &db, const QString &table, const QStringList &columns)
        : db_(db), table_(table), given_(columns), columns_(columns), batchRows_(db.dialect().isPostgres() ? 1000 : 500),
          full_(db.connection())
    {
        if (const SearchColumnsDef *def = Schema::searchColumnsOf(table)) {
            for (const QString &c : {def->keywords, def->folded, def->frenchKey, def->arabicKey})
                if (!columns_.contains(c))
                    columns_ << c;
            derive_ = columns_.size() > given_.size();
        }
        const TableDef *t = Schema::table(table);
        for (const QString &c : std::as_const(columns_))
            types_ << t->column(c)->type;
        if (!full_.prepare(insertSql(table_, columns_, batchRows_)))
            die(table + QStringLiteral(": ") + full_.lastError().text());
    }
    void add(const QVariantList &row)
    {
        QVariantList r = row;
        if (derive_) {
            QVariantHash values;
            for (int i = 0; i < given_.size(); ++i)
                values.insert(given_.at(i), row.value(i));
            addSearchColumns(table_, values);
            r.clear();
            for (const QString &c : std::as_const(columns_))
                r << values.value(c);
        }
        for (int i = 0; i < r.size(); ++i)
            r[i] = db_.dialect().toDb(r.at(i), types_.at(i));
        batch_ << r;
        if (batch_.size() == batchRows_) {
            if (!execBatch(full_, batch_))
                die(table_ + QStringLiteral(": ") + full_.lastError().text());
            batch_.clear();
        }
    }
    void finish()
    {
        if (!batch_.isEmpty()) {
            QSqlQuery tail(db_.connection());
            if (!tail.prepare(insertSql(table_, columns_, int(batch_.size()))) || !execBatch(tail, batch_))
                die(table_ + QStringLiteral(": ") + tail.lastError().text());
            batch_.clear();
        }
        full_.finish();
    }

private:
    Database &db_;
    QString table_;
    QStringList given_, columns_;
    bool derive_ = false;
    QVector<ColType> types_;
    int batchRows_;
    QSqlQuery full_;
    QVector<QVariantList> batch_;
};

class CatalogueGenerator
{
public:
    CatalogueGenerator(Database &db, int records) : db_(db), sizes_(records), gen_(20240917) {}

    Targets run()
    {
        Transaction tx(db_);
        if (!tx.isActive())
            die(QStringLiteral("begin: ") + db_.lastError().text());
        makeRareWords();
        publishers();
        headings();
        records();
        if (!tx.commit())
            die(QStringLiteral("commit: ") + db_.lastError().text());
        return targets_;
    }

private:
    QString syllableWord(int minSyllables, int maxSyllables, bool arabic)
    {
        const int n = minSyllables + gen_.below(maxSyllables - minSyllables + 1);
        QString w;
        for (int i = 0; i < n; ++i)
            w += arabic ? gen_.any(kArabicSyllables) : gen_.any(kSyllables);
        return w;
    }
    static QString capitalised(const QString &w) { return w.left(1).toUpper() + w.mid(1); }

    void makeRareWords()
    {
        for (int i = 0; i < sizes_.rareWords; ++i)
            rare_ << (gen_.chance(25) ? syllableWord(2, 3, true) : capitalised(syllableWord(2, 4, false)));
    }

    void publishers()
    {
        Inserter ins(db_, QStringLiteral("EDITEUR"),
                     {QStringLiteral("EDT_ID"), QStringLiteral("EDT_NOM"), QStringLiteral("EDT_NOM_AR"),
                      QStringLiteral("EDT_TYPE")});
        for (int id = 1; id <= sizes_.publishers; ++id) {
            const QString name = QStringLiteral("Éditions ") + capitalised(syllableWord(2, 3, false));
            const QString arabic = gen_.chance(40) ? QString(QStringLiteral("دار ") + syllableWord(2, 3, true)) : QString();
            ins.add({id, name, arabic.isEmpty() ? QVariant() : QVariant(arabic), 1});
        }
        ins.finish();
    }

    // A variant spelling of a Latin surname, as another catalogue wrote it.
    static QString variant(const QString &surname)
    {
        QString v = surname;
        v.replace(QStringLiteral("ou"), QStringLiteral("u")).replace(u'k', u'q').replace(u'i', u'y');
        return v == surname ? surname + u'e' : v;
    }

    // Author headings 1..authors (accepted), each fifth with a rejected form
    // after them, then the subjects.
    void headings()
    {
        Inserter ins(db_, QStringLiteral("VEDETTE"),
                     {QStringLiteral("VED_ID"), QStringLiteral("TYP_VED_ID"), QStringLiteral("VED_NOM"),
                      QStringLiteral("VED_ID2")});
        int next = sizes_.authors + 1;
        QVector<QVariantList> rejected;
        for (int id = 1; id <= sizes_.authors; ++id) {
            const bool arabic = gen_.chance(30);
            const int type = gen_.chance(90) ? 1 : 2;
            const QString surname = arabic ? syllableWord(2, 3, true) : capitalised(syllableWord(2, 3, false));
            const QString given = (arabic ? gen_.any(kGivenAr) : gen_.any(kGiven)).toString();
            const QString name = surname + QStringLiteral(", ") + given;
            ins.add({id, type, name, id});
            if (!arabic && targets_.heading.isEmpty() && id >= sizes_.authors / 3)
                targets_.heading = surname.left(3);
            if (id % 5 == 0) {
                const QString other = arabic ? QString(given + u' ' + surname)
                                             : QString(variant(surname) + QStringLiteral(", ") + given.left(1) + u'.');
                rejected.append({next, type, other, id});
                if (!arabic && targets_.author.isEmpty() && id >= sizes_.authors / 2)
                    targets_.author = variant(surname).toLower();
                ++next;
            }
        }
        for (const QVariantList &r : std::as_const(rejected))
            ins.add(r);
        firstSubject_ = next;
        for (int i = 0; i < sizes_.subjects; ++i) {
            const bool arabic = gen_.chance(30);
            QString name = arabic ? gen_.any(kArabic).toString() : capitalised(gen_.any(kFrench).toString());
            for (int k = 1 + gen_.below(2); k > 0; --k)
                name += QStringLiteral(" -- ") + (arabic ? gen_.any(kArabic) : gen_.any(kFrench)).toString();
            ins.add({next, 6, name, next});
            ++next;
        }
        ins.finish();
    }

    void records()
    {
        QStringList columns = generatedColumns();
        columns << QStringLiteral("EDT_ID") << QStringLiteral("EDT_ID2") << QStringLiteral("DOC_NBR_EXEMPLAIRE");
        const qsizetype statusAt = columns.indexOf(QStringLiteral("STA_ID"));
        const qsizetype titleAt = columns.indexOf(QStringLiteral("DOC_TITRE_PROPRE"));
        const qsizetype isbnAt = columns.indexOf(QStringLiteral("DOC_ISBN"));
        Inserter notices(db_, QStringLiteral("NOTICE"), columns);
        Inserter authors(db_, QStringLiteral("NOTICE_AUTEUR"),
                         {QStringLiteral("NAU_ID"), QStringLiteral("DOC_ID"), QStringLiteral("VED_ID"),
                          QStringLiteral("FON_ID"), QStringLiteral("AUT_TYPE")});
        Inserter subjects(db_, QStringLiteral("NOTICE_MATIERE"),
                          {QStringLiteral("NMA_ID"), QStringLiteral("DOC_ID"), QStringLiteral("VED_ID")});
        Inserter copies(db_, QStringLiteral("NOTICE_EXEMPLAIRE"),
                        {QStringLiteral("EXP_ID"), QStringLiteral("DOC_ID"), QStringLiteral("BIB_ID"),
                         QStringLiteral("EXP_COTE"), QStringLiteral("STA_EXP_ID"), QStringLiteral("MOD_ID"),
                         QStringLiteral("EXP_INVENTORIE")});
        const QDateTime base(QDate(2015, 1, 1), QTime(9, 0));
        int authorRow = 0, subjectRow = 0, copyRow = 0;
        const int keywordRecord = sizes_.records / 2, isbnRecord = sizes_.records / 3;
        for (int id = 1; id <= sizes_.records; ++id) {
            const bool withRare = id == keywordRecord || gen_.chance(25);
            const QString rare = withRare ? rare_.at(gen_.below(int(rare_.size()))) : QString();
            QVariantList r = gen_.record(id, base.addSecs(qint64(id) * 97), rare);
            if (id % 100 == 0)
                r[statusAt] = 2;  // the records of the list
            if (id == keywordRecord)
                targets_.keyword = rare + u' ' + r.at(titleAt).toString().section(u' ', 0, 0);
            if (targets_.isbn.isEmpty() && id >= isbnRecord && !r.at(isbnAt).isNull())
                targets_.isbn = RecordGenerator::hyphenated(r.at(isbnAt).toString());
            const int nCopies = 1 + (gen_.chance(40) ? 1 : 0) + (gen_.chance(10) ? 1 : 0);
            r << (1 + gen_.below(sizes_.publishers))
              << (gen_.chance(5) ? QVariant(1 + gen_.below(sizes_.publishers)) : QVariant()) << nCopies;
            notices.add(r);
            for (int k = 1 + (gen_.chance(45) ? 1 : 0) + (gen_.chance(15) ? 1 : 0); k > 0; --k)
                authors.add({++authorRow, id, 1 + gen_.below(sizes_.authors), QStringLiteral("070"), k == 1 ? 1 : 2});
            for (int k = 1 + (gen_.chance(40) ? 1 : 0); k > 0; --k)
                subjects.add({++subjectRow, id, firstSubject_ + gen_.below(sizes_.subjects)});
            const QString mark = QString::number(100 + gen_.below(900)) + u' '
                + r.at(titleAt).toString().left(3).toUpper();
            for (int k = 0; k < nCopies; ++k)
                copies.add({QString::number(++copyRow).rightJustified(9, u'0'), id, 0, mark, 2, 5, 1});
            if (id % 250000 == 0)
                std::fprintf(stderr, "  %d records\n", id);
        }
        notices.finish();
        authors.finish();
        subjects.finish();
        copies.finish();
    }

    Database &db_;
    Sizes sizes_;
    RecordGenerator gen_;
    QStringList rare_;
    int firstSubject_ = 0;
    Targets targets_;
};


// What the server's own maintenance would do after the tables grew; the
// embedded engine is given no statistics, as the program gives it none.
inline void analyse(Database &db)
{
    if (db.dialect().isPostgres())
        exec(db, QStringLiteral("VACUUM ANALYZE"));
}

} // namespace folian::bench
