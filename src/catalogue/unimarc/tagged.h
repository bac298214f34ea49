#pragma once
// The tagged text form of records, one field a line:
//   LDR 01434nam0 2200313 i 450 
//   001 CFI0893220
//   200 1# $aTitle$eOther title
// Indicators show blanks as '#'; subfields are "$" + code + value. Records
// are separated by a blank line.

#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/record.h"

#include <QByteArray>
#include <QString>

namespace folian::unimarc {

// Appends the record's lines (UTF-8, each ending with '\n') to `out`.
void appendTagged(QByteArray &out, const Record &record);
// The same from a scanned record, decoding its values on the way.
void appendTagged(QByteArray &out, const RecordView &record);
QString taggedText(const Record &record);

} // namespace folian::unimarc
