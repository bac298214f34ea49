// The selection pages of the copy/issue dialog: the title's copies or
// issues that no outgoing line holds, one of them handed over with the
// line ("Enregistrer" or a double click).

#include "acquisitions/core/gifts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "acquisitions/widgets/frmlivraisonexemplaire.h"
#include "data/core/dataset.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"

#include <QTableView>
#include <QVBoxLayout>

namespace folian {

QWidget *TFrmLivraisonExemplaire::buildSelectionPage(Page page)
{
    const bool copies = page == Page::SelectCopy;
    auto *w = new QWidget(this);
    w->setObjectName(copies ? QStringLiteral("TabSelectionExemplaire") : QStringLiteral("TabSelectionBulletin"));
    choiceRows_ = new Dataset(data_.db(), QStringLiteral("QSelection"),
                              copies ? QStringLiteral("NOTICE_EXEMPLAIRE") : QStringLiteral("NOTICE_BULLETIN"), this);
    const GiftLine line = loadGiftLine(data_.db(), target_.line);
    const SqlText sql = copies ? selectableCopiesSql(line) : selectableIssuesSql(line);
    choiceRows_->open(sql.sql, sql.binds);
    choiceRows_->fetchAll();
    auto *model = new DatasetModel(choiceRows_, this);
    if (copies)
        model->setColumns({QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE"), QStringLiteral("LOC_LIBELLE"),
                           QStringLiteral("STA_EXP_LIBELLE"), QStringLiteral("LEC_ID")},
                          {QStringLiteral("N° Exemplaire"), QStringLiteral("Cote"), QStringLiteral("Localisation"),
                           QStringLiteral("Statut"), QStringLiteral("Lecteur")});
    else
        model->setColumns({QStringLiteral("BUL_NUMERO"), QStringLiteral("BUL_DATE"), QStringLiteral("BUL_TITRE")},
                          {QStringLiteral("N° Bulletin"), QStringLiteral("Date de parution"), QStringLiteral("Titre (n° spécial)")});
    choiceGrid_ = acqGrid(copies ? "DBGridSelectionExemplaire" : "DBGridSelectionBulletin", model, w);
    setColumnWidths(choiceGrid_, {120, 110, 130, 130});
    connect(choiceGrid_, &QTableView::doubleClicked, this, &TFrmLivraisonExemplaire::BtnPostClick);
    auto *layout = new QVBoxLayout(w);
    layout->addWidget(choiceGrid_);
    resize(620, 380);
    return w;
}

AcqResult TFrmLivraisonExemplaire::handOverChosen()
{
    const QModelIndex current = choiceGrid_->currentIndex();
    const int row = current.isValid() ? current.row() : -1;
    if (row < 0 || row >= choiceRows_->rowCount())
        return AcqResult::refused(page_ == Page::SelectCopy ? acq::copySelectCaption() : acq::issueSelectCaption());
    if (page_ == Page::SelectCopy) {
        savedCopy_ = choiceRows_->valueAt(row, QStringLiteral("EXP_ID")).toString();
        return handOverCopy(data_.db(), target_.line, savedCopy_);
    }
    return handOverIssue(data_.db(), target_.line, choiceRows_->valueAt(row, QStringLiteral("BUL_ID")).toInt());
}

} // namespace folian
