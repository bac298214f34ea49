#include "circulation/core/readerimport.h"

#include "base/rights.h"

#include "base/cp1256.h"
#include "base/dates.h"
#include "base/messages.h"
#include "base/progress.h"
#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/readers.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/schema.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace folian {

namespace {

// Rows saved per transaction: a stop or a failure loses none of the rows
// already reported imported.
constexpr int kBatch = 100;

struct Field {
    const char *column;
    QString french, arabic;
};

// The text fields of a line, in file order, with their names for the messages.
const Field kTextFields[] = {
    {"LEC_ID", QStringLiteral("N° lecteur"), QStringLiteral("رقم القارئ")},
    {"LEC_NOM", QStringLiteral("Nom"), QStringLiteral("اللقب")},
    {"LEC_PRENOM", QStringLiteral("Prénom"), QStringLiteral("الاسم")},
    {nullptr, {}, {}},  // date of birth
    {"LEC_ADRESSE", QStringLiteral("Adresse"), QStringLiteral("العنوان")},
};

int columnSize(const char *column)
{
    const TableDef *t = Schema::table(QStringLiteral("LECTEUR"));
    const ColumnDef *c = t ? t->column(QLatin1String(column)) : nullptr;
    return c && c->size > 0 ? c->size : 255;
}

QVariant textOrNull(const QString &s) { return s.isEmpty() ? QVariant() : QVariant(s); }

class Importer
{
public:
    Importer(Database &db, const ReaderImportOptions &o, ReaderImportResult &r) : db_(db), options_(o), result_(r)
    {
        const QString login = session().CurrentUserLogin;
        creator_ = textOrNull(login);
        created_ = db.dialect().toDb(ServerDate(db), ColType::DateTime);
    }

    // False once the import cannot go on (result_.error says why).
    bool canGoOn() const { return result_.error.isEmpty(); }

    void line(int number, const QString &text)
    {
        if (text.contains(QChar(0)))
            return skip(number, circ::importNulCharacter());
        QStringList f = text.split(u';');
        while (f.size() < 5)
            f << QString();
        for (int i = 0; i < 5; ++i)
            f[i] = f.at(i).trimmed();
        const QString id = f.at(0);
        if (id.isEmpty())
            return skip(number, circ::importEmptyNumber());
        for (int i = 0; i < 5; ++i)
            if (kTextFields[i].column && f.at(i).size() > columnSize(kTextFields[i].column))
                return skip(number, circ::importTooLong(tr2(kTextFields[i].french, kTextFields[i].arabic)));
        QVariant born;
        if (!f.at(3).isEmpty()) {
            const QDate d = parseImportDate(f.at(3));
            if (!d.isValid())
                return skip(number, circ::importBadDate(f.at(3)));
            born = db_.dialect().toDb(d, ColType::Date);
        }
        if (const auto earlier = lines_.constFind(id); earlier != lines_.constEnd())
            return skip(number, circ::importDuplicateInFile(id, *earlier));
        if (!readerNumberRefusal(db_, id).isEmpty())
            return skip(number, circ::importDuplicate(id));
        if (!batch_ && !beginBatch())
            return;
        Transaction row(db_);
        const bool ok = db_.exec(
            QStringLiteral("INSERT INTO LECTEUR (LEC_ID, LEC_NOM, LEC_PRENOM, LEC_DATE_NAISSANCE, LEC_ADRESSE, "
                           "CAT_ID, STR_ID, LEC_DATE_ADHESION, LEC_STATUT, LEC_STAT_PRET, BIB_ID, CREATE_USER, "
                           "CREATE_DATE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0, ?, ?)"),
            {id, textOrNull(f.at(1)), textOrNull(f.at(2)), born, textOrNull(f.at(4)), options_.categoryId,
             options_.structureId, db_.dialect().toDb(options_.registrationDate, ColType::Date), creator_, created_});
        if (!ok) {
            const QSqlError e = db_.lastError();
            return skip(number, db_.dialect().isDuplicateKey(e) ? circ::importDuplicate(id) : circ::importNotSaved(e.text()));
        }
        row.commit();
        lines_.insert(id, number);
        pending_ << number;
        if (pending_.size() >= kBatch)
            commit();
    }

    // Saves the rows of the current batch; when that fails they are listed as skipped.
    void commit()
    {
        if (!batch_)
            return;
        const bool ok = batch_->commit();
        const QString why = db_.lastError().text();
        batch_.reset();
        if (ok) {
            result_.imported += int(pending_.size());
        } else {
            for (const int line : std::as_const(pending_))
                result_.skipped << SkippedLine{line, circ::importNotSaved(why)};
        }
        pending_.clear();
    }

private:
    void skip(int number, const QString &reason) { result_.skipped << SkippedLine{number, reason}; }

    // Each batch holds the chosen category and structure: they are not
    // deleted while readers are put into them, and a batch does not begin
    // once one of them is gone.
    bool beginBatch()
    {
        batch_.emplace(db_);
        const Dialect &d = db_.dialect();
        if (!batch_->isActive() || !db_.exec(d.lockRow(QStringLiteral("CATEGORIE"), QStringLiteral("CAT_ID")), {options_.categoryId})
            || (!IsBlank(options_.structureId)
                && !db_.exec(d.lockRow(QStringLiteral("STRUCTURE"), QStringLiteral("STR_ID")), {options_.structureId}))) {
            result_.error = circ::importNotSaved(db_.lastError().text());
        } else if (!db_.scalar(QStringLiteral("SELECT CAT_ID FROM CATEGORIE WHERE CAT_ID = ?"), {options_.categoryId}).isValid()) {
            result_.error = circ::importNoCategory();
        } else if (!IsBlank(options_.structureId)
                   && !db_.scalar(QStringLiteral("SELECT STR_ID FROM STRUCTURE WHERE STR_ID = ?"), {options_.structureId})
                           .isValid()) {
            result_.error = circ::importNoStructure();
        }
        if (canGoOn())
            return true;
        batch_.reset();
        return false;
    }

    Database &db_;
    const ReaderImportOptions &options_;
    ReaderImportResult &result_;
    QVariant creator_, created_;
    std::optional<Transaction> batch_;
    QList<int> pending_;          // lines saved in the open batch
    QHash<QString, int> lines_;   // the numbers saved, with their lines
};

} // namespace

QString ReaderImportResult::summary() const
{
    const int skippedCount = int(skipped.size());
    return (stopped ? circ::importStopped() : circ::importDone()) + u'\n'
        + circ::importCounts(lines, imported, skippedCount, blank);
}

QStringList ReaderImportResult::skippedLines() const
{
    QStringList out;
    for (const SkippedLine &l : skipped)
        out << circ::importSkippedLine(l.line, l.reason);
    return out;
}

QDate parseImportDate(const QString &text)
{
    bool twoDigitYear = false;
    const QDate d = ReadDate(text, &twoDigitYear);
    // A date of birth is not in the future.
    return twoDigitYear && d.isValid() && d > QDate::currentDate() ? d.addYears(-100) : d;
}

ReaderImportResult importReaders(Database &db, const QString &path, const ReaderImportOptions &options,
                                 Progress *progress)
{
    ReaderImportResult result;
    if (const QString refusal = rightRefusal(Right::CirculLecteur, session()); !refusal.isEmpty()) {
        result.error = refusal;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = circ::importUnreadable(path);
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = circ::importUnreadable(path);
        return result;
    }
    result.readable = true;
    if (!db.scalar(QStringLiteral("SELECT CAT_ID FROM CATEGORIE WHERE CAT_ID = ?"), {options.categoryId}).isValid()) {
        result.error = circ::importNoCategory();
        return result;
    }
    ReaderImportOptions o = options;
    if (!o.registrationDate.isValid())
        o.registrationDate = serverToday(db);
    if (!IsBlank(o.structureId)) {
        o.structureId = o.structureId.toInt();
        if (!db.scalar(QStringLiteral("SELECT STR_ID FROM STRUCTURE WHERE STR_ID = ?"), {o.structureId}).isValid()) {
            result.error = circ::importNoStructure();
            return result;
        }
    } else {
        o.structureId = QVariant();
    }

    // Lines end with a line feed, a carriage return and a line feed, or a carriage return alone.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = decodeText(bytes).split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the file's last line break
    const int total = int(lines.size());
    Importer importer(db, o, result);
    for (int i = 0; i < total && importer.canGoOn(); ++i) {
        const QString &text = lines.at(i);
        ++result.lines;
        if (text.trimmed().isEmpty())
            ++result.blank;
        else
            importer.line(i + 1, text);
        if (progress) {
            progress->step(i + 1, total, tr2(QStringLiteral("Ligne "), QStringLiteral("السطر ")) + QString::number(i + 1));
            if (progress->stopped() && i + 1 < total) {
                result.stopped = true;
                break;
            }
        }
    }
    importer.commit();
    std::sort(result.skipped.begin(), result.skipped.end(),
              [](const SkippedLine &a, const SkippedLine &b) { return a.line < b.line; });
    return result;
}

} // namespace folian
