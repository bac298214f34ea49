#include "catalogue/unimarc/tagged.h"

#include <cstring>

namespace folian::unimarc {

namespace {

// Appends to a QByteArray through a raw pointer: the dump writes hundreds of
// megabytes in pieces of a few bytes.
class Appender
{
public:
    explicit Appender(QByteArray &out) : out_(out), n_(out.size()) { p_ = out_.data(); }
    ~Appender() { out_.resize(n_); }
    Appender(const Appender &) = delete;
    Appender &operator=(const Appender &) = delete;

    void put(const char *s, qsizetype len)
    {
        if (len <= 0)
            return;  // an empty value may have no data at all
        if (n_ + len > out_.size())
            grow(len);
        std::memcpy(p_ + n_, s, size_t(len));
        n_ += len;
    }
    void put(QByteArrayView v) { put(v.data(), v.size()); }
    void put(char c) { put(&c, 1); }

private:
    void grow(qsizetype len)
    {
        out_.resize(qMax(out_.size() * 2, n_ + len + 4096));
        p_ = out_.data();
    }
    QByteArray &out_;
    qsizetype n_;
    char *p_;
};

// "200 1# " or "001 ".
void putFieldStart(Appender &out, QByteArrayView tag, char ind1, char ind2, bool control)
{
    char head[7] = {tag[0], tag[1], tag[2], ' ', ind1 == ' ' ? '#' : ind1, ind2 == ' ' ? '#' : ind2, ' '};
    out.put(head, control ? 4 : 7);
}

void putLeader(Appender &out, QByteArrayView leader)
{
    out.put("LDR ", 4);
    out.put(leader);
    out.put('\n');
}

void putCode(Appender &out, char code)
{
    const char d[2] = {'$', code};
    out.put(d, 2);
}

} // namespace

void appendTagged(QByteArray &text, const Record &record)
{
    Appender out(text);
    putLeader(out, record.leader);
    for (const Field &f : record.fields) {
        putFieldStart(out, f.tag(), f.ind1, f.ind2, f.isControl());
        if (f.isControl()) {
            out.put(f.data);
        } else {
            for (const Subfield &s : f.subfields) {
                putCode(out, s.code);
                out.put(s.value);
            }
        }
        out.put('\n');
    }
}

void appendTagged(QByteArray &text, const RecordView &record)
{
    Appender out(text);
    QByteArray decoded;
    auto putValue = [&](const FieldView &f, QByteArrayView raw) {
        if (record.verbatim) {
            out.put(raw);
        } else {
            decoded.resize(0);
            record.appendValue(decoded, f, raw);
            out.put(decoded);
        }
    };
    putLeader(out, record.leader);
    for (const FieldView &f : record.fields) {
        putFieldStart(out, f.tag, f.ind1, f.ind2, f.isControl());
        if (f.isControl()) {
            putValue(f, f.body);
        } else {
            forEachSubfield(f.subfields, [&](char code, QByteArrayView raw) {
                putCode(out, code);
                putValue(f, raw);
            });
        }
        out.put('\n');
    }
}

QString taggedText(const Record &record)
{
    QByteArray out;
    appendTagged(out, record);
    return QString::fromUtf8(out);
}

} // namespace folian::unimarc
