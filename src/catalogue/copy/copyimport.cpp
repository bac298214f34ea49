#include "catalogue/copy/copyimport.h"

#include "base/rights.h"
#include "base/session.h"
#include "catalogue/copy/copytexts.h"
#include "catalogue/core/codes.h"
#include "catalogue/unimarc/importer.h"
#include "catalogue/unimarc/isbd.h"
#include "data/core/database.h"

namespace folian::copy {

namespace {

using unimarc::MappedRecord;
using unimarc::StoredRecord;

QVariantHash collectionRow(const unimarc::MappedCollection &c)
{
    if (c.isEmpty())
        return {};
    return {{QStringLiteral("COL_TITRE_PROPRE"), c.title},
            {QStringLiteral("COL_TITRE_PARALLELE"), c.parallel},
            {QStringLiteral("COL_TITRE_COMPLEMENT"), c.complement},
            {QStringLiteral("COL_RESPONSABILITE"), c.responsibility},
            {QStringLiteral("COL_ISSN"), c.issn}};
}

// The record as the catalogue would hold it, without the database: the
// names it gives stand for the rows they would be looked up as.
StoredRecord asStored(const MappedRecord &m, Database &db)
{
    StoredRecord s;
    for (auto it = m.columns.cbegin(); it != m.columns.cend(); ++it)
        s.notice.insert(it.key().toUpper(), it.value());
    s.notice.insert(QStringLiteral("TYP_ID"), m.typeId);
    s.notice.insert(QStringLiteral("LAN_ID"), m.language);
    s.publisher = {m.publisher, {}};
    s.publisher2 = {m.publisher2, {}};
    s.periodicity = {m.periodicity, {}};
    s.diploma = {m.diploma, {}};
    s.speciality = {m.speciality, {}};
    s.collection = collectionRow(m.collection);
    if (!m.subCollection.isEmpty())
        s.subCollection = {{QStringLiteral("SCL_TITRE_PROPRE"), m.subCollection}};
    for (const unimarc::MappedAuthor &a : m.authors) {
        unimarc::StoredAuthor author;
        author.name = a.name;
        author.kind = a.kind;
        author.type = a.type;
        author.function = a.function;
        if (!a.function.isEmpty()) {
            SqlRows f = db.query(QStringLiteral("SELECT FON_ABREVIATION, FON_ABREVIATION_AR FROM FONCTION WHERE FON_ID = ?"),
                                 {a.function});
            if (f.next())
                author.abbreviation = {f.value(0).toString(), f.value(1).toString()};
        }
        s.authors << author;
    }
    std::stable_sort(s.authors.begin(), s.authors.end(),
                     [](const unimarc::StoredAuthor &a, const unimarc::StoredAuthor &b) { return a.type < b.type; });
    for (const unimarc::MappedSubject &subject : m.subjects)
        s.subjects << unimarc::StoredSubject{subject.name, subject.kind, {}, 0};
    s.indices = m.indices;
    return s;
}

} // namespace

QString searchRefusal()
{
    const Session &s = session();
    return moduleEnabled(Module::Catalogage, s) ? QString() : notAllowedMessage(s, rightLabel(Right::CatAcces));
}

QString importRefusal() { return rightRefusal(Right::CatImport, session()); }

CopyImporter::CopyImporter(Database &db) : db_(db) {}

CopyImporter::~CopyImporter() = default;

bool CopyImporter::ready(QString *why)
{
    if (started_)
        return true;
    importer_ = std::make_unique<unimarc::RecordImporter>(db_);
    started_ = importer_->start(why);
    if (!started_)
        importer_.reset();
    return started_;
}

QString CopyImporter::preview(const unimarc::Record &record)
{
    QString why;
    if (!ready(&why))
        return QString();
    const MappedRecord m = unimarc::mapRecord(record, importer_->context());
    return unimarc::formatIsbd(asStored(m, db_), unimarc::IsbdLayout::Card, true).html;
}

ImportAnswer CopyImporter::import(const CopyHit &hit)
{
    ImportAnswer answer;
    if (const QString refusal = importRefusal(); !refusal.isEmpty()) {
        answer.message = refusal;
        return answer;
    }
    if (!hit.ok()) {
        answer.message = recordNotImported(hit.error);
        return answer;
    }
    QString why;
    if (!ready(&why)) {
        answer.message = recordNotImported(why);
        return answer;
    }
    unimarc::RecordOptions options;
    options.library = 0;
    options.checkDuplicates = true;
    // Two cataloguers importing the same record at once: the duplicate test
    // and the write of one come before the other's test. The library's row
    // of settings is the lock they take (the embedded engine's transaction
    // holds its one write lock from its beginning).
    Transaction tx(db_);
    if (!tx.isActive()
        || !db_.query(db_.dialect().lockRows(QStringLiteral("PARAMETRE"), QStringLiteral("PAR_ID IS NOT NULL"))).isActive()) {
        answer.message = recordNotImported(db_.lastError().text());
        return answer;
    }
    const unimarc::RecordOutcome out = importer_->importRecord(hit.record, options);
    if (out.status == unimarc::RecordOutcome::Status::Imported && !tx.commit()) {
        answer.message = recordNotImported(db_.lastError().text());
        return answer;
    }
    using S = unimarc::RecordOutcome::Status;
    switch (out.status) {
    case S::Imported:
    case S::Attached:
        answer.passed = true;
        answer.key = out.docId.toInt();
        answer.message = recordImported(answer.key);
        break;
    case S::Duplicate:
        answer.duplicate = true;
        answer.key = out.docId.toInt();
        answer.message = recordDuplicate(out.title, answer.key);
        break;
    case S::Untitled: answer.message = recordNotImported(untitledRecord()); break;
    case S::Failed: answer.message = recordNotImported(out.error); break;
    }
    return answer;
}

} // namespace folian::copy
