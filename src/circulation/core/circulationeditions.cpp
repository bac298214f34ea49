#include "circulation/core/circulationeditions.h"

#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/reminders.h"
#include "data/core/dialect.h"

namespace folian {

namespace {

// A column whose page heading is its grid title, or another title when given.
EditionColumn col(const char *field, const char16_t *french, const char16_t *arabic, int width,
                  ColumnKind kind = ColumnKind::Text, const char16_t *pageFrench = nullptr,
                  const char16_t *pageArabic = nullptr)
{
    EditionColumn c;
    c.field = QLatin1String(field);
    c.french = QString::fromUtf16(french);
    c.arabic = QString::fromUtf16(arabic);
    c.page = reportColumn(pageFrench ? QString::fromUtf16(pageFrench) : c.french,
                          pageArabic ? QString::fromUtf16(pageArabic) : c.arabic, width, kind);
    return c;
}

QList<EditionColumn> documentColumns()
{
    return {col("EXP_ID", u"N° exemplaire", u"رقم النسخة", 80, ColumnKind::Text, u"Numéro", u"الرقم"),
            col("EXP_COTE", u"Cote", u"رمز الترتيب", 60),
            col("TITRE", u"Titre", u"العنوان", 260),
            col("TYPE", u"Type document", u"نوع الوثيقة", 40, ColumnKind::Text, u"Type de document"),
            col("EXP_PRIX", u"Prix unitaire", u"سعر الوحدة", 50, ColumnKind::Money),
            col("NUM_LECTEUR", u"N° lecteur", u"رقم القارئ", 80),
            col("LEC_NOM", u"Nom", u"اللقب", 50),
            col("LEC_PRENOM", u"Prénom", u"الاسم", 50),
            col("CAT_LIBELLE", u"Catégorie", u"الفئة", 50),
            col("EXP_DATE_PRET", u"Date prêt", u"تاريخ الإعارة", 50, ColumnKind::Date),
            col("EXP_DATE_RETOUR", u"Date retour", u"تاريخ الإرجاع", 50, ColumnKind::Date),
            col("EXP_DATE_RESERVATION", u"Date réservation", u"تاريخ الحجز", 50, ColumnKind::Date)};
}

QList<EditionColumn> readerColumns(bool motif)
{
    QList<EditionColumn> out{
        col("LEC_ID", u"N° lecteur", u"رقم القارئ", 120, ColumnKind::Text, u"Numéro", u"الرقم"),
        col("LEC_NOM", u"Nom", u"اللقب", 200),
        col("LEC_PRENOM", u"Prénom", u"الاسم", 200),
        col("CAT_LIBELLE", u"Catégorie", u"الفئة", 150),
        col("NBR", u"Nbr. document", u"عدد الوثائق", 100, ColumnKind::Number, u"Nbr.Documents")};
    if (motif)
        out << col("LEC_MOTIF", u"Motif", u"السبب", 120);
    return out;
}

QList<EditionColumn> interLibraryColumns()
{
    return {col("PEB_EXP_ID", u"N° exemplaire", u"رقم النسخة", 60),
            col("PEB_TITRE", u"Titre", u"العنوان", 250),
            col("PEB_AUTEUR", u"Auteur", u"المؤلف", 150),
            col("LEC_ID", u"N° lecteur", u"رقم القارئ", 60),
            col("LEC_NOM", u"Nom", u"اللقب", 50),
            col("LEC_PRENOM", u"Prénom", u"الاسم", 50),
            col("BIB_PRET", u"Date prêt", u"تاريخ الإعارة", 50, ColumnKind::Date),
            col("BIB_RETOUR", u"Date retour", u"تاريخ الإرجاع", 50, ColumnKind::Date)};
}

CirculationEdition edition(CirculationList list, EditionTab tab, const char *button, const char16_t *caption,
                           const char16_t *arabic, const char *fileName, const char16_t *page,
                           const char16_t *pageArabic)
{
    CirculationEdition e;
    e.list = list;
    e.tab = tab;
    e.button = QLatin1String(button);
    e.caption = QString::fromUtf16(caption);
    // The list's name as its button says it, with the blank its title keeps before "(PEB)".
    QString name = e.caption;
    name.replace(QStringLiteral("(PEB)"), QStringLiteral(" (PEB)"));
    e.screenFrench = QStringLiteral("Edition - ") + name;
    e.screenArabic = QStringLiteral("التقارير - ") + QString::fromUtf16(arabic);
    e.fileName = QLatin1String(fileName);
    e.pageFrench = QString::fromUtf16(page);
    e.pageArabic = QString::fromUtf16(pageArabic);
    switch (tab) {
    case EditionTab::Documents:
        e.table = QStringLiteral("NOTICE_EXEMPLAIRE");
        e.columns = documentColumns();
        break;
    case EditionTab::Readers:
        e.table = QStringLiteral("LECTEUR");
        e.columns = readerColumns(list == CirculationList::Suspended);
        break;
    case EditionTab::InterLibrary:
        e.table = QStringLiteral("PEB");
        e.columns = interLibraryColumns();
        break;
    }
    return e;
}

QList<CirculationEdition> makeEditions()
{
    using L = CirculationList;
    using T = EditionTab;
    const char16_t *pebBorrowed = u"الوثائق المعارة (الإعارة بين المكتبات)";
    const char16_t *pebOverdue = u"الوثائق غير المرجعة (الإعارة بين المكتبات)";
    return {
        edition(L::Borrowed, T::Documents, "BtnDocEmpruntes", u"Documents empruntés", u"الوثائق المعارة",
                "DocEmpruntes.html", u"Documents empruntés", u"الوثائق المعارة"),
        edition(L::Overdue, T::Documents, "BtnDocNonRemis", u"Documents non remis", u"الوثائق غير المرجعة",
                "DocNonRemis.html", u"Documents non remis", u"الوثائق غير المرجعة"),
        edition(L::Lost, T::Documents, "BtnDocPerdus", u"Documents perdus", u"الوثائق المفقودة", "DocPerdus.html",
                u"Documents perdus", u"الوثائق المفقودة"),
        edition(L::Reserved, T::Documents, "BtnDocReserves", u"Documents réservés", u"الوثائق المحجوزة",
                "DocReserves.html", u"Documents résevés", u"الوثائق المحجوزة"),
        edition(L::Suspended, T::Readers, "BtnLecSuspendus", u"Lecteurs suspendus", u"القراء الموقوفون",
                "LecSuspendus.html", u"Lecteurs suspendus", u"القراء الموقوفون"),
        edition(L::Penalised, T::Readers, "BtnLecPenalises", u"Lecteurs pénalisés", u"القراء المعاقبون",
                "LecPenalises.html", u"Lecteurs pénalisés", u"القراء المعاقبون"),
        edition(L::LateReaders, T::Readers, "BtnLecRetardataires", u"Lecteurs retardataires", u"القراء المتأخرون",
                "LecIrreguliers.html", u"Lecteurs en situatiosn irréguliére", u"القراء في وضعية غير قانونية"),
        edition(L::InterLibraryBorrowed, T::InterLibrary, "BtnPebEmpruntes", u"Documents empruntés(PEB)",
                pebBorrowed, "DocEmpruntesPEB.html", u"Documents empruntés (PEB)", pebBorrowed),
        edition(L::InterLibraryOverdue, T::InterLibrary, "BtnPebNonRemis", u"Documents non remis(PEB)",
                pebOverdue, "DocNonRemisPEB.html", u"Documents non remis (PEB)", pebOverdue),
    };
}

// A document list with the reader of each copy in `reader`: the borrower
// in every list, the reservations' included.
QString documentListSql(const QString &reader, const QString &condition)
{
    const QString typeLabel = QStringLiteral("T.TYP_LIBELLE") + session().LanguageSuffix;
    return QStringLiteral("SELECT E.EXP_ID, E.EXP_COTE, ") + recordTitleSql(QStringLiteral("E.DOC_ID"))
        + QStringLiteral(" AS TITRE, (SELECT ") + typeLabel
        + QStringLiteral(" FROM TYPE_DOCUMENT T WHERE T.TYP_ID IN "
                         "(SELECT N2.TYP_ID FROM NOTICE N2 WHERE N2.DOC_ID = E.DOC_ID)) AS TYPE, "
                         "E.EXP_PRIX, E.%1 AS NUM_LECTEUR, "
                         "(SELECT R.LEC_NOM FROM LECTEUR R WHERE R.LEC_ID = E.%1) AS LEC_NOM, "
                         "(SELECT R.LEC_PRENOM FROM LECTEUR R WHERE R.LEC_ID = E.%1) AS LEC_PRENOM, "
                         "(SELECT C.CAT_LIBELLE FROM CATEGORIE C WHERE C.CAT_ID IN "
                         "(SELECT R.CAT_ID FROM LECTEUR R WHERE R.LEC_ID = E.%1)) AS CAT_LIBELLE, "
                         "E.EXP_DATE_PRET, E.EXP_DATE_RETOUR, E.EXP_DATE_RESERVATION "
                         "FROM NOTICE_EXEMPLAIRE E WHERE ")
               .arg(reader)
        + condition + QStringLiteral(" ORDER BY EXP_ID");
}

// The copy names a reader in that column: an empty number names nobody.
QString onCard(const QString &column)
{
    return QStringLiteral("E.%1 IS NOT NULL AND E.%1 <> ''").arg(column);
}

QString readerListSql(bool motif, const QString &condition)
{
    return QStringLiteral("SELECT L.LEC_ID, L.LEC_NOM, L.LEC_PRENOM, "
                          "(SELECT C.CAT_LIBELLE FROM CATEGORIE C WHERE C.CAT_ID = L.CAT_ID) AS CAT_LIBELLE, "
                          "(SELECT COUNT(E.EXP_ID) FROM NOTICE_EXEMPLAIRE E WHERE E.LEC_ID = L.LEC_ID) "
                          "+ (SELECT COUNT(P.PEB_ID) FROM PEB P WHERE P.LEC_ID = L.LEC_ID AND P.BIB_REMIS = 0) AS NBR")
        + (motif ? QStringLiteral(", L.LEC_MOTIF") : QString()) + QStringLiteral(" FROM LECTEUR L WHERE ")
        + condition + QStringLiteral(" ORDER BY LEC_ID");
}

QString interLibraryListSql(const QString &condition)
{
    return QStringLiteral("SELECT P.PEB_EXP_ID, P.PEB_TITRE, P.PEB_AUTEUR, P.LEC_ID, "
                          "(SELECT R.LEC_NOM FROM LECTEUR R WHERE R.LEC_ID = P.LEC_ID) AS LEC_NOM, "
                          "(SELECT R.LEC_PRENOM FROM LECTEUR R WHERE R.LEC_ID = P.LEC_ID) AS LEC_PRENOM, "
                          "P.BIB_PRET, P.BIB_RETOUR, P.PEB_ID FROM PEB P WHERE P.BIB_REMIS = 0")
        + condition + QStringLiteral(" ORDER BY PEB_ID");
}

} // namespace

QString CirculationEdition::screenTitle() const { return tr2(screenFrench, screenArabic); }

const QList<CirculationEdition> &circulationEditions()
{
    static const QList<CirculationEdition> editions = makeEditions();
    return editions;
}

const CirculationEdition &circulationEdition(CirculationList list)
{
    return circulationEditions().at(int(list));
}

SqlText circulationListSql(const Dialect &dialect, CirculationList list, const QDate &today)
{
    const QVariant day = dialect.toDb(today, ColType::Date);
    const QString borrower = QStringLiteral("LEC_ID");
    switch (list) {
    case CirculationList::Borrowed:
        return {documentListSql(borrower, onCard(borrower)), {}};
    case CirculationList::Overdue:
        return {documentListSql(borrower, onCard(borrower) + QStringLiteral(" AND E.EXP_DATE_RETOUR < ?")), {day}};
    case CirculationList::Lost:
        return {documentListSql(borrower, QStringLiteral("E.STA_EXP_ID = 6")), {}};
    case CirculationList::Reserved:
        return {documentListSql(borrower, onCard(QStringLiteral("LEC_ID2"))), {}};
    case CirculationList::Suspended:
        return {readerListSql(true, QStringLiteral("L.LEC_STATUT IN (2, 3)")), {}};
    case CirculationList::Penalised:
        return {readerListSql(false, QStringLiteral("L.LEC_STATUT IN (1, 3)")), {}};
    case CirculationList::LateReaders:
        return {readerListSql(false, QStringLiteral("L.LEC_ID IN (") + lateReaderIdsSql(ReminderKind::Loans)
                                         + QStringLiteral(") OR L.LEC_ID IN (")
                                         + lateReaderIdsSql(ReminderKind::InterLibrary) + u')'),
                {day, day}};
    case CirculationList::InterLibraryBorrowed:
        return {interLibraryListSql(QString()), {}};
    case CirculationList::InterLibraryOverdue:
        return {interLibraryListSql(QStringLiteral(" AND P.BIB_RETOUR < ?")), {day}};
    }
    return {};
}

Report circulationListReport(const Dialect &dialect, CirculationList list, const QDate &today)
{
    const CirculationEdition &e = circulationEdition(list);
    Report r;
    r.fileName = e.fileName;
    r.french = e.pageFrench;
    r.arabic = e.pageArabic;
    r.letterhead = true;
    for (const EditionColumn &c : e.columns)
        r.columns << c.page;
    const SqlText sql = circulationListSql(dialect, list, today);
    r.sql = sql.sql;
    r.binds = sql.binds;
    return r;
}

} // namespace folian
