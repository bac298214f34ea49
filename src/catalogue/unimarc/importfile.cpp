#include "catalogue/unimarc/importfile.h"

#include "base/messages.h"
#include "base/progress.h"
#include "base/rights.h"
#include "base/session.h"
#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/splitter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace folian::unimarc {

namespace {

// Importing into our catalogue needs the import right; into the union
// catalogue, for a partner library, is the administrator's.
QString importRightRefusal(int library)
{
    return library == 0 ? rightRefusal(Right::CatImport, session()) : administratorRefusal(session());
}


// Records written in one transaction: at most this many, for at most this
// long (other workstations wait for the batch to write theirs).
constexpr int kBatchRecords = 1000;
constexpr qint64 kBatchMs = 500;

ImportLogLine duplicateLine(const QString &title, qint64 offset)
{
    return {ImportLogLine::Kind::Duplicate, QStringLiteral("Existe --> ") + title, title, offset};
}

ImportLogLine errorLine(const QString &title, const QString &why)
{
    return {ImportLogLine::Kind::Error, QStringLiteral(" Erreur --> ") + title + QStringLiteral(" : ") + why, title, -1};
}

ImportLogLine remarkLine(const QString &title, const QString &what)
{
    return {ImportLogLine::Kind::Remark,
            tr2(QStringLiteral("Remarque --> %1 : %2"), QStringLiteral("ملاحظة --> %1 : %2")).arg(title, what), title, -1};
}

// What the reader and the mapping have to say of a record, counted; the
// lines go to the log with the record's outcome.
QStringList remarksOf(const ParseResult &parsed, const MappedRecord &m, ImportCounts &counts)
{
    QStringList out;
    if (parsed.charsetMismatch()) {
        ++counts.charsetMismatches;
        out << parsed.charsetRemark();
    }
    if (!parsed.remarks.isEmpty())
        ++counts.repaired;
    for (const QString &r : parsed.remarks)
        out << ignoredEntryMessage(r);
    counts.leftOut += m.remarks.size();
    out += m.remarks;
    return out;
}

QString noticesText(qint64 n)
{
    return tr2(QStringLiteral("%1 notices"), QStringLiteral("%1 بطاقة")).arg(n);
}

// The file's progress in thousandths.
int permille(qint64 done, qint64 size) { return size > 0 ? int(qMin<qint64>(1000, done * 1000 / size)) : 0; }

// Counts a record's outcome and writes its log lines, then its remarks.
void account(const RecordOutcome &r, qint64 offset, const QStringList &remarks, ImportCounts &counts,
             QList<ImportLogLine> *log)
{
    using S = RecordOutcome::Status;
    switch (r.status) {
    case S::Imported: ++counts.imported; break;
    case S::Attached:
        ++counts.imported;
        ++counts.attached;
        break;
    case S::Duplicate:
        ++counts.duplicates;
        if (log)
            log->append(duplicateLine(r.title, offset));
        break;
    case S::Untitled: ++counts.untitled; break;
    case S::Failed:
        ++counts.failed;
        if (log)
            log->append(errorLine(r.title, r.error));
        break;
    }
    counts.skippedRows += r.skipped.size();
    if (log) {
        for (const QString &why : r.skipped)
            log->append(errorLine(r.title, why));
        for (const QString &what : remarks)
            log->append(remarkLine(r.title, what));
    }
}

// The batch of records being written, and when to commit it.
struct Batch {
    RecordImporter &importer;
    ImportCounts &counts;
    QList<ImportLogLine> *log;
    QElapsedTimer clock;
    QHash<qint64, QStringList> remarks;  // by the record's offset in the file

    bool full() const { return importer.batchSize() >= kBatchRecords || clock.elapsed() >= kBatchMs; }
    bool begin()
    {
        clock.start();
        return importer.beginBatch(&counts.error);
    }
    // Commits, then counts and logs the batch's records; false when the commit failed.
    bool commit()
    {
        QList<BatchOutcome> outcomes;
        QString why;
        const bool ok = importer.commitBatch(&outcomes, &why);
        for (const BatchOutcome &o : std::as_const(outcomes))
            account(o.outcome, o.tag, remarks.take(o.tag), counts, log);
        remarks.clear();
        if (!ok)
            counts.error = why;
        return ok;
    }
};

} // namespace

QString ImportLogLine::stored() const
{
    return kind == Kind::Duplicate ? text + u'~' + QString::number(offset) : text;
}

ImportCounts importFile(Database &db, const QString &path, const RecordOptions &options, QList<ImportLogLine> *log,
                        Progress *progress)
{
    ImportCounts counts;
    if (counts.error = importRightRefusal(options.library); !counts.error.isEmpty())
        return counts;
    SilentScope silent;
    RecordSplitter splitter(path);
    if (!splitter.isOpen()) {
        counts.error = splitter.error();
        return counts;
    }
    const qint64 size = QFileInfo(path).size();
    RecordImporter importer(db);
    importer.holdLibrary(options.library);
    Batch batch{importer, counts, log, {}, {}};
    if (!importer.start(&counts.error) || !batch.begin())
        return counts;
    if (progress)
        progress->step(0, 1000, noticesText(0));
    RawRecord raw;
    bool stopped = false;
    while (!stopped && splitter.next(raw)) {
        ++counts.read;
        if (raw.status() == 'd' || raw.status() == 'x') {
            ++counts.deleted;
        } else if (const ParseResult parsed = parseRecord(raw); !parsed.ok()) {
            ++counts.malformed;
            if (log)
                log->append({ImportLogLine::Kind::Rejected, rejectionMessage(raw.ordinal, raw.offset, parsed.reason()),
                             QString(), -1});
        } else {
            QString why;
            const MappedRecord m = mapRecord(parsed.record, importer.context());
            if (const QStringList said = remarksOf(parsed, m, counts); !said.isEmpty())
                batch.remarks.insert(raw.offset, said);
            if (!importer.add(m, options, raw.offset, &why)) {
                // The database failed: nothing of the batch is kept.
                counts.failed += importer.batchSize() + 1;
                importer.rollbackBatch();
                counts.error = why;
                return counts;
            }
            if (batch.full() && (!batch.commit() || !batch.begin()))
                return counts;
        }
        if (progress) {
            progress->step(permille(splitter.bytesRead(), size), 1000, noticesText(counts.imported));
            stopped = progress->stopped();
        }
    }
    if (!batch.commit())
        return counts;
    if (!splitter.error().isEmpty())
        counts.error = splitter.error();
    else
        counts.completed = !stopped;
    if (progress)
        progress->step(1000, 1000, noticesText(counts.imported));
    return counts;
}

ImportCounts integrateDuplicates(Database &db, const QString &path, QList<ImportLogLine> &log, const QList<int> &lines,
                                 Progress *progress)
{
    ImportCounts counts;
    if (counts.error = importRightRefusal(0); !counts.error.isEmpty())
        return counts;
    SilentScope silent;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        counts.error = file.errorString();
        return counts;
    }
    RecordImporter importer(db);
    if (!importer.start(&counts.error))
        return counts;
    QList<int> done;
    int step = 0;
    for (const int at : lines) {
        if (progress) {
            progress->step(step++, int(lines.size()), noticesText(counts.imported));
            if (progress->stopped())
                break;
        }
        if (at < 0 || at >= log.size() || !log.at(at).canIntegrate())
            continue;
        const ImportLogLine &line = log.at(at);
        ++counts.read;
        RawRecord raw;
        QString why;
        if (!file.seek(line.offset)) {
            why = file.errorString();
        } else {
            RecordSplitter splitter(&file, 1 << 17);
            if (!splitter.next(raw)) {
                why = splitter.error().isEmpty() ? tr2(QStringLiteral("fin du fichier"), QStringLiteral("نهاية الملف"))
                                                 : splitter.error();
            } else if (const ParseResult parsed = parseRecord(raw); !parsed.ok()) {
                why = parsed.reason();
            } else if (const MappedRecord m = mapRecord(parsed.record, importer.context()); m.title() != line.title) {
                // Not the record that was found duplicate: the file has changed since.
                why = tr2(QStringLiteral("la notice n'est plus à cette place dans le fichier"),
                          QStringLiteral("البطاقة لم تعد في هذا الموضع من الملف"));
            } else {
                const RecordOutcome r = importer.importMapped(m, RecordOptions{0, false});
                if (r.result() == 1) {
                    ++counts.imported;
                    counts.skippedRows += r.skipped.size();
                    done << at;
                    continue;
                }
                why = r.error;
            }
        }
        ++counts.failed;
        if (counts.error.isEmpty())
            counts.error = line.title + QStringLiteral(" : ") + why;
    }
    std::sort(done.begin(), done.end(), std::greater<int>());
    for (const int at : std::as_const(done))
        log.removeAt(at);
    counts.completed = !(progress && progress->stopped());
    if (progress)
        progress->step(int(lines.size()), int(lines.size()), noticesText(counts.imported));
    return counts;
}

QString countsText(const ImportCounts &c)
{
    QStringList parts;
    parts << tr2(QStringLiteral("%1 notices lues"), QStringLiteral("%1 بطاقة مقروءة")).arg(c.read)
          << tr2(QStringLiteral("%1 importées"), QStringLiteral("%1 محصلة")).arg(c.imported);
    if (c.attached)
        parts << tr2(QStringLiteral("dont %1 rattachées à une notice existante"),
                     QStringLiteral("منها %1 ألحقت ببطاقة موجودة")).arg(c.attached);
    parts << tr2(QStringLiteral("%1 doubles"), QStringLiteral("%1 مكررة")).arg(c.duplicates)
          << tr2(QStringLiteral("%1 rejetées"), QStringLiteral("%1 مرفوضة")).arg(c.rejected());
    QStringList why;
    if (c.untitled)
        why << tr2(QStringLiteral("%1 sans titre propre"), QStringLiteral("%1 بدون عنوان أصلي")).arg(c.untitled);
    if (c.malformed)
        why << tr2(QStringLiteral("%1 illisibles"), QStringLiteral("%1 غير مقروءة")).arg(c.malformed);
    if (c.failed)
        why << tr2(QStringLiteral("%1 en erreur d'enregistrement"), QStringLiteral("%1 تعذر تسجيلها")).arg(c.failed);
    QString text = parts.join(QStringLiteral(", "));
    if (!why.isEmpty())
        text += QStringLiteral(" (") + why.join(QStringLiteral(", ")) + u')';
    // A clause for each count that is not zero.
    auto clause = [&text](qint64 n, const QString &french, const QString &arabic) {
        if (n)
            text += QStringLiteral(", ") + tr2(french, arabic).arg(n);
    };
    clause(c.deleted, QStringLiteral("%1 supprimées ignorées"), QStringLiteral("%1 محذوفة أهملت"));
    clause(c.skippedRows, QStringLiteral("%1 éléments non enregistrés (voir le rapport)"),
           QStringLiteral("%1 عنصر لم يسجل (انظر التقرير)"));
    clause(c.charsetMismatches,
           QStringLiteral("%1 notices lues dans un autre jeu de caractères que celui déclaré (voir le rapport)"),
           QStringLiteral("%1 بطاقة قرئت بمجموعة محارف غير المصرح بها (انظر التقرير)"));
    clause(c.repaired, QStringLiteral("%1 notices au répertoire endommagé lues sans les champs illisibles (voir le rapport)"),
           QStringLiteral("%1 بطاقة بدليل تالف قرئت دون الحقول غير المقروءة (انظر التقرير)"));
    clause(c.leftOut, QStringLiteral("%1 champs ou valeurs que la notice ne peut garder, non repris (voir le rapport)"),
           QStringLiteral("%1 حقل أو قيمة لا تتسع لها البطاقة، لم تؤخذ (انظر التقرير)"));
    return text + u'.';
}

QString importSummary(const ImportCounts &c)
{
    QString text = c.completed ? tr2(QStringLiteral("Importation terminé."), QStringLiteral("نهاية عملية التحصيل"))
                               : tr2(QStringLiteral("Importation interrompue."), QStringLiteral("عملية التحصيل تم توقيفها"));
    text += u'\n' + countsText(c);
    if (!c.error.isEmpty())
        text += u'\n' + c.error;
    return text;
}

QString integrationSummary(const ImportCounts &c)
{
    QString text = c.completed ? tr2(QStringLiteral("Opération terminé."), QStringLiteral("العملية تمت."))
                               : tr2(QStringLiteral("Importation interrompue."), QStringLiteral("عملية التحصيل تم توقيفها"));
    text += u'\n' + tr2(QStringLiteral("%1 notices intégrées, %2 non intégrées."), QStringLiteral("%1 بطاقة أدمجت، %2 لم تدمج."))
                        .arg(c.imported)
                        .arg(c.failed);
    if (!c.error.isEmpty())
        text += u'\n' + c.error;
    return text;
}

bool saveImportLog(const QString &path, const QList<ImportLogLine> &log)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const ImportLogLine &l : log)
        f.write((l.text + u'\n').toUtf8());
    return f.commit();
}

} // namespace folian::unimarc
