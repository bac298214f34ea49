#include "catalogue/copy/copysearch.h"

#include "catalogue/copy/copytexts.h"
#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/writer.h"

#include <QXmlStreamReader>

namespace folian::copy {

namespace {

using unimarc::Field;
using unimarc::Record;
using unimarc::Subfield;

QString compactNumber(const QString &number)
{
    QString n = number.trimmed();
    n.remove(u'-');
    n.remove(u' ');
    return n.toUpper();
}

// A term in double quotes, its quotes and backslashes escaped.
QString quoted(const QString &term, bool cql)
{
    QString out;
    for (const QChar c : term.simplified()) {
        // CQL also masks with * ? ^: typed, they are searched as characters.
        if (c == u'"' || c == u'\\' || (cql && (c == u'*' || c == u'?' || c == u'^')))
            out += u'\\';
        out += c;
    }
    return u'"' + out + u'"';
}

// The first value of a subfield, trimmed.
QString first(const Record &r, const char *tag, char code) { return r.value(tag, code).trimmed(); }

// MARC 21 says its title in 245 and has no 200; a UNIMARC record has its title in 200.
bool looksMarc21(const Record &r) { return !r.field("200") && r.field("245"); }

bool isMarc21Syntax(const QString &syntax)
{
    const QString s = syntax.toLower();
    return s.contains(QLatin1String("usmarc")) || s.contains(QLatin1String("marc21"));
}

// The 100 $a positions 26-29 for a set named by the target.
QByteArray declaration(const QString &charset)
{
    if (charset == QLatin1String("UTF-8"))
        return "50  ";
    if (charset == QLatin1String("ISO-5426"))
        return "0103";
    if (charset == QLatin1String("ISO-646"))
        return "01  ";
    return {};
}

// The record with the target's character set written into its 100 $a,
// when the record declares none and its 100 $a is long enough to say it.
QByteArray declared(const QByteArray &bytes, const QString &charset)
{
    const QByteArray code = declaration(charset);
    unimarc::RecordView view;
    if (code.isEmpty() || !unimarc::scanRecord(QByteArrayView(bytes), view) || view.declared != unimarc::Charset::Undeclared)
        return bytes;
    for (const unimarc::FieldView &f : view.fields) {
        if (f.tag != "100" || f.isControl())
            continue;
        QByteArrayView a;
        bool found = false;
        unimarc::forEachSubfield(f.subfields, [&](char c, QByteArrayView v) {
            if (!found && c == 'a') {
                a = v;
                found = true;
            }
        });
        if (!found || a.size() < 30)
            return bytes;
        QByteArray out = bytes;
        out.replace(a.data() - bytes.constData() + 26, 4, code);
        return out;
    }
    return bytes;
}

QString attribute(const QXmlStreamReader &x, const char *name)
{
    return x.attributes().value(QLatin1String(name)).toString();
}

} // namespace

bool isIssn(const QString &number) { return compactNumber(number).size() == 8; }

QString criteriaRefusal(const CopyCriteria &c)
{
    if (c.isEmpty())
        return criterionRequired();
    if (c.limit < 1 || c.limit > kMaxLimit)
        return limitInvalid(QString::number(c.limit));
    return {};
}

QString pqfQuery(const CopyCriteria &c)
{
    QStringList terms;
    if (const QString n = compactNumber(c.number); !n.isEmpty())
        terms << (isIssn(n) ? QStringLiteral("@attr 1=8 ") : QStringLiteral("@attr 1=7 ")) + quoted(n, false);
    if (!c.title.trimmed().isEmpty())
        terms << QStringLiteral("@attr 1=4 @attr 4=6 ") + quoted(c.title, false);
    if (!c.author.trimmed().isEmpty())
        terms << QStringLiteral("@attr 1=1003 @attr 4=6 ") + quoted(c.author, false);
    QString q;
    for (qsizetype i = 0; i + 1 < terms.size(); ++i)
        q += QStringLiteral("@and ");
    return q + terms.join(u' ');
}

QString cqlQuery(const CopyCriteria &c, IndexSet set)
{
    const bool bib = set == IndexSet::Bib;
    QStringList terms;
    if (const QString n = compactNumber(c.number); !n.isEmpty()) {
        const QString index = isIssn(n) ? (bib ? QStringLiteral("bib.issn") : QStringLiteral("bath.issn"))
                                        : (bib ? QStringLiteral("bib.isbn") : QStringLiteral("bath.isbn"));
        terms << index + QStringLiteral(" = ") + quoted(n, true);
    }
    if (!c.title.trimmed().isEmpty())
        terms << (bib ? QStringLiteral("bib.title") : QStringLiteral("dc.title")) + QStringLiteral(" all ")
                + quoted(c.title, true);
    if (!c.author.trimmed().isEmpty())
        terms << (bib ? QStringLiteral("bib.author") : QStringLiteral("dc.creator")) + QStringLiteral(" all ")
                + quoted(c.author, true);
    return terms.join(QStringLiteral(" and "));
}

bool recordFromXml(const QByteArray &xml, Record *out, bool *marc21, QString *why)
{
    QXmlStreamReader x(xml);
    Record r;
    r.leader.clear();
    bool inRecord = false, any = false;
    Field *field = nullptr;
    QString format;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isEndElement() && x.name() == QLatin1String("record") && any)
            break;
        if (!x.isStartElement())
            continue;
        const QStringView name = x.name();
        if (name == QLatin1String("record")) {
            inRecord = true;
            format = attribute(x, "format") + attribute(x, "type");
        } else if (name == QLatin1String("leader")) {
            r.leader = x.readElementText().toLatin1();
            any = true;
        } else if (name == QLatin1String("controlfield")) {
            const QByteArray tag = attribute(x, "tag").toLatin1();
            if (tag.size() != 3)
                continue;
            r.append(Field::control(tag, x.readElementText()));
            field = nullptr;
            any = true;
        } else if (name == QLatin1String("datafield")) {
            const QByteArray tag = attribute(x, "tag").toLatin1();
            if (tag.size() != 3) {
                field = nullptr;
                continue;
            }
            const QString i1 = attribute(x, "ind1"), i2 = attribute(x, "ind2");
            field = &r.append(Field(tag, i1.isEmpty() ? ' ' : i1.at(0).toLatin1(), i2.isEmpty() ? ' ' : i2.at(0).toLatin1()));
            any = true;
        } else if (name == QLatin1String("subfield") && field) {
            const QString code = attribute(x, "code");
            const QString text = x.readElementText();
            if (!code.isEmpty())
                field->append(code.at(0).toLatin1(), text);
        }
    }
    // An error before the record's end: the record is not whole.
    if (x.hasError()) {
        *why = x.errorString();
        return false;
    }
    if (!inRecord || !any || r.fields.isEmpty()) {
        *why = QStringLiteral("no record in the XML");
        return false;
    }
    if (r.leader.size() != 24)
        r.leader = Record::kDefaultLeader;
    *marc21 = format.contains(QLatin1String("MARC21"), Qt::CaseInsensitive)
        || format.contains(QLatin1String("USMARC"), Qt::CaseInsensitive) || looksMarc21(r);
    *out = r;
    return true;
}

CopyHit readFetched(const FetchedRecord &fetched, const CopyTarget &target, int position)
{
    CopyHit hit;
    hit.position = position;
    if (fetched.data.trimmed().isEmpty()) {
        hit.error = emptyRecord();
        return hit;
    }
    if (isMarc21Syntax(fetched.syntax)) {
        hit.error = marc21Record();
        return hit;
    }
    QByteArray bytes;
    if (fetched.data.trimmed().startsWith('<')) {
        // XML is Unicode text: the record written in UTF-8, and said so.
        Record fromXml;
        bool marc21 = false;
        QString why;
        if (!recordFromXml(fetched.data, &fromXml, &marc21, &why)) {
            hit.error = malformedRecord(why);
            return hit;
        }
        if (marc21) {
            hit.error = marc21Record();
            return hit;
        }
        unimarc::declareUtf8(fromXml);
        const unimarc::WriteResult written = unimarc::writeRecord(fromXml);
        if (!written.ok()) {
            hit.error = malformedRecord(written.error);
            return hit;
        }
        bytes = written.bytes;
    } else {
        bytes = declared(fetched.data, target.charset);
    }
    const unimarc::ParseResult parsed = unimarc::parseRecord(QByteArrayView(bytes));
    if (!parsed.ok()) {
        hit.error = malformedRecord(parsed.reason());
        return hit;
    }
    if (looksMarc21(parsed.record)) {
        hit.error = marc21Record();
        return hit;
    }
    hit.record = parsed.record;
    if (parsed.charsetMismatch())
        hit.remark = parsed.charsetRemark();
    hit.title = first(hit.record, "200", 'a');
    hit.author = first(hit.record, "700", 'a');
    if (const QString forename = first(hit.record, "700", 'b'); !hit.author.isEmpty() && !forename.isEmpty())
        hit.author += QStringLiteral(", ") + forename;
    if (hit.author.isEmpty())
        hit.author = first(hit.record, "710", 'a');
    hit.year = first(hit.record, "210", 'd');
    if (hit.year.isEmpty())
        hit.year = first(hit.record, "214", 'd');
    hit.number = first(hit.record, "010", 'a');
    if (hit.number.isEmpty())
        hit.number = first(hit.record, "011", 'a');
    if (hit.title.isEmpty())
        hit.error = untitledRecord();
    return hit;
}

CopySearchResult searchTarget(const CopyTarget &target, const CopyCriteria &criteria, Transport &transport,
                              const std::atomic<bool> &stop)
{
    CopySearchResult result;
    if (const QString refusal = criteriaRefusal(criteria); !refusal.isEmpty()) {
        result.message = refusal;
        return result;
    }
    QString syntax;
    if (!acceptSyntax(target.syntax, &syntax, &result.message))
        return result;
    FetchRequest request;
    request.target = target;
    request.query = target.isSru() ? cqlQuery(criteria, target.indexSet) : pqfQuery(criteria);
    request.limit = criteria.limit;
    const FetchReply reply = transport.fetch(request, stop);
    switch (reply.failure) {
    case FetchFailure::None: break;
    case FetchFailure::Unreachable: result.message = unreachable(target.name, reply.detail); return result;
    case FetchFailure::Timeout: result.message = timedOut(target.name, target.timeout); return result;
    case FetchFailure::Diagnostic: result.message = diagnostic(target.name, reply.code, reply.detail); return result;
    case FetchFailure::Protocol: result.message = protocolFailure(target.name, reply.detail); return result;
    case FetchFailure::Stopped: result.message = stopped(); return result;
    }
    result.hits = reply.hits;
    int marc21 = 0;
    for (qsizetype i = 0; i < reply.records.size() && i < criteria.limit; ++i) {
        result.records << readFetched(reply.records.at(i), target, int(i) + 1);
        if (result.records.last().error == marc21Record())
            ++marc21;
    }
    if (marc21 > 0 && marc21 == result.records.size()) {
        result.message = marc21Refused();
        return result;
    }
    result.passed = true;
    result.message = foundCount(int(result.records.size()), result.hits);
    return result;
}

} // namespace folian::copy
