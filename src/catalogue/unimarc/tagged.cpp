#include "catalogue/unimarc/tagged.h"

namespace folian::unimarc {

void appendTagged(QByteArray &out, const Record &record)
{
    out += "LDR ";
    out += record.leader;
    out += '\n';
    for (const Field &f : record.fields) {
        out += f.tag();
        out += ' ';
        if (f.isControl()) {
            out += f.data;
        } else {
            out += f.ind1 == ' ' ? '#' : f.ind1;
            out += f.ind2 == ' ' ? '#' : f.ind2;
            out += ' ';
            for (const Subfield &s : f.subfields) {
                out += '$';
                out += s.code;
                out += s.value;
            }
        }
        out += '\n';
    }
}

QString taggedText(const Record &record)
{
    QByteArray out;
    appendTagged(out, record);
    return QString::fromUtf8(out);
}

} // namespace folian::unimarc
