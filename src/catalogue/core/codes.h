#pragma once
// The catalogue's codes that carry behaviour: record and copy statuses,
// heading kinds and their UNIMARC tags.

#include <QList>
#include <QString>

namespace folian {

namespace RecordStatus {
constexpr int Catalogued = 1;    // default of every record
constexpr int FromAcquisitions = 2;
constexpr int OnOrder = 3;
} // namespace RecordStatus

namespace CopyStatus {
constexpr int Deposit = 1;
constexpr int Available = 2;     // default of every new copy
constexpr int ReadingRoomOnly = 3;
constexpr int InterLibrary = 4;
constexpr int Damaged = 5;
constexpr int Lost = 6;
constexpr int Exchanged = 7;
constexpr int Given = 8;
// Copies with these statuses do not count as existing copies in good condition.
bool countsAsExisting(int status);
} // namespace CopyStatus

// Responsibility of an author on a record.
namespace AuthorType {
constexpr int Principal = 1;
constexpr int CoAuthor = 2;
constexpr int Secondary = 3;
} // namespace AuthorType

// Heading kinds (TYP_VED_ID) 1..10.
namespace HeadingKind {
constexpr int PersonalName = 1;
constexpr int CorporateBody = 2;
constexpr int FamilyName = 3;
constexpr int NameAndTitle = 4;
constexpr int UniformTitle = 5;
constexpr int Topical = 6;
constexpr int Geographical = 7;
constexpr int FormGenre = 8;
constexpr int Uncontrolled = 9;
constexpr int TradeMark = 10;

// Author searches look only at these kinds.
bool isAuthorKind(int kind);
// The UNIMARC subject tag of a kind (600..616), 0 for none.
int subjectTag(int kind);
// The UNIMARC author tags of a kind (7xx), empty for subject-only kinds.
QList<int> authorTags(int kind);
// The kind of a 6xx subject tag or a 7xx author tag; 0 when the tag is not one.
int kindOfTag(int tag);
} // namespace HeadingKind

} // namespace folian
