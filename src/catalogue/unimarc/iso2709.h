#pragma once
// The bytes and limits of the ISO 2709 exchange structure.

#include <QtGlobal>

namespace folian::unimarc {

constexpr char kSubfieldDelimiter = 0x1F;
constexpr char kFieldTerminator = 0x1E;
constexpr char kRecordTerminator = 0x1D;

constexpr qsizetype kLeaderLength = 24;
constexpr qsizetype kEntryLength = 12;       // tag 3, field length 4, start 5
constexpr qsizetype kMaxRecordLength = 99999; // five digits of record length
constexpr qsizetype kMaxFieldLength = 9999;   // four digits of field length

constexpr bool isStructureByte(char c) { return c == kSubfieldDelimiter || c == kFieldTerminator || c == kRecordTerminator; }

} // namespace folian::unimarc
