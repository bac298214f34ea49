#include "catalogue/unimarc/output.h"

#include "base/messages.h"
#include "base/progress.h"
#include "catalogue/core/codes.h"
#include "catalogue/unimarc/importmap.h"
#include "data/core/helpers.h"
#include "reports/core/htmlpage.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace folian::unimarc {

namespace {

const char kLeaderTemplate[] = "00000nam0 22000002i 45  ";

struct Separator {
    const char *text;
    char code;
};

// Cuts `text` at every separator: the first piece is a `first` subfield,
// each later piece the subfield of the separator before it. Empty pieces
// are dropped.
QList<Subfield> cut(const QString &text, char first, std::initializer_list<Separator> separators)
{
    QList<Subfield> out;
    char code = first;
    qsizetype from = 0;
    for (;;) {
        qsizetype at = -1, length = 0;
        char next = 0;
        for (const Separator &s : separators) {
            const QString sep = QLatin1String(s.text);
            const qsizetype p = text.indexOf(sep, from);
            if (p >= 0 && (at < 0 || p < at)) {
                at = p;
                length = sep.size();
                next = s.code;
            }
        }
        const QString piece = text.mid(from, at < 0 ? -1 : at - from).trimmed();
        if (!piece.isEmpty())
            out << Subfield(code, piece);
        if (at < 0)
            return out;
        from = at + length;
        code = next;
    }
}

class Fields
{
public:
    explicit Fields(Record &r) : r_(r) {}

    // A data field; written only when one of its subfields has a value.
    Fields &start(const char *tag, char ind1 = ' ', char ind2 = ' ')
    {
        flush();
        f_ = Field(tag, ind1, ind2);
        return *this;
    }
    Fields &add(char code, const QString &value)
    {
        if (!value.isEmpty())
            f_.append(code, value);
        return *this;
    }
    Fields &add(const QList<Subfield> &subfields)
    {
        f_.subfields += subfields;
        return *this;
    }
    Fields &always(char code, const QString &value)
    {
        f_.append(code, value);
        return *this;
    }
    void flush()
    {
        if (!f_.subfields.isEmpty())
            r_.append(f_);
        f_.subfields.clear();
    }

private:
    Record &r_;
    Field f_;
};

char leaderType(const QString &typeId)
{
    if (typeId.isEmpty())
        return 'a';
    switch (typeId.at(0).toLatin1()) {
    case 'a': case 'b': case 'c': case 'd': return 'a';
    case 'e': return 'g';
    case 'f': return 'e';
    case 'g': return 'l';
    default: return 'k';
    }
}

// The author tag of a heading: the responsibility digit after the first two
// characters of the kind's tag, when the kind has a tag for each responsibility.
QString authorTag(const StoredAuthor &a)
{
    if (HeadingKind::authorTags(a.kind).size() < 3 || a.authorTag.size() < 2)
        return a.authorTag;
    const int digit = qBound(0, a.type - 1, 2);
    return a.authorTag.left(2) + QString::number(digit);
}


// Positions 0-35 of 100 $a: the date the record was entered, the language
// of cataloguing, the character set (UTF-8) and the script of the title.
QString generalData(const StoredRecord &r)
{
    const QDateTime created = r.notice.value(QStringLiteral("CREATE_DATE")).toDateTime();
    QString a = (created.isValid() ? created.date() : QDate::currentDate()).toString(QStringLiteral("yyyyMMdd"));
    a = a.leftJustified(22, u' ');
    a += r.arabic() ? QStringLiteral("ara") : QStringLiteral("fre");
    a += QStringLiteral("y50      ");
    a += r.arabic() ? QStringLiteral("fa") : QStringLiteral("ba");
    return a;
}

} // namespace

Record unimarcRecord(const StoredRecord &r, int classification)
{
    Record out;
    out.leader = QByteArray(kLeaderTemplate);
    out.leader[5] = r.value(QStringLiteral("UPDATE_USER")).isEmpty() ? 'n' : 'c';
    const QString type = r.value(QStringLiteral("TYP_ID"));
    // The type of record the import read the general material designation
    // from; by the document type when there is none.
    const QString indication = r.value(QStringLiteral("IND_ID"));
    out.leader[6] = indication.size() == 1 && isRecordType(indication.at(0).toLatin1()) ? indication.at(0).toLatin1()
                                                                                        : leaderType(type);
    out.leader[7] = type == QLatin1String("b") ? 's' : 'm';
    auto v = [&r](const char *c) { return r.value(QLatin1String(c)); };
    const bool arabic = r.arabic();

    out.append(Field::control("001", v("DOC_ID")));
    Fields f(out);
    // A qualifier kept with a number ("2070360248 (br.)") is its $b.
    f.start("010").add('a', StandardNumberKey(v("DOC_ISBN"))).add('b', StandardNumberQualifier(v("DOC_ISBN")));
    f.start("011").add('a', StandardNumberKey(v("DOC_ISSN"))).add('b', StandardNumberQualifier(v("DOC_ISSN")));
    f.start("017").add('a', v("DOC_NUM"));
    f.start("035").add('a', v("DOC_IDENTIFIANT_SOURCE"));
    f.start("101").add('a', v("LAN_ID")).add('c', v("LAN_ID2"));
    if (!v("PER_ID").isEmpty())
        f.start("110").add('a', u'a' + v("PER_ID"));
    f.start("200").add('a', v("DOC_TITRE_PROPRE")).add('d', v("DOC_TITRE_PARALLELE")).add('e', v("DOC_TITRE_COMPLEMENT"));
    f.start("205").add(cut(v("DOC_EDITION"), 'a', {{", ", 'b'}, {" = ", 'd'}, {" / ", 'f'}, {"; ", 'g'}}));
    f.start("206", '0').add('a', v("DOC_MATHEMATIQUE"));
    f.start("207", ' ', '0').add('a', v("DOC_NUMEROTATION"));
    f.start("208").add('a', v("DOC_MUSIQUE"));
    f.start("210", '0')
        .add('a', v("DOC_LIEU_EDITION"))
        .add('a', v("DOC_LIEU_EDITION2"))
        .add('c', r.publisher.in(arabic))
        .add('c', r.publisher2.in(arabic))
        .add('d', v("DOC_ANNEE"));
    f.start("215").add('a', v("DOC_NBR_UNITE")).add('c', v("DOC_ILLUSTRATION")).add('d', v("DOC_FORMAT")).add('e', v("DOC_MATERIEL"));
    f.start("225", '1');
    if (!r.collection.isEmpty())
        f.add('a', rowValue(r.collection, "COL_TITRE_PROPRE"))
            .add('d', rowValue(r.collection, "COL_TITRE_PARALLELE"))
            .add('e', rowValue(r.collection, "COL_TITRE_COMPLEMENT"))
            .add('f', rowValue(r.collection, "COL_RESPONSABILITE"));
    if (!r.subCollection.isEmpty())
        f.add('h', v("SCL_NUMERO")).add('i', rowValue(r.subCollection, "SCL_TITRE_PROPRE"));
    f.add('v', v("COL_NUMERO")).add('x', rowValue(r.collection, "COL_ISSN"));
    f.start("230").add('a', v("DOC_RESSOURCE"));
    // Notes imported one after the other were kept one a line: one field each.
    for (const QString &note : v("DOC_NOTE").split(QRegularExpression(QStringLiteral("\r?\n"))))
        f.start("300").add('a', note.trimmed());
    f.start("328", ' ', '1').add('a', r.diploma.in(arabic));
    f.start("328", ' ', '2').add('a', r.speciality.in(arabic));
    f.start("328", ' ', '3').add('a', v("DOC_LIEU_SOUTENANCE"));
    for (const QString &summary : v("DOC_RESUME").split(QRegularExpression(QStringLiteral("\r?\n"))))
        f.start("330").add('a', summary.trimmed());
    const QString rel = v("REL_ID");
    // The set, unless the link to the parent says the same.
    if (rel != QLatin1String("461") || v("REL_TITRE") != v("DOC_TITRE_ENSEMBLE") || v("REL_VOLUME") != v("DOC_NUMERO_PARTIE"))
        f.start("461").add('t', v("DOC_TITRE_ENSEMBLE")).add('v', v("DOC_NUMERO_PARTIE"));
    if (!rel.isEmpty())
        f.start(rel.toLatin1().leftJustified(3, ' ').constData())
            .add('t', v("REL_TITRE"))
            .add('v', v("REL_VOLUME"))
            .add('d', v("REL_DATE_PUB"))
            .add('y', v("REL_ISBN"))
            .add('x', v("REL_ISSN"));
    for (const StoredSubject &s : r.subjects)
        if (!s.subjectTag.isEmpty())
            f.start(s.subjectTag.toLatin1().constData()).add(cut(s.name, 'a', {{"; ", 'a'}, {" : ", 'x'}}));
    const char *indexTag = classification == 1 ? "675" : classification == 2 ? "676" : classification == 3 ? "686" : nullptr;
    if (indexTag)
        for (const QString &index : r.indices)
            f.start(indexTag).add('a', index);
    for (const StoredAuthor &a : r.authors)
        if (!a.authorTag.isEmpty())
            f.start(authorTag(a).toLatin1().constData()).add(cut(a.name, 'a', {{", ", 'b'}})).add('4', a.function);
    f.start("801").add('a', v("PAY_ID")).add('b', v("DOC_AGENCE"));
    // A resource of several addresses has one $u each.
    for (const StoredResource &res : r.resources)
        f.start("856").add(cut(res.link, 'u', {{";  ", 'u'}})).add('x', res.type);
    f.start("901").always('a', v("TYP_ID"));
    for (const StoredIssue &i : r.issues)
        f.start("985").add('a', i.number).add('d', i.date).add('t', i.title);
    for (const StoredCopy &c : r.copies)
        f.start("995")
            .add('f', c.id)
            .add('i', c.inventory)
            .add('k', c.shelfMark)
            .add('l', c.location)
            .add('s', c.support)
            .add('t', c.status)
            .add('u', c.remark);
    f.start("999").add('a', v("DOC_NBR_EXEMPLAIRE"));
    f.flush();
    return out;
}

QString unimarcHtml(const StoredRecord &r, int classification)
{
    const Record record = unimarcRecord(r, classification);
    QString html = QStringLiteral("<p>");
    for (const Field &f : record.fields) {
        html += QStringLiteral("<b>") + htmlEscape(f.tagText()) + QStringLiteral("</b> ");
        if (f.isControl()) {
            html += htmlEscape(f.controlText()) + QStringLiteral("<br>");
            continue;
        }
        html += htmlEscape(QString(QLatin1Char(f.ind1 == ' ' ? '#' : f.ind1)) + QLatin1Char(f.ind2 == ' ' ? '#' : f.ind2))
            + u' ';
        const bool resource = f.hasTag("856");
        for (const Subfield &s : f.subfields) {
            html += QStringLiteral("<font color=blue>$") + htmlEscape(QString(QLatin1Char(s.code))) + QStringLiteral("</font>");
            // A web or mail address is a link; a file or any other address is only shown.
            const QUrl link = resource && s.code == 'u' ? SafeLinkUrl(s.text()) : QUrl();
            if (link.isValid())
                html += QStringLiteral("<a href=\"") + htmlEscape(link.toString(QUrl::FullyEncoded)) + QStringLiteral("\">")
                    + htmlEscape(s.text()) + QStringLiteral("</a>");
            else
                html += htmlEscape(s.text());
        }
        html += QStringLiteral("<br>");
    }
    return html + QStringLiteral("</p>");
}

WriteResult exchangeRecord(const StoredRecord &r, int classification)
{
    Record record = unimarcRecord(r, classification);
    record.insertInTagOrder(Field("100", ' ', ' ', {Subfield('a', generalData(r))}));
    declareUtf8(record);
    // Notes and abstracts longer than a field are written in several; a
    // record too long for the format keeps its description and loses its
    // last issues first, then its last copies, resources, notes, abstracts.
    static const QList<QByteArray> splittable{"300", "330"};
    static const QList<QByteArray> droppable{"985", "995", "856", "300", "330"};
    QStringList leftOut;
    WriteResult w = writeRecord(fitRecord(record, splittable, droppable, &leftOut));
    w.leftOut = leftOut;
    return w;
}

QList<int> allRecordIds(Database &db, QString *why)
{
    QList<int> ids;
    SqlRows q = db.query(QStringLiteral("SELECT DOC_ID FROM NOTICE ORDER BY DOC_ID"));
    if (!q.isActive()) {
        if (why)
            *why = db.lastError().text();
        return ids;
    }
    while (q.next())
        ids << q.value(0).toInt();
    return ids;
}

ExportCounts exportRecords(Database &db, const QString &path, const QList<int> &ids, Progress *progress)
{
    ExportCounts counts;
    const QVariant scheme = db.scalar(QStringLiteral("SELECT CLASSIFICATION FROM PARAMETRE"));
    const int classification = scheme.isNull() ? 0 : scheme.toInt();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        counts.error = file.errorString();
        return counts;
    }
    RecordLoader loader(db);
    const QString name = QFileInfo(path).fileName();
    qsizetype at = 0;
    for (const int id : ids) {
        ++at;
        if (progress) {
            progress->step(int(at), int(ids.size()),
                           tr2(QStringLiteral("Exportation [%1] : %2"), QStringLiteral("النقل [%1] : %2")).arg(name).arg(at));
            if (progress->stopped())
                break;
        }
        QString why;
        const std::optional<StoredRecord> record = loader.load(id, &why);
        if (!record) {
            if (!why.isEmpty()) {
                counts.error = why;  // the database failed: nothing more can be read
                file.cancelWriting();
                return counts;
            }
            ++counts.failed;
            counts.failures << tr2(QStringLiteral("Notice %1 : introuvable"), QStringLiteral("البطاقة %1: غير موجودة")).arg(id);
            continue;
        }
        const WriteResult w = exchangeRecord(*record, classification);
        if (!w.ok()) {
            ++counts.failed;
            counts.failures << tr2(QStringLiteral("Notice %1 : %2"), QStringLiteral("البطاقة %1: %2")).arg(id).arg(w.error);
            continue;
        }
        if (!w.leftOut.isEmpty()) {
            ++counts.incomplete;
            for (const QString &l : w.leftOut)
                counts.leftOut << tr2(QStringLiteral("Notice %1 : %2"), QStringLiteral("البطاقة %1: %2")).arg(id).arg(l);
        }
        if (file.write(w.bytes) != w.bytes.size()) {
            counts.error = file.errorString();
            file.cancelWriting();
            return counts;
        }
        ++counts.written;
    }
    counts.completed = at == ids.size() && !(progress && progress->stopped());
    if (!file.commit()) {
        counts.error = file.errorString();
        counts.completed = false;
        counts.written = 0;
    }
    return counts;
}

QString exportSummary(const ExportCounts &c)
{
    QString text = c.completed && c.error.isEmpty()
        ? tr2(QStringLiteral("Exportation terminé."), QStringLiteral("تمت عملية النقل."))
        : tr2(QStringLiteral("Exportation interrompue."), QStringLiteral("عملية النقل اوقفت."));
    text += u'\n' + tr2(QStringLiteral("%1 notices exportées, %2 non exportées."), QStringLiteral("%1 بطاقة نقلت، %2 لم تنقل."))
                        .arg(c.written)
                        .arg(c.failed);
    for (const QString &f : c.failures.mid(0, 10))
        text += u'\n' + f;
    if (c.incomplete)
        text += u'\n' + tr2(QStringLiteral("%1 notices exportées sans les champs que le format ne peut contenir :"),
                            QStringLiteral("%1 بطاقة نقلت دون الحقول التي لا يتسع لها الشكل:"))
                            .arg(c.incomplete);
    for (const QString &l : c.leftOut.mid(0, 10))
        text += u'\n' + l;
    if (!c.error.isEmpty())
        text += u'\n' + c.error;
    return text;
}

} // namespace folian::unimarc
