#include "circulation/core/reminders.h"

#include "base/rights.h"

#include "base/messages.h"
#include "base/progress.h"
#include "circulation/core/circulationtexts.h"
#include "data/core/database.h"
#include "reports/core/letter.h"

#include <QDir>
#include <QSet>
#include <QSqlRecord>

namespace folian {

namespace {

// The readers listed, with the labels of their category and structure; the
// condition follows.
const QString kReaderList = QStringLiteral(
    "SELECT L.*, "
    "(SELECT C.CAT_LIBELLE FROM CATEGORIE C WHERE C.CAT_ID = L.CAT_ID) AS CAT_LIBELLE, "
    "(SELECT S.STR_LIBELLE FROM STRUCTURE S WHERE S.STR_ID = L.STR_ID) AS STR_LIBELLE "
    "FROM LECTEUR L WHERE ");

ReportColumn column(const char16_t *french, const char16_t *arabic, int width, ColumnKind kind = ColumnKind::Text)
{
    return reportColumn(QString::fromUtf16(french), QString::fromUtf16(arabic), width, kind);
}

// The table of the letter and, for each column, the field of lateLoansSql it shows.
struct LetterTable {
    QList<ReportColumn> columns;
    QStringList fields;
};

LetterTable letterTable(ReminderKind kind)
{
    if (kind == ReminderKind::Loans)
        return {{column(u"N° exemplaire", u"رقم النسخة", 100), column(u"Cote", u"رمز الترتيب", 60),
                 column(u"Titre", u"العنوان", 280), column(u"Date prêt", u"تاريخ الإعارة", 90, ColumnKind::Date),
                 column(u"Date retour", u"تاريخ الإرجاع", 90, ColumnKind::Date)},
                {QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE"), QStringLiteral("TITRE_COMPLET"),
                 QStringLiteral("EXP_DATE_PRET"), QStringLiteral("EXP_DATE_RETOUR")}};
    return {{column(u"N° exemplaire", u"رقم النسخة", 100), column(u"Titre", u"العنوان", 280),
             column(u"Auteur", u"المؤلف", 140), column(u"Bibliothèque", u"المكتبة", 140),
             column(u"Date prêt", u"تاريخ الإعارة", 90, ColumnKind::Date),
             column(u"Date retour", u"تاريخ الإرجاع", 90, ColumnKind::Date)},
            {QStringLiteral("PEB_EXP_ID"), QStringLiteral("PEB_TITRE"), QStringLiteral("PEB_AUTEUR"),
             QStringLiteral("BIB_NOM"), QStringLiteral("BIB_PRET"), QStringLiteral("BIB_RETOUR")}};
}

ReportResult failure(const QString &message)
{
    ReportResult r;
    r.message = message;
    return r;
}

// A reader's number as part of a file name.
QString fileNamePart(const QString &readerId)
{
    QString out;
    for (const QChar c : readerId.trimmed())
        out += c.isLetterOrNumber() || c == u'-' ? c : u'_';
    return out.isEmpty() ? QStringLiteral("_") : out;
}

} // namespace

QString lateReaderIdsSql(ReminderKind kind)
{
    return kind == ReminderKind::Loans
        ? QStringLiteral("SELECT E.LEC_ID FROM NOTICE_EXEMPLAIRE E WHERE E.EXP_DATE_RETOUR < ?")
        : QStringLiteral("SELECT P.LEC_ID FROM PEB P WHERE P.BIB_REMIS = 0 AND P.BIB_RETOUR < ?");
}

SqlText lateReadersSql(const Dialect &dialect, ReminderKind kind, const QDate &today)
{
    return {kReaderList + QStringLiteral("L.LEC_ID IN (") + lateReaderIdsSql(kind) + QStringLiteral(") ORDER BY LEC_ID"),
            {dialect.toDb(today, ColType::Date)}};
}

int lateReaderCount(Database &db, ReminderKind kind, const QDate &today)
{
    bool ok = false;
    const QVariant n = db.scalar(QStringLiteral("SELECT COUNT(*) FROM LECTEUR L WHERE L.LEC_ID IN (")
                                     + lateReaderIdsSql(kind) + u')',
                                 {db.dialect().toDb(today, ColType::Date)}, &ok);
    return ok ? n.toInt() : -1;
}

SqlText lateLoansSql(const Dialect &dialect, ReminderKind kind, const QString &readerId, const QDate &today)
{
    const QVariant day = dialect.toDb(today, ColType::Date);
    if (kind == ReminderKind::Loans)
        return {QStringLiteral("SELECT E.*, "
                               "(SELECT N.DOC_TITRE_PROPRE FROM NOTICE N WHERE N.DOC_ID = E.DOC_ID) AS TITRE, ")
                    + recordTitleSql(QStringLiteral("E.DOC_ID"))
                    + QStringLiteral(" AS TITRE_COMPLET FROM NOTICE_EXEMPLAIRE E "
                                     "WHERE E.LEC_ID = ? AND E.EXP_DATE_RETOUR < ? ORDER BY EXP_DATE_RETOUR, EXP_ID"),
                {readerId, day}};
    return {QStringLiteral("SELECT P.*, (SELECT B.BIB_NOM FROM BIBLIOTHEQUE B WHERE B.BIB_ID = P.BIB_ID) AS BIB_NOM "
                           "FROM PEB P WHERE P.LEC_ID = ? AND P.BIB_REMIS = 0 AND P.BIB_RETOUR < ? "
                           "ORDER BY BIB_RETOUR, PEB_ID"),
            {readerId, day}};
}

ReportResult writeReminder(Database &db, ReminderKind kind, const QString &readerId, const QDate &today,
                           const QString &directory, const QString &fileName)
{
    SqlRows reader = db.query(QStringLiteral("SELECT LEC_ID, LEC_NOM, LEC_PRENOM, LEC_ADRESSE FROM LECTEUR "
                                             "WHERE LEC_ID = ?"),
                              {readerId});
    if (!reader.next())
        return failure(reader.isActive() ? circ::readerUnknown(readerId) : db.lastError().text());
    Letter letter;
    letter.fileName = fileName.isEmpty() ? QStringLiteral("relancelecteur.html") : fileName;
    letter.directory = directory;
    letter.title = circ::reminderLetterTitle();
    letter.fields = {
        {tr2(QStringLiteral("N° lecteur : "), QStringLiteral("رقم القارئ : ")), reader.value(0).toString()},
        {tr2(QStringLiteral("Nom : "), QStringLiteral("اللقب : ")), reader.value(1).toString()},
        {tr2(QStringLiteral("Prénom : "), QStringLiteral("الاسم : ")), reader.value(2).toString()},
        {tr2(QStringLiteral("Adresse : "), QStringLiteral("العنوان : ")), reader.value(3).toString()},
    };
    bool ok = false;
    letter.text = db.scalar(QStringLiteral("SELECT RELANCE_LECTEUR FROM PARAMETRE"), {}, &ok).toString();
    if (!ok)
        return failure(db.lastError().text());

    const LetterTable table = letterTable(kind);
    LetterSection section;
    section.columns = table.columns;
    const SqlText loans = lateLoansSql(db.dialect(), kind, readerId, today);
    SqlRows q = db.query(loans.sql, loans.binds);
    if (!q.isActive())
        return failure(db.lastError().text());
    QList<int> at;
    for (const QString &f : table.fields)
        at << q.record().indexOf(f);
    while (q.next()) {
        QVariantList row;
        for (int i : std::as_const(at))
            row << q.value(i);
        section.rows << row;
    }
    if (q.lastError().isValid())
        return failure(q.lastError().text());
    letter.tables << section;
    return writeLetter(db, letter);
}

bool writeAllReminders(Database &db, const QString &directory, const QDate &today, ReminderBatch *batch,
                       Progress *progress)
{
    if (const QString refusal = rightRefusal(Right::CirculLecteur, session()); !refusal.isEmpty()) {
        batch->message = refusal;
        return false;
    }
    if (!QDir().mkpath(directory)) {
        batch->message = tr2(QStringLiteral("Impossible de créer le dossier "), QStringLiteral("تعذر إنشاء المجلد "))
            + directory;
        return false;
    }
    // The readers of each kind first, then their letters: no list stays open while a letter is read.
    struct Late {
        ReminderKind kind;
        QString readerId;
    };
    QList<Late> late;
    for (const ReminderKind kind : {ReminderKind::Loans, ReminderKind::InterLibrary}) {
        const SqlText readers = lateReadersSql(db.dialect(), kind, today);
        SqlRows q = db.query(readers.sql, readers.binds);
        if (!q.isActive()) {
            batch->message = db.lastError().text();
            return false;
        }
        while (q.next())
            late << Late{kind, q.value(QStringLiteral("LEC_ID")).toString()};
    }
    QSet<QString> used;
    for (qsizetype i = 0; i < late.size(); ++i) {
        const Late &l = late.at(i);
        const QString stem = (l.kind == ReminderKind::Loans ? QStringLiteral("relance-pret-")
                                                            : QStringLiteral("relance-peb-"))
            + fileNamePart(l.readerId);
        QString name = stem + QStringLiteral(".html");
        for (int n = 2; used.contains(name.toLower()); ++n)
            name = stem + u'-' + QString::number(n) + QStringLiteral(".html");
        used.insert(name.toLower());
        const ReportResult r = writeReminder(db, l.kind, l.readerId, today, directory, name);
        if (!r.written()) {
            batch->message = r.message;
            return false;
        }
        batch->files << r.path;
        ++(l.kind == ReminderKind::Loans ? batch->loanLetters : batch->interLibraryLetters);
        if (progress) {
            progress->step(int(i + 1), int(late.size()), r.path);
            if (progress->stopped()) {
                batch->message = tr2(QStringLiteral("Arrêté."), QStringLiteral("توقف."));
                return false;
            }
        }
    }
    return true;
}

} // namespace folian
