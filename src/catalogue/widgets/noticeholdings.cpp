#include "catalogue/widgets/noticeholdings.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/records.h"
#include "catalogue/core/resources.h"
#include "catalogue/core/satellites.h"
#include "catalogue/widgets/frmnoticedetail.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QUrl>

namespace folian {

namespace {

NoticeHoldings::Opener &opener()
{
    static NoticeHoldings::Opener o;
    return o;
}

NoticeHoldings::Generator &generator()
{
    static NoticeHoldings::Generator g;
    return g;
}

bool openTarget(const ResourceTarget &t)
{
    if (opener())
        return opener()(t);
    return t.address ? QDesktopServices::openUrl(QUrl(t.target)) : RunDocument(t.target);
}

const Satellite kPageSatellite[3] = {Satellite::Copies, Satellite::Issues, Satellite::Resources};

} // namespace

void NoticeHoldings::setOpener(Opener o) { opener() = std::move(o); }
void NoticeHoldings::setGenerator(Generator g) { generator() = std::move(g); }
bool NoticeHoldings::hasGenerator() { return bool(generator()); }

NoticeHoldings::NoticeHoldings(TFrmData &data, QWidget *window, std::function<bool()> saveRecord, QObject *parent)
    : QObject(parent), data_(data), window_(window), save_(std::move(saveRecord))
{
}

bool NoticeHoldings::openSheet(int page, bool append, const QString &title)
{
    const Satellite s = kPageSatellite[page];
    Dataset *d = satelliteQuery(data_, s);
    if (!save_())
        return false;
    const QVariant saved = data_.QNotice->value(QStringLiteral("DOC_ID"));
    if (append ? !openSatellite(data_, s, saved) || !d->append() : !d->isOpen() || d->currentRow() < 0 || !d->edit())
        return false;
    TFrmNoticeDetail sheet(data_, TFrmNoticeDetail::Page(page), title, window_);
    const bool posted = sheet.exec() == QDialog::Accepted;
    if (d->isEditing())
        d->cancel();
    openSatellite(data_, s, saved);
    return posted;
}

bool NoticeHoldings::remove(Dataset *d, int satellite, const QString &question)
{
    if (!d->isOpen() || d->currentRow() < 0 || !confirmIrreversible(question))
        return false;
    const bool ok = d->remove();
    openSatellite(data_, kPageSatellite[satellite], data_.QNotice->value(QStringLiteral("DOC_ID")));
    return ok;
}

bool NoticeHoldings::AddCopy()
{
    return openSheet(0, true, tr2(QStringLiteral("Nouvelle exemplaire"), QStringLiteral("إضافة نسخة")));
}

bool NoticeHoldings::EditCopy()
{
    Dataset *x = data_.QExemplaire;
    if (!x->isOpen() || x->currentRow() < 0)
        return false;
    if (const QString refusal = copyEditRefusal(data_.db(), x->value(QStringLiteral("EXP_ID"))); !refusal.isEmpty()) {
        inform(refusal);
        return false;
    }
    return openSheet(0, false, tr2(QStringLiteral("Modification exemplaire"), QStringLiteral("تعديل نسخة")));
}

bool NoticeHoldings::DeleteCopy()
{
    Dataset *x = data_.QExemplaire;
    if (!x->isOpen() || x->currentRow() < 0)
        return false;
    const QVariant id = x->value(QStringLiteral("EXP_ID"));
    if (const QString refusal = copyDeleteRefusal(data_.db(), id); !refusal.isEmpty()) {
        inform(refusal);
        return false;
    }
    return remove(x, 0, copyDeleteQuestion(id));
}

bool NoticeHoldings::AddIssue()
{
    return openSheet(1, true, tr2(QStringLiteral("Nouveau bulletin"), QStringLiteral("إضافة نشرة")));
}

bool NoticeHoldings::EditIssue()
{
    return openSheet(1, false, tr2(QStringLiteral("Modification bulletin"), QStringLiteral("تعديل نشرة")));
}

bool NoticeHoldings::DeleteIssue()
{
    Dataset *b = data_.QBulletin;
    return remove(b, 1, issueDeleteQuestion(b->value(QStringLiteral("BUL_NUMERO"))));
}

bool NoticeHoldings::AddResource()
{
    return openSheet(2, true, tr2(QStringLiteral("Nouvelle ressource"), QStringLiteral("إضافة مصدر إلكتروني")));
}

bool NoticeHoldings::EditResource()
{
    return openSheet(2, false, tr2(QStringLiteral("Modification ressource"), QStringLiteral("تعديل مصدر إلكتروني")));
}

bool NoticeHoldings::DeleteResource()
{
    Dataset *r = data_.QRessource;
    return remove(r, 2, resourceDeleteQuestion(r->value(QStringLiteral("RES_LIEN"))));
}

bool NoticeHoldings::CountCopies()
{
    // The record's own pending changes are saved first: a refused count
    // then cancels only the count.
    return save_() && storeCopyCount(*data_.QNotice, data_.db());
}

bool NoticeHoldings::GenerateCopies()
{
    if (!generator() || !save_())
        return false;
    Dataset *n = data_.QNotice;
    const QVariant docId = n->value(QStringLiteral("DOC_ID"));
    const QVariant wanted = n->value(QStringLiteral("DOC_NBR_EXEMPLAIRE"));
    const int listed = data_.QExemplaire->isOpen() ? data_.QExemplaire->rowCount() : 0;
    const int proposed = IsBlank(wanted) ? 0 : qMax(0, wanted.toInt() - listed);
    const bool created = generator()(window_, data_, docId.toInt(), proposed);
    openSatellite(data_, Satellite::Copies, docId);
    return created;
}

bool NoticeHoldings::OpenResource()
{
    Dataset *r = data_.QRessource;
    if (!r->isOpen() || r->currentRow() < 0)
        return false;
    const QVariant link = r->value(QStringLiteral("RES_LIEN"));
    const QString dir = archiveDirectory(data_.db(), data_.QNotice->value(QStringLiteral("TYP_ID")), session().AppDir);
    const ResourceTarget t = resourceTarget(link, dir);
    if (t.target.isEmpty()) {
        warn(tr2(QStringLiteral("La ressource est introuvable : "), QStringLiteral("المصدر غير موجود : ")) + dir
             + link.toString());
        return false;
    }
    if (openTarget(t))
        return true;
    warn(tr2(QStringLiteral("Aucun programme ne peut ouvrir la ressource : "),
             QStringLiteral("لا يوجد برنامج يمكنه فتح المصدر : "))
         + t.target);
    return false;
}

void NoticeHoldings::setOpenButton(QPushButton *button)
{
    Dataset *r = data_.QRessource;
    auto update = [r, button] { button->setEnabled(r->isOpen() && r->rowCount() > 0 && !r->isEditing()); };
    for (auto signal : {&Dataset::reset, &Dataset::stateChanged})
        connect(r, signal, button, update);
    connect(r, &Dataset::rowRemoved, button, update);
    update();
}

} // namespace folian
