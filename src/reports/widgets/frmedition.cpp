#include "reports/widgets/frmedition.h"

#include "base/messages.h"
#include "base/rights.h"
#include "data/core/shareddata.h"
#include "reports/core/editions.h"
#include "reports/widgets/frmhtmlpreview.h"

#include <QApplication>

namespace folian {

namespace {
QHash<QString, EditionDialog> &editionDialogs()
{
    static QHash<QString, EditionDialog> dialogs;
    return dialogs;
}
QHash<QString, EditionScreen> &editionScreens()
{
    static QHash<QString, EditionScreen> screens;
    return screens;
}
} // namespace

void setEditionDialog(const QString &entryName, EditionDialog open)
{
    if (open)
        editionDialogs().insert(entryName, std::move(open));
    else
        editionDialogs().remove(entryName);
}

void setEditionScreen(const QString &entryName, EditionScreen make)
{
    if (make)
        editionScreens().insert(entryName, std::move(make));
    else
        editionScreens().remove(entryName);
}

TFrmEdition::TFrmEdition(TFrmData &dataModule, QWidget *parent)
    : TFrmModule(dataModule, QStringLiteral("FrmEdition"), QStringLiteral("Editions des états"),
                 QStringLiteral("Module Editions"), parent)
{
    setHomeTitle(QStringLiteral("Editions des états"), QStringLiteral("التقارير"));
    setRoutesKeys(false);
    // The reference lists unrestricted, whatever the logon restricted.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::pair<Dataset *, const char *> refs[] = {
        {dataModule.QTypeDocument, "TYPE_DOCUMENT"},   {dataModule.QIndication, "INDICATION"},
        {dataModule.QStatutNotice, "STATUT_NOTICE"},   {dataModule.QRelation, "RELATION"},
        {dataModule.QStatutExemplaire, "STATUT_EXEMPLAIRE"}, {dataModule.QModeAcquisition, "MODE_ACQUISITION"},
        {dataModule.QTypeVedette, "TYPE_VEDETTE"},
    };
    for (const auto &[query, table] : refs)
        query->open(QStringLiteral("SELECT * FROM ") + QLatin1String(table));
    // The catalogue generation finds its scratch database ready; it says
    // so itself when the database cannot be made.
    ensureScratchDatabase();
    QApplication::restoreOverrideCursor();

    for (const EditionGroup &group : editionMenu()) {
        addHeading(group.name, group.caption);
        for (const EditionEntry &e : group.entries) {
            // Entries whose screens are still to come are shown disabled.
            Action action;
            if (!e.page.isEmpty())
                action = [this, &e] { previewPage(e); };
            else if (const EditionScreen make = editionScreens().value(e.name))
                action = [this, &e, make] { hostScreen(e, make); };
            else if (const EditionDialog open = editionDialogs().value(e.name))
                action = [this, &e, open] { openDialog(e, open); };
            addEntry(e.name, e.caption, needs(e.right), action);
        }
    }
}

void TFrmEdition::openDialog(const EditionEntry &e, const EditionDialog &open)
{
    if (!ClearDesktopForm())
        return;
    setTitle(e.titleFrench, e.titleArabic);
    open(data_, this);
}

void TFrmEdition::hostScreen(const EditionEntry &e, const EditionScreen &make)
{
    if (!ClearDesktopForm())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QWidget *screen = make(data_, e.name);
    QApplication::restoreOverrideCursor();
    host(screen, QString(), e.titleFrench, e.titleArabic);
}

void TFrmEdition::previewPage(const EditionEntry &e)
{
    const QString page = existingEditionPage(e);
    if (page.isEmpty())
        return;
    auto *preview = new TFrmHTMLPreview;
    host(preview, QString(), e.titleFrench, e.titleArabic);
    preview->PreviewFile(tr2(e.pageFrench, e.pageArabic), page);
}

} // namespace folian
