#include "catalogue/widgets/noticesatellites.h"

#include "base/messages.h"
#include "catalogue/core/satellites.h"
#include "catalogue/widgets/frmresponsabilite.h"
#include "catalogue/widgets/pickers.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

namespace {

// The satellites chosen from a list, by their Satellite code.
struct Chosen {
    Satellite satellite;
    PickList list;
    int mode;
    const char *column;
};
const Chosen kChosen[] = {
    {Satellite::Authors, PickList::Heading, 1, "VED_ID"},
    {Satellite::Subjects, PickList::Heading, 2, "VED_ID"},
    {Satellite::Indices, PickList::Classification, 1, "CLA_ID"},
};
constexpr int kAuthors = 0, kSubjects = 1, kIndices = 2;

// The key a record links to: a heading's accepted form, else the chosen row.
QVariant linkedKey(const Picked &p, PickList list)
{
    if (list == PickList::Heading && !IsBlank(p.accepted))
        return p.accepted;
    return p.key;
}

// The filter of an edit: the current row's name (or index) + "*".
QString filterOf(Dataset *d, const char *column)
{
    const QString v = d->value(QLatin1String(column)).toString().trimmed();
    return v.isEmpty() ? QString() : v + u'*';
}

} // namespace

NoticeSatellites::NoticeSatellites(TFrmData &data, QWidget *window, std::function<bool()> saveRecord, QObject *parent)
    : QObject(parent), data_(data), window_(window), save_(std::move(saveRecord))
{
}

bool NoticeSatellites::chooseAuthor(const QString &filter)
{
    Dataset *a = data_.QAuteur;
    for (;;) {
        const Picked p = pick(window_, data_, PickRequest{PickList::Heading, 1, filter, {}});
        if (!p.ok() || !a->setValue(QStringLiteral("VED_ID"), linkedKey(p, PickList::Heading))) {
            a->cancel();
            return false;
        }
        TFrmResponsabilite responsibility(data_, window_);
        if (responsibility.exec() == QDialog::Accepted) {
            openSatellite(data_, Satellite::Authors, data_.QNotice->value(QStringLiteral("DOC_ID")));
            return true;
        }
    }
}

bool NoticeSatellites::chooseAndPost(int which, const QString &filter)
{
    const Chosen &c = kChosen[which];
    Dataset *d = satelliteQuery(data_, c.satellite);
    const Picked p = pick(window_, data_, PickRequest{c.list, c.mode, filter, {}});
    const bool ok = p.ok() && d->setValue(QLatin1String(c.column), linkedKey(p, c.list)) && d->post();
    if (!ok)
        d->cancel();  // a row whose choice failed is not kept
    openSatellite(data_, c.satellite, data_.QNotice->value(QStringLiteral("DOC_ID")));
    return ok;
}

bool NoticeSatellites::remove(int which, const QString &question)
{
    Dataset *d = satelliteQuery(data_, kChosen[which].satellite);
    if (!d->isOpen() || d->rowCount() == 0 || d->currentRow() < 0 || !confirmIrreversible(question))
        return false;
    const bool ok = d->remove();
    openSatellite(data_, kChosen[which].satellite, data_.QNotice->value(QStringLiteral("DOC_ID")));
    return ok;
}

bool NoticeSatellites::startRow(int which, bool append)
{
    const Satellite s = kChosen[which].satellite;
    Dataset *d = satelliteQuery(data_, s);
    if (!save_())
        return false;
    if (append)
        return openSatellite(data_, s, data_.QNotice->value(QStringLiteral("DOC_ID"))) && d->append();
    return d->isOpen() && d->currentRow() >= 0 && d->edit();
}

bool NoticeSatellites::AddAuthor() { return startRow(kAuthors, true) && chooseAuthor(QString()); }

bool NoticeSatellites::EditAuthor()
{
    return startRow(kAuthors, false) && chooseAuthor(filterOf(data_.QAuteur, "VED_NOM"));
}

bool NoticeSatellites::DeleteAuthor()
{
    return remove(kAuthors, tr2(QStringLiteral("Supprimer l'auteur ?"), QStringLiteral("حذف المؤلف ؟")));
}

bool NoticeSatellites::AddSubject() { return startRow(kSubjects, true) && chooseAndPost(kSubjects, QString()); }

bool NoticeSatellites::EditSubject()
{
    return startRow(kSubjects, false) && chooseAndPost(kSubjects, filterOf(data_.QMatiere, "VED_NOM"));
}

bool NoticeSatellites::DeleteSubject()
{
    return remove(kSubjects, tr2(QStringLiteral("Supprimer la vedette matière ?"), QStringLiteral("حذف رأس الموضوع")));
}

bool NoticeSatellites::AddIndex() { return startRow(kIndices, true) && chooseAndPost(kIndices, QString()); }

bool NoticeSatellites::EditIndex()
{
    return startRow(kIndices, false)
        && chooseAndPost(kIndices, data_.QIndice->value(QStringLiteral("CLA_ID")).toString().trimmed());
}

bool NoticeSatellites::DeleteIndex()
{
    return remove(kIndices, tr2(QStringLiteral("Supprimer l'indice ?"), QStringLiteral("حذف التصنيف ؟")));
}

} // namespace folian
