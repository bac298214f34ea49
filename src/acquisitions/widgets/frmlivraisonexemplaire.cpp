#include "acquisitions/widgets/frmlivraisonexemplaire.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace folian {

TFrmLivraisonExemplaire::TFrmLivraisonExemplaire(TFrmData &frmData, Page page, const ReceiptTarget &target,
                                                 const QString &copyId, int issueId, QWidget *parent)
    : FormDialog(parent), data_(frmData), page_(page), target_(target), copyId_(copyId), issueId_(issueId)
{
    setObjectName(QStringLiteral("FrmLivraisonExemplaire"));
    setWindowTitle(QStringLiteral("Exemplaire"));
    setModal(true);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PgcExemplaire"));
    pages_->addTab(buildIssuePage(), QStringLiteral("Bulletin"));
    pages_->addTab(buildCopyPage(), QStringLiteral("Exemplaire"));
    if (page == Page::SelectCopy || page == Page::SelectIssue)
        pages_->addTab(buildSelectionPage(page),
                       page == Page::SelectCopy ? QStringLiteral("Selection exemplaire") : QStringLiteral("Sélection bulletin"));
    // Only the page of the row being saved is shown.
    const int shown = qMin(int(page), pages_->count() - 1);
    pages_->setCurrentIndex(shown);
    for (int i = 0; i < pages_->count(); ++i)
        pages_->setTabVisible(i, i == shown);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmLivraisonExemplaire::BtnPostClick);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(bottom);
    setMinimumWidth(460);

    if (page == Page::Copy) {
        const CopySheet c = copyId_.isEmpty() ? CopySheet() : loadCopy(data_.db(), copyId_);
        field("EdtNumero")->setText(c.id);
        field("EdtCote")->setText(c.shelfMark);
        field("EdtAlternatif")->setText(c.altNumber);
        field("EdtObservation")->setText(c.observation);
        chooseKey(list("CbLocalisation"), c.location);
        chooseKey(list("CbSupport"), c.support);
        chooseKey(list("CbStatut"), IsBlank(c.status) ? QVariant(2) : c.status);
        field("EdtNumero")->setFocus();
    } else if (page == Page::Issue) {
        const IssueSheet s = issueId_ > 0 ? loadIssue(data_.db(), issueId_) : IssueSheet();
        field("EdtNumeroBulletin")->setText(s.number);
        field("EdtTitreBulletin")->setText(s.title);
        field("EdtDateParution")->setText(s.date);
        received_->setChecked(s.received);
        field("EdtNumeroBulletin")->setFocus();
    }
}

QWidget *TFrmLivraisonExemplaire::buildCopyPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabExemplaire"));
    auto *form = new QFormLayout(page);
    formLine(form, page, "EdtNumero", "LblNumero", "N° exemplaire :");
    formLine(form, page, "EdtCote", "LblCote", "Cote :");
    formLine(form, page, "EdtAlternatif", "LblAlternatif", "N° alternatif :");
    QComboBox *location = formList(form, page, "CbLocalisation", "LblLocalisation", "Localisation :");
    QComboBox *support = formList(form, page, "CbSupport", "LblSupport", "Type de support :");
    QComboBox *status = formList(form, page, "CbStatut", "LblStatut", "Statut :");
    formLine(form, page, "EdtObservation", "LblObservation", "Observation :");
    fillCopyLists(data_.db(), location, support, status);
    return page;
}

QWidget *TFrmLivraisonExemplaire::buildIssuePage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabBulletin"));
    auto *form = new QFormLayout(page);
    formLine(form, page, "EdtNumeroBulletin", "LblNumeroBulletin", "N° bulletin :");
    formLine(form, page, "EdtTitreBulletin", "LblTitreBulletin", "Titre (n° spécial) :");
    formLine(form, page, "EdtDateParution", "LblDateParution", "Date de parution :");
    received_ = new QCheckBox(QStringLiteral("Reçu"), page);
    received_->setObjectName(QStringLiteral("ChkRecu"));
    form->addRow(QString(), received_);
    return page;
}

QLineEdit *TFrmLivraisonExemplaire::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }
QComboBox *TFrmLivraisonExemplaire::list(const char *name) const { return findChild<QComboBox *>(QLatin1String(name)); }

void TFrmLivraisonExemplaire::afterLocalise()
{
    if (page_ == Page::SelectCopy || page_ == Page::SelectIssue) {
        setWindowTitle(page_ == Page::SelectCopy ? acq::copySelectCaption() : acq::issueSelectCaption());
    } else if (page_ == Page::Copy) {
        setWindowTitle(isNew() ? acq::newCopyCaption() : acq::editCopyCaption());
        fillCopyLists(data_.db(), list("CbLocalisation"), list("CbSupport"), list("CbStatut"));
    } else {
        setWindowTitle(isNew() ? acq::newIssueCaption() : acq::editIssueCaption());
    }
}

void TFrmLivraisonExemplaire::BtnPostClick()
{
    AcqResult r;
    if (page_ == Page::SelectCopy || page_ == Page::SelectIssue) {
        r = handOverChosen();
    } else if (page_ == Page::Copy) {
        CopySheet c;
        c.id = field("EdtNumero")->text();
        c.shelfMark = field("EdtCote")->text();
        c.altNumber = field("EdtAlternatif")->text();
        c.observation = field("EdtObservation")->text();
        c.location = chosenKey(list("CbLocalisation"));
        c.support = chosenKey(list("CbSupport"));
        c.status = chosenKey(list("CbStatut"));
        r = copyId_.isEmpty() ? addReceivedCopy(data_.db(), target_, c) : updateReceivedCopy(data_.db(), copyId_, c);
        savedCopy_ = c.id.trimmed();
    } else {
        IssueSheet s;
        s.id = issueId_;
        s.number = field("EdtNumeroBulletin")->text();
        s.title = field("EdtTitreBulletin")->text();
        s.date = field("EdtDateParution")->text();
        s.received = received_->isChecked();
        r = issueId_ == 0 ? addReceivedIssue(data_.db(), target_, s) : updateIssue(data_.db(), s);
    }
    if (!r.passed) {
        inform(r.message);
        return;
    }
    accept();
}

} // namespace folian
