// The demo writer: one user per role, then the catalogue (demodata_records.cpp),
// then circulation (faculties, reader categories and loan rules, closed
// periods, readers, current loans and a reservation) and acquisitions
// (currencies, suppliers, this year's budget, an order, suggestions).
// Every date is taken relative to today, so that the overdue loan stays
// overdue whenever the demo is written.

#include "demodata.h"
#include "demodata_p.h"

#include "admin/core/passwords.h"
#include "base/session.h"
#include "circulation/core/loanjournal.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"
#include "data/core/schema.h"

#include <QHash>

#include <iterator>

namespace folian {

namespace demo {

bool Context::insert(const char *table, const QStringList &columns, const QVector<QVariantList> &rows)
{
    return insertRows(db, QLatin1String(table), columns, rows, &why);
}

bool Context::isOpen(const QDate &d) const
{
    if (closedWeekdays.contains(d.dayOfWeek()))
        return false;
    for (const auto &p : closedPeriods) {
        if (d >= p.first && d <= p.second)
            return false;
    }
    return true;
}

QDate Context::openOnOrAfter(QDate d) const
{
    while (!isOpen(d))
        d = d.addDays(1);
    return d;
}

QDate Context::openOnOrBefore(QDate d) const
{
    while (!isOpen(d))
        d = d.addDays(-1);
    return d;
}

int Context::nextId(const char *table, const char *column)
{
    return NextId(db, QLatin1String(table),
                  QStringLiteral("MAX(") + QLatin1String(column) + QStringLiteral(") "));
}

QStringList columns(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *n : names)
        out.append(QLatin1String(n));
    return out;
}

QString text(const char16_t *s) { return s ? QString::fromUtf16(s) : QString(); }

QVariant optional(const char16_t *s) { return s ? QVariant(text(s)) : QVariant(); }

QString money(qint64 cents)
{
    return QString::number(cents / 100) + u'.' + ZeroPad(cents % 100, 2);
}

namespace {

// --- Users ------------------------------------------------------------------

struct UserDef {
    const char *login;
    int role;
    const char16_t *name;
    const char16_t *firstName;
    const char16_t *phone;
    QVector<Right> rights;
    const char *types;   // CATALOGAGE rows, one letter per document type
};

// The managers hold every right of their module (their role grants them
// anyway, the columns say so in the users screen); agents hold what their
// desk needs.
QVector<UserDef> users()
{
    using R = Right;
    return {
        {"resp.acq", 2, u"Bouzid", u"Nassima", u"0550 41 27 63",
         {R::AcqAcces, R::AcqAdmin, R::AcqTransact, R::AcqBudget, R::AcqEdition}, nullptr},
        {"resp.cat", 3, u"Hamidi", u"Farid", u"0661 08 52 19",
         {R::CatAcces, R::CatAdmin, R::CatNotice, R::CatImport, R::CatAutorite, R::CatEdition},
         nullptr},
        {"resp.pret", 4, u"Aït Ali", u"Djamel", u"0770 36 14 85",
         {R::CirculAcces, R::CirculAdmin, R::CirculLecteur, R::CirculTransact, R::CirculPeb,
          R::CirculEdition},
         nullptr},
        {"agent.acq", 5, u"Khelifi", u"Sonia", u"0552 90 33 71", {R::AcqAcces, R::AcqTransact},
         nullptr},
        {"agent.cat", 6, u"Saadi", u"Meriem", u"0698 12 45 07", {R::CatAcces, R::CatNotice}, "ab"},
        {"agent.pret", 7, u"Benamara", u"Hocine", u"0541 67 20 38",
         {R::CirculAcces, R::CirculLecteur, R::CirculTransact},
         nullptr},
        {"saisie", 0, u"Touati", u"Imane", u"0665 23 81 94", {R::CatAcces, R::CatNotice}, "a"},
    };
}

bool writeUsers(Context &cx, int *count)
{
    QStringList cols = columns({"UTL_ID", "UTL_LOGIN", "UTL_PASSWORD", "UTL_NOM", "UTL_PRENOM",
                                "UTL_TEL", "UTL_EMAIL", "UTL_ROLE"});
    for (Right r : allRights())
        cols << QLatin1String(rightColumn(r));
    int id = cx.nextId("UTILISATEUR", "UTL_ID");
    QVector<QVariantList> rows;
    QVector<QVariantList> types;
    for (const UserDef &u : users()) {
        const QString login = QLatin1String(u.login);
        const QString hash = HashPassword(login);
        if (hash.isEmpty())
            return cx.fail(QStringLiteral("cannot hash the password of ") + login);
        QVariantList row{id, login, hash, text(u.name), text(u.firstName), text(u.phone),
                         QString(login + QStringLiteral("@bu.univ-demo.dz")), u.role};
        for (Right r : allRights())
            row << (u.rights.contains(r) ? 1 : 0);
        rows.append(row);
        for (const char *t = u.types; t && *t; ++t)
            types.append({id, QString(QLatin1Char(*t))});
        ++id;
    }
    *count = int(rows.size());
    return cx.insert("UTILISATEUR", cols, rows)
        && cx.insert("CATALOGAGE", columns({"UTL_ID", "TYP_ID"}), types);
}

// --- Circulation ------------------------------------------------------------

const char16_t *const kFaculties[] = {
    u"Faculté des sciences exactes et de l'informatique",
    u"Faculté de technologie",
    u"Faculté des sciences économiques, commerciales et des sciences de gestion",
    u"Faculté de droit et des sciences politiques",
    u"Faculté des lettres et des langues",
    u"Faculté des sciences humaines et sociales",
};

struct CategoryDef {
    const char16_t *label;
    int membershipDays;
    int penaltyDays;
    int proportional;
};

const CategoryDef kCategories[] = {
    {u"Etudiant", 365, 2, 1},
    {u"Enseignant", 365, 7, 0},
    {u"Chercheur", 730, 7, 0},
};

// Loan rules per category (position in kCategories) and document type.
struct RuleDef {
    int category;
    char type;
    int documents;
    int loanDays;
    int renewalDays;
    int holdDays;
};

// Students consult theses in the reading room only (no thesis loan).
const RuleDef kRules[] = {
    {0, 'a', 3, 15, 7, 3},  {0, 'b', 1, 3, 0, 2},   {0, 'c', 0, 0, 0, 0},
    {1, 'a', 6, 30, 15, 5}, {1, 'b', 3, 7, 7, 3},   {1, 'c', 2, 15, 7, 3},
    {2, 'a', 5, 21, 14, 5}, {2, 'b', 2, 7, 7, 3},   {2, 'c', 2, 15, 7, 3},
};

const RuleDef *rule(int category, char type)
{
    for (const RuleDef &r : kRules) {
        if (r.category == category && r.type == type)
            return &r;
    }
    return nullptr;
}

// Readers: a faculty and a category by position, age in years, days since
// (re-)registration, status and the number of loans made so far.
struct ReaderDef {
    const char16_t *name;
    const char16_t *firstName;
    int faculty;
    int category;
    int age;
    int registeredDaysAgo;
    int status;
    int loans;
    const char16_t *address;
    const char16_t *phone;
    const char16_t *reason;
};

const ReaderDef kReaders[] = {
    {u"Benamar", u"Yasmine", 0, 0, 21, 40, 0, 12,
     u"Résidence universitaire El Amel, bloc B, chambre 14, Blida", u"0556 14 72 30", nullptr},
    {u"Khaldi", u"Amine", 1, 0, 22, 75, 0, 9, u"Cité 1200 logements, bât. 7, Blida",
     u"0671 25 48 96", nullptr},
    {u"بوعلام", u"سارة", 4, 0, 20, 60, 0, 15, u"حي 500 مسكن، عمارة 12، البليدة", u"0553 82 14 67",
     nullptr},
    {u"Saïdi", u"Rania", 3, 0, 23, 120, 0, 6, u"12, rue Larbi Tebessi, Boufarik",
     u"0779 30 61 52", nullptr},
    {u"حداد", u"يوسف", 2, 0, 24, 200, 1, 18, u"حي الإخوة عباس، رقم 45، العفرون", u"0665 47 93 21",
     nullptr},
    {u"Mebarki", u"Nassim", 0, 0, 25, 400, 0, 21, u"Résidence universitaire Ouled Yaïch, Blida",
     u"0542 19 86 04", nullptr},
    {u"Hamdani", u"Karima", 0, 1, 44, 90, 0, 34, u"Cité des enseignants, villa 8, Blida",
     u"0661 52 37 18", nullptr},
    {u"بلعيد", u"مصطفى", 5, 1, 51, 150, 0, 27, u"شارع الاستقلال، رقم 23، البليدة",
     u"0770 64 25 83", nullptr},
    {u"Ferhat", u"Lamine", 2, 1, 38, 30, 0, 11, u"5, avenue de l'ALN, Médéa", u"0550 73 48 29",
     nullptr},
    {u"زيتوني", u"نوال", 5, 2, 33, 250, 0, 8, u"حي الموز، عمارة 3، البليدة", u"0697 21 60 45",
     nullptr},
    {u"Belkacemi", u"Walid", 1, 0, 22, 100, 2, 5, u"Cité Zabana, bât. 14, Blida", u"0558 36 92 17",
     u"Document rendu détérioré, remplacement demandé"},
    {u"مسعودي", u"إيمان", 4, 2, 29, 180, 0, 14, u"حي بن بوالعيد، رقم 17، الشفة",
     u"0662 85 17 39", nullptr},
    {u"Ouadah", u"Sofiane", 3, 0, 23, 150, 3, 7, u"Cité 300 logements, bât. 2, Boufarik",
     u"0559 41 07 63", u"Carte de lecteur prêtée à un tiers"},
};

// A document a partner library (0 the first, 1 its namesake) lent on to
// one of our readers (reader position, days since the loan, days until it
// is due; negative when overdue).
struct InterLibraryDef {
    int library;
    int reader;
    const char16_t *copy;
    const char16_t *title;
    const char16_t *author;
    int lentDaysAgo;
    int dueInDays;
};

const InterLibraryDef kInterLibrary[] = {
    {0, 8, u"BC-2291", u"Droit des contrats", u"Ali Filali", 40, -5},
    {0, 6, u"BC-3108", u"Méthodologie de la recherche", u"Madeleine Grawitz", 6, 15},
    {1, 3, u"OR-0584", u"Sociologie de l'Algérie", u"Pierre Bourdieu", 30, -2},
};

// Current loans: reader (position), title of the record, days since the
// loan; an overdue loan was due that many days ago.
struct LoanDef {
    int reader;
    const char16_t *title;
    int daysAgo;
    bool overdue;
};

const LoanDef kLoans[] = {
    {0, u"Introduction aux bases de données relationnelles", 5, false},
    {2, u"الأدب الجزائري المعاصر", 8, true},
    {6, u"Réseaux informatiques", 12, false},
    {6, u"الحركة الإصلاحية في الجزائر", 3, false},
    {8, u"Droit civil algérien", 9, true},
};

// The copy on loan to reader 6 is reserved by reader 1.
constexpr int kReservingReader = 1;
constexpr const char16_t *kReservedTitle = u"Réseaux informatiques";

QString readerId(int position) { return QStringLiteral("L") + ZeroPad(position + 1, 4); }

class Circulation
{
public:
    Circulation(Context &cx, const Catalogue &cat) : cx_(cx), cat_(cat) {}

    bool run(int *readers)
    {
        return writeStructures() && writeCategories() && writeRules()
            && writeClosedPeriods() && writeReaders(readers) && writeLoans() && writeInterLibrary();
    }

private:
    bool writeStructures()
    {
        int id = cx_.nextId("STRUCTURE", "STR_ID");
        QVector<QVariantList> rows;
        for (const char16_t *f : kFaculties) {
            faculties_.append(id);
            rows.append({id++, text(f)});
        }
        return cx_.insert("STRUCTURE", columns({"STR_ID", "STR_LIBELLE"}), rows);
    }

    // Below the reserved category 9 when there is room.
    bool writeCategories()
    {
        int id = NextId(cx_.db, QStringLiteral("CATEGORIE"), QStringLiteral("MAX(CAT_ID) "),
                        QStringLiteral("WHERE CAT_ID < 9"));
        if (id + int(std::size(kCategories)) > 9)
            id = qMax(10, cx_.nextId("CATEGORIE", "CAT_ID"));
        QVector<QVariantList> rows;
        for (const CategoryDef &c : kCategories) {
            categories_.append(id);
            rows.append({id++, text(c.label), c.membershipDays, c.penaltyDays, c.proportional});
        }
        return cx_.insert("CATEGORIE",
                          columns({"CAT_ID", "CAT_LIBELLE", "CAT_ADHESION", "CAT_PENALITE",
                                   "CAT_PENALITE_PROP"}),
                          rows);
    }

    bool writeRules()
    {
        QVector<QVariantList> rows;
        for (const RuleDef &r : kRules)
            rows.append({categories_.at(r.category), QString(QLatin1Char(r.type)), r.documents,
                         r.loanDays, r.renewalDays, r.holdDays});
        return cx_.insert("REGLEMENT",
                          columns({"CAT_ID", "TYP_ID", "REG_DOCUMENT", "REG_PRET",
                                   "REG_PROLONGATION", "REG_RESERVATION"}),
                          rows);
    }

    bool writeClosedPeriods()
    {
        int id = cx_.nextId("JOUR_EXCEPTION", "JEX_ID");
        QVector<QVariantList> rows;
        for (const auto &p : cx_.closedPeriods)
            rows.append({id++, p.first, p.second});
        return cx_.insert("JOUR_EXCEPTION", columns({"JEX_ID", "DATE_DEBUT", "DATE_FIN"}), rows);
    }

    bool writeReaders(int *count)
    {
        QVector<QVariantList> rows;
        int position = 0;
        for (const ReaderDef &r : kReaders) {
            const QString id = readerId(position);
            const QDate born(cx_.today.year() - r.age, 1 + (position * 5) % 12, 1 + (position * 11) % 28);
            const QDate registered = cx_.openOnOrBefore(cx_.today.addDays(-r.registeredDaysAgo));
            const QString email = r.category == 0
                ? id.toLower() + QStringLiteral("@etu.univ-demo.dz")
                : id.toLower() + QStringLiteral("@univ-demo.dz");
            rows.append({id, text(r.name), text(r.firstName), born, text(r.address), text(r.phone),
                         email, faculties_.at(r.faculty), categories_.at(r.category), registered,
                         r.status, r.status == 1 || r.status == 3 ? QVariant(cx_.today.addDays(6)) : QVariant(),
                         optional(r.reason), r.loans, 0, QStringLiteral("resp.pret"),
                         QDateTime(registered, QTime(10, 15).addSecs(position * 600))});
            ++position;
        }
        *count = int(rows.size());
        return cx_.insert("LECTEUR",
                          columns({"LEC_ID", "LEC_NOM", "LEC_PRENOM", "LEC_DATE_NAISSANCE",
                                   "LEC_ADRESSE", "LEC_TEL", "LEC_EMAIL", "STR_ID", "CAT_ID",
                                   "LEC_DATE_ADHESION", "LEC_STATUT", "LEC_FIN_PENALITE",
                                   "LEC_MOTIF", "LEC_STAT_PRET", "BIB_ID", "CREATE_USER",
                                   "CREATE_DATE"}),
                          rows);
    }

    QVariant date(const QDate &d) const { return cx_.db.dialect().toDb(d, ColType::Date); }

    // Lends the first copy of each record as the loan desk does; the due
    // date follows the loan rule of the reader's category and falls on an
    // open day.
    bool writeLoans()
    {
        QHash<QString, QDate> dueDates;
        for (const LoanDef &l : kLoans) {
            const Record *rec = cat_.find(text(l.title));
            if (!rec || rec->copies.isEmpty())
                return cx_.fail(QStringLiteral("no copy of \"%1\" to lend").arg(text(l.title)));
            const ReaderDef &reader = kReaders[l.reader];
            const RuleDef *r = rule(reader.category, rec->type.at(0).toLatin1());
            if (!r || r->documents == 0)
                return cx_.fail(QStringLiteral("no loan rule for \"%1\"").arg(text(l.title)));
            QDate lent, due;
            if (l.overdue) {
                due = cx_.openOnOrBefore(cx_.today.addDays(-l.daysAgo));
                lent = cx_.openOnOrBefore(due.addDays(-r->loanDays));
            } else {
                lent = cx_.openOnOrBefore(cx_.today.addDays(-l.daysAgo));
                due = cx_.openOnOrAfter(lent.addDays(r->loanDays));
            }
            const QString copy = rec->copies.first();
            dueDates.insert(copy, due);
            if (!cx_.db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = ?, EXP_DATE_PRET = ?, "
                                            "EXP_DATE_RETOUR = ? WHERE EXP_ID = ?"),
                             {readerId(l.reader), date(lent), date(due), copy}))
                return cx_.fail(QStringLiteral("NOTICE_EXEMPLAIRE: ") + cx_.db.lastError().text());
            if (!journal(LoanOperation::Loan, copy, readerId(l.reader), lent, due))
                return false;
        }
        // The reservation is held for the reserver a few days after the due date.
        const Record *reserved = cat_.find(text(kReservedTitle));
        const RuleDef *r = rule(kReaders[kReservingReader].category, 'a');
        if (!reserved || !r || !dueDates.contains(reserved->copies.value(0)))
            return cx_.fail(QStringLiteral("the reserved copy is not on loan"));
        const QString copy = reserved->copies.first();
        const QDate until = dueDates.value(copy).addDays(r->holdDays);
        if (!cx_.db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = ?, EXP_DATE_RESERVATION = ? "
                                        "WHERE EXP_ID = ?"),
                         {readerId(kReservingReader), date(until), copy}))
            return cx_.fail(QStringLiteral("NOTICE_EXEMPLAIRE: ") + cx_.db.lastError().text());
        return journal(LoanOperation::Reservation, copy, readerId(kReservingReader),
                       cx_.openOnOrBefore(cx_.today.addDays(-1)), until);
    }

    // The loan journal holds the operations that put the copies where they are.
    bool journal(LoanOperation op, const QString &copy, const QVariant &reader, const QDate &day, const QDate &due)
    {
        JournalEntry e;
        e.operation = op;
        e.copyId = copy;
        e.docId = cx_.db.scalar(QStringLiteral("SELECT DOC_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"), {copy});
        e.readerId = reader.toString();
        e.due = due;
        e.when = QDateTime(day, QTime(10, 30));
        QString why;
        return writeJournal(cx_.db, e, &why) || cx_.fail(QStringLiteral("HISTORIQUE_PRET: ") + why);
    }

    bool writeInterLibrary()
    {
        // Two partners of the same name under different supervising bodies,
        // and a correspondent of the first one.
        const int library = cx_.nextId("BIBLIOTHEQUE", "BIB_ID");
        if (!cx_.insert("BIBLIOTHEQUE",
                        columns({"BIB_ID", "BIB_NOM", "BIB_TUTELLE", "BIB_ADRESSE", "BIB_PHONE", "BIB_EMAIL",
                                 "BIB_CONTACT", "BIB_HORAIRES", "BIB_CATALOGUE"}),
                        {{library, text(u"Bibliothèque centrale"), text(u"Université d'Alger 1"),
                          text(u"2, rue Didouche Mourad, Alger"), text(u"021 63 70 12"),
                          QStringLiteral("peb@bc-univ-alger.dz"), text(u"Nadia Ferhat"),
                          text(u"Dimanche - jeudi, 8 h 30 - 17 h"), QStringLiteral("https://catalogue.univ-alger.dz")},
                         {library + 1, text(u"Bibliothèque centrale"), text(u"Université d'Oran 1"),
                          text(u"Es-Senia, Oran"), text(u"041 51 92 30"), QStringLiteral("peb@bc-univ-oran1.dz"),
                          text(u"Karim Benali"), text(u"Dimanche - jeudi, 8 h - 16 h 30"), QVariant()}}))
            return false;
        const QString password = HashPassword(QStringLiteral("peb-alger"));
        if (password.isEmpty()
            || !cx_.insert("LECTEUR",
                           columns({"LEC_ID", "LEC_NOM", "LEC_PRENOM", "LEC_TEL", "LEC_EMAIL", "CAT_ID", "BIB_ID",
                                    "LEC_DATE_ADHESION", "LEC_STATUT", "LEC_STAT_PRET", "LEC_PASSWORD", "CREATE_USER",
                                    "CREATE_DATE"}),
                           {{QStringLiteral("PEB-ALG1"), text(u"Ferhat"), text(u"Nadia"), text(u"021 63 70 15"),
                             QStringLiteral("n.ferhat@bc-univ-alger.dz"), 9, library,
                             date(cx_.openOnOrBefore(cx_.today.addDays(-30))), 0, 0, password,
                             QStringLiteral("admin"), QDateTime(cx_.today.addDays(-30), QTime(9, 0))}}))
            return cx_.fail(cx_.why.isEmpty() ? QStringLiteral("LECTEUR: no password hash") : cx_.why);
        int id = cx_.nextId("PEB", "PEB_ID");
        QVector<QVariantList> rows;
        for (const InterLibraryDef &l : kInterLibrary)
            rows.append({id++, text(l.copy), text(l.title), text(l.author), library + l.library, readerId(l.reader),
                         date(cx_.openOnOrBefore(cx_.today.addDays(-l.lentDaysAgo))),
                         date(cx_.today.addDays(l.dueInDays)), 0});
        return cx_.insert("PEB",
                          columns({"PEB_ID", "PEB_EXP_ID", "PEB_TITRE", "PEB_AUTEUR", "BIB_ID", "LEC_ID",
                                   "BIB_PRET", "BIB_RETOUR", "BIB_REMIS"}),
                          rows);
    }

    Context &cx_;
    const Catalogue &cat_;
    QVector<int> faculties_;
    QVector<int> categories_;
};

// --- Acquisitions -----------------------------------------------------------

struct SupplierDef {
    const char16_t *name;
    const char16_t *contact;
    const char *country;
    const char16_t *address;
    const char16_t *phone;
    const char16_t *account;
};

const SupplierDef kSuppliers[] = {
    {u"Librairie du Campus", u"Rachid Ouali", "DZ", u"15, boulevard des Martyrs, Alger",
     u"021 74 12 36", u"002 00123 0123456789 42"},
    {u"Maghreb Diffusion Livres", u"Houria Benchikh", "DZ", u"Zone industrielle Es Sénia, Oran",
     u"041 51 86 20", u"001 00456 0098765432 17"},
    {u"Librairie El Fikr El Djamii", u"Salim Boukhalfa", "DZ",
     u"3, rue Abane Ramdane, Constantine", u"031 64 29 53", u"004 00789 0034567812 08"},
    {u"Euro-Livres Export", u"Mathieu Garnier", "FR", u"27, quai Saint-Vincent, Lyon",
     u"+33 4 78 29 14 60", u"FR76 3000 4000 0312 3456 7890 143"},
};

struct ChapterDef {
    const char16_t *title;
    qint64 amount;   // dinars
};

const ChapterDef kChapters[] = {
    {u"Ouvrages et manuels", 2000000},
    {u"Périodiques et abonnements", 800000},
    {u"Ressources électroniques", 400000},
    {u"Reliure et conservation", 150000},
};
constexpr qint64 kBudget = 3500000;
constexpr qint64 kCommitment = 450000;   // on the first chapter

// Lines of the order to the first supplier: title, copies, unit price.
struct OrderLineDef {
    const char16_t *title;
    int copies;
    qint64 price;   // dinars
};

const OrderLineDef kOrderLines[] = {
    {u"Introduction aux bases de données relationnelles", 3, 1850},
    {u"Économie algérienne", 2, 1400},
    {u"مدخل إلى علم الاجتماع", 4, 850},
    {u"منهجية البحث العلمي في العلوم الإنسانية والاجتماعية", 5, 750},
};

struct SuggestionDef {
    const char16_t *title;
    const char16_t *author;
    const char16_t *publisher;
    qint64 price;   // dinars
    int daysAgo;
    const char16_t *comment;
};

const SuggestionDef kSuggestions[] = {
    {u"Apprentissage automatique : principes et applications", u"Cherif, Yacine",
     u"Éditions Cirta Sciences", 2600, 15,
     u"Demandé par les enseignants du département d'informatique pour le master."},
    {u"الذكاء الاصطناعي وتطبيقاته في المكتبات", u"سعدي، أمينة", u"دار النخيل للنشر والتوزيع",
     1300, 6, u"اقتراح طلبة الماستر في علم المكتبات."},
};

class Acquisitions
{
public:
    Acquisitions(Context &cx, const Catalogue &cat) : cx_(cx), cat_(cat) {}

    bool run() { return writeCurrencies() && writeSuppliers() && writeBudget() && writeOrder() && writeSuggestions(); }

private:
    bool writeCurrencies()
    {
        dinar_ = cx_.nextId("MONNAIE", "MON_ID");
        return cx_.insert("MONNAIE", columns({"MON_ID", "MON_LIBELLE", "MON_LIBELLE_AR"}),
                          {{dinar_, QStringLiteral("Dinar algérien"), QStringLiteral("دينار جزائري")},
                           {dinar_ + 1, QStringLiteral("Euro"), QStringLiteral("أورو")},
                           {dinar_ + 2, QStringLiteral("Dollar américain"), QStringLiteral("دولار أمريكي")}});
    }

    bool writeSuppliers()
    {
        supplier_ = cx_.nextId("FOURNISSEUR", "FOU_ID");
        int id = supplier_;
        QVector<QVariantList> rows;
        for (const SupplierDef &s : kSuppliers)
            rows.append({id++, text(s.name), 1, text(s.account), text(s.contact),
                         QString::fromLatin1(s.country), text(s.address), text(s.phone)});
        return cx_.insert("FOURNISSEUR",
                          columns({"FOU_ID", "FOU_LIBELLE", "FOU_TYP", "FOU_COMPTE", "FOU_CONTACT",
                                   "PAY_ID", "FOU_ADRESSE", "FOU_TEL"}),
                          rows);
    }

    // This year's budget; one commitment on the first chapter, so that the
    // debits of the budget and of the chapter are that commitment.
    bool writeBudget()
    {
        const int year = cx_.today.year();
        const QDateTime created(QDate(year, 1, 2), QTime(9, 0));
        const QDate committed = cx_.openOnOrAfter(qMax(QDate(year, 1, 3), cx_.today.addDays(-30)));
        if (!cx_.insert("BUDGET",
                        columns({"BUD_ID", "BUD_MONTANT", "BUD_DEBIT", "CREATE_USER", "CREATE_DATE"}),
                        {{year, money(kBudget * 100), money(kCommitment * 100), QStringLiteral("resp.acq"),
                          created}}))
            return false;
        int chapter = cx_.nextId("CHAPITRE", "CHP_ID");
        const int first = chapter;
        QVector<QVariantList> rows;
        for (const ChapterDef &c : kChapters) {
            const qint64 debit = chapter == first ? kCommitment : 0;
            rows.append({chapter++, year, text(c.title), money(c.amount * 100), money(debit * 100)});
        }
        return cx_.insert("CHAPITRE",
                          columns({"CHP_ID", "BUD_ID", "CHP_INTITULE", "CHP_MONTANT", "CHP_DEBIT"}),
                          rows)
            && cx_.insert("ENGAGEMENT",
                          columns({"ENG_ID", "CHP_ID", "ENG_DATE", "ENG_MODE_PAIEMENT", "ENG_MONTANT",
                                   "ENG_DEBIT", "CREATE_USER", "CREATE_DATE"}),
                          {{cx_.nextId("ENGAGEMENT", "ENG_ID"), first, committed,
                            QStringLiteral("Virement bancaire"), money(kCommitment * 100), money(0),
                            QStringLiteral("resp.acq"), QDateTime(committed, QTime(11, 30))}});
    }

    // An order being prepared (status 1) with the first supplier, in dinars.
    bool writeOrder()
    {
        const int order = cx_.nextId("ACQUISITION", "ACQ_ID");
        const QDate dated = cx_.openOnOrBefore(cx_.today.addDays(-10));
        const QDate expected = cx_.openOnOrAfter(cx_.today.addDays(20));
        int line = cx_.nextId("ACQUISITION_LIGNE", "ACQ_LIGNE_ID");
        qint64 total = 0;
        QVector<QVariantList> rows;
        for (const OrderLineDef &l : kOrderLines) {
            const Record *rec = cat_.find(text(l.title));
            if (!rec)
                return cx_.fail(QStringLiteral("no record \"%1\" to order").arg(text(l.title)));
            const qint64 amount = l.price * 100 * l.copies;
            total += amount;
            rows.append({line++, order, rec->docId, rec->reference, l.copies, money(l.price * 100),
                         money(amount), 0, expected});
        }
        return cx_.insert("ACQUISITION",
                          columns({"ACQ_ID", "ACQ_TYP", "ACQ_NUMERO", "ACQ_DATE", "ACQ_STATUT",
                                   "FOU_ID", "MON_ID", "ACQ_TOTAL", "CREATE_USER", "CREATE_DATE"}),
                          {{order, 2, QStringLiteral("BC %1/%2").arg(ZeroPad(1, 3)).arg(dated.year()),
                            dated, 1, supplier_, dinar_, money(total), QStringLiteral("agent.acq"),
                            QDateTime(dated, QTime(14, 5))}})
            && cx_.insert("ACQUISITION_LIGNE",
                          columns({"ACQ_LIGNE_ID", "ACQ_ID", "DOC_ID", "ACQ_REFERENCE",
                                   "ACQ_EXEMPLAIRE", "ACQ_PRIX", "ACQ_MONTANT", "ACQ_NBR_LIVRE",
                                   "ACQ_DATE_LIVRAISON"}),
                          rows);
    }

    bool writeSuggestions()
    {
        int id = cx_.nextId("SUGGESTION", "SUG_ID");
        QVector<QVariantList> rows;
        for (const SuggestionDef &s : kSuggestions)
            rows.append({id++, text(s.title), text(s.author), text(s.publisher), money(s.price * 100),
                         cx_.openOnOrBefore(cx_.today.addDays(-s.daysAgo)), text(s.comment)});
        return cx_.insert("SUGGESTION",
                          columns({"SUG_ID", "SUG_TITRE", "SUG_AUTEUR", "SUG_EDITEUR", "SUG_PRIX",
                                   "SUG_DATE", "SUG_COMMENTAIRE"}),
                          rows);
    }

    Context &cx_;
    const Catalogue &cat_;
    int dinar_ = 0;
    int supplier_ = 0;
};

// Weekly closing days from the parameter row (1 = Sunday ... 7 = Saturday;
// Friday and Saturday when unreadable); closed periods: the fixed public
// holidays of this year and the summer closure.
void setCalendar(Context &cx)
{
    SqlRows q = cx.db.query(QStringLiteral("SELECT WEEKEND1, WEEKEND2 FROM PARAMETRE"));
    if (q.isActive() && q.next()) {
        for (int i = 0; i < 2; ++i) {
            const int w = q.value(i).toInt();
            if (w >= 1 && w <= 7)
                cx.closedWeekdays.append((w + 5) % 7 + 1);
        }
    }
    if (cx.closedWeekdays.isEmpty())
        cx.closedWeekdays = {5, 6};
    const int y = cx.today.year();
    cx.closedPeriods = {{QDate(y, 1, 1), QDate(y, 1, 1)},  {QDate(y, 5, 1), QDate(y, 5, 1)},
                        {QDate(y, 7, 5), QDate(y, 7, 5)},  {QDate(y, 8, 1), QDate(y, 8, 20)},
                        {QDate(y, 11, 1), QDate(y, 11, 1)}};
}

// Refuses a database that already holds any of the demo's users.
bool alreadyWritten(Context &cx, bool *written)
{
    for (const UserDef &u : users()) {
        const QString login = QLatin1String(u.login);
        bool ok = false;
        const QVariant n = cx.db.scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR WHERE UTL_LOGIN = ?"),
                                        {login}, &ok);
        if (!ok)
            return cx.fail(QStringLiteral("cannot read the users: ") + cx.db.lastError().text());
        if (n.toInt() > 0) {
            cx.why = QStringLiteral("the demo data is already there (the user \"%1\" exists)").arg(login);
            *written = true;
            return true;
        }
    }
    *written = false;
    return true;
}

} // namespace
} // namespace demo

bool populateDemo(Database &db, DemoSummary *summary, QString *why)
{
    demo::Context cx(db, QDate::currentDate());
    const auto failed = [&] {
        if (why)
            *why = cx.why.isEmpty() ? db.lastError().text() : cx.why;
        return false;
    };
    bool written = false;
    if (!demo::alreadyWritten(cx, &written) || written)
        return failed();
    demo::setCalendar(cx);

    Transaction tx(db);
    if (!tx.isActive()) {
        cx.fail(QStringLiteral("cannot begin a transaction: ") + db.lastError().text());
        return failed();
    }
    DemoSummary s;
    demo::Catalogue catalogue;
    if (!demo::writeUsers(cx, &s.users) || !demo::writeCatalogue(cx, &catalogue))
        return failed();
    demo::Circulation circulation(cx, catalogue);
    demo::Acquisitions acquisitions(cx, catalogue);
    if (!circulation.run(&s.readers) || !acquisitions.run())
        return failed();
    if (!tx.commit()) {
        cx.fail(QStringLiteral("commit failed: ") + db.lastError().text());
        return failed();
    }
    s.records = int(catalogue.records.size());
    s.copies = catalogue.copies;
    if (summary)
        *summary = s;
    return true;
}

} // namespace folian
