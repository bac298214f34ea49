#include "catalogue/core/codes.h"

namespace folian {

namespace {
struct KindTags {
    int kind;
    int subject;
    QList<int> authors;
};
const QList<KindTags> &kindTable()
{
    static const QList<KindTags> t{
        {1, 600, {700, 701, 702}}, {2, 601, {710, 711, 712}}, {3, 602, {720, 721, 722}},
        {4, 604, {730}},           {5, 605, {}},              {6, 606, {}},
        {7, 607, {}},              {8, 608, {}},              {9, 610, {}},
        {10, 616, {716}},
    };
    return t;
}
} // namespace

bool CopyStatus::countsAsExisting(int status)
{
    return status != Damaged && status != Lost && status != Exchanged && status != Given;
}

bool HeadingKind::isAuthorKind(int kind)
{
    return kind == PersonalName || kind == CorporateBody || kind == FamilyName || kind == NameAndTitle
        || kind == TradeMark;
}

int HeadingKind::subjectTag(int kind)
{
    for (const KindTags &k : kindTable())
        if (k.kind == kind)
            return k.subject;
    return 0;
}

QList<int> HeadingKind::authorTags(int kind)
{
    for (const KindTags &k : kindTable())
        if (k.kind == kind)
            return k.authors;
    return {};
}

int HeadingKind::kindOfTag(int tag)
{
    for (const KindTags &k : kindTable())
        if (k.subject == tag || k.authors.contains(tag))
            return k.kind;
    return 0;
}

} // namespace folian
