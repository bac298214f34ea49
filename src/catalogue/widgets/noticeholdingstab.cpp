#include "catalogue/widgets/noticetabs.h"

#include "base/session.h"
#include "catalogue/unimarc/widgets/frmnoticeview.h"
#include "catalogue/widgets/cataloguegrid.h"
#include "catalogue/widgets/noticefields.h"
#include "catalogue/widgets/noticeholdings.h"
#include "catalogue/widgets/satellitepanel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace folian {

NoticeNotesTab::NoticeNotesTab(TFrmData &frmData, FieldBinder &binder, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabNotes"));
    auto *notes = new QWidget;
    QFormLayout *f = fieldForm(notes);
    addText(f, binder, QStringLiteral("DOC_NOTE"), QStringLiteral("Notes :"));
    addText(f, binder, QStringLiteral("DOC_RESUME"), QStringLiteral("Résumé :"));

    auto *particular = new QWidget;
    f = fieldForm(particular);
    addLine(f, binder, QStringLiteral("DOC_NUMEROTATION"), QStringLiteral("Numérotation (pub. série) :"));
    addLine(f, binder, QStringLiteral("DOC_MUSIQUE"), QStringLiteral("Présentation musicale :"));
    addLine(f, binder, QStringLiteral("DOC_MATHEMATIQUE"), QStringLiteral("Données mathématiques :"));
    addLine(f, binder, QStringLiteral("DOC_RESSOURCE"), QStringLiteral("Type et importance de la ressource :"));

    auto *thesis = new QWidget;
    f = fieldForm(thesis);
    for (Dataset *d : {frmData.QDiplome, frmData.QSpecialite})
        openLookup(d);
    addList(f, binder, QStringLiteral("DIP_ID"), QStringLiteral("Diplôme :"), frmData.QDiplome, QStringLiteral("DIP_ID"),
            QStringLiteral("DIP"));
    addList(f, binder, QStringLiteral("SPE_ID"), QStringLiteral("Spécialité :"), frmData.QSpecialite,
            QStringLiteral("SPE_ID"), QStringLiteral("SPE"));
    addLine(f, binder, QStringLiteral("DOC_LIEU_SOUTENANCE"), QStringLiteral("Lieu de soutenance :"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(titledBox(QStringLiteral("GrpNotes"), QStringLiteral(" Notes et résumé "), notes, this), 0, 0, 2, 1);
    layout->addWidget(titledBox(QStringLiteral("GrpInformations"), QStringLiteral(" Informations particulières "),
                                particular, this),
                      0, 1);
    layout->addWidget(titledBox(QStringLiteral("GrpThese"), QStringLiteral(" Notes de thèse "), thesis, this), 1, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    layout->setRowStretch(1, 1);
}

NoticeHoldingsTab::NoticeHoldingsTab(TFrmData &frmData, FieldBinder &binder, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabExemplaires"));
    const QString sfx = session().LanguageSuffix;

    copies_ = new SatellitePanel(
        frmData.QExemplaire, QStringLiteral("Exemplaire"),
        {QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE"), QStringLiteral("LOC_LIBELLE"), QStringLiteral("SUP_LIBELLE") + sfx,
         QStringLiteral("STA_EXP_LIBELLE") + sfx, QStringLiteral("EXP_INV")},
        {QStringLiteral("N° Exemplaire"), QStringLiteral("Cote"), QStringLiteral("Localisation"), QStringLiteral("Support"),
         QStringLiteral("Statut"), QStringLiteral("N° Alternatif")});
    for (const auto &[column, width] : {std::pair{0, 110}, {1, 120}, {2, 230}, {3, 150}, {4, 150}})
        copies_->grid()->setColumnWidth(column, width);
    auto *count = new QWidget;
    auto *countRow = new QHBoxLayout(count);
    countRow->setContentsMargins(0, 0, 0, 0);
    auto *nbr = new QLineEdit(count);
    nbr->setObjectName(QStringLiteral("DOC_NBR_EXEMPLAIRE"));
    nbr->setMaximumWidth(70);
    binder.bind(nbr, QStringLiteral("DOC_NBR_EXEMPLAIRE"));
    binder.setCaption(QStringLiteral("DOC_NBR_EXEMPLAIRE"), QStringLiteral("Nombre d'exemplaires"));
    auto *nbrLabel = new QLabel(QStringLiteral("Nombre d'exemplaires :"), count);
    nbrLabel->setObjectName(QStringLiteral("LblDOC_NBR_EXEMPLAIRE"));
    nbrLabel->setBuddy(nbr);
    generate_ = namedButton(QStringLiteral("BtnGenerer"), QStringLiteral("Générer"), count);
    count_ = namedButton(QStringLiteral("BtnCompter"), QStringLiteral("?"), count);
    count_->setProperty("localise", false);
    count_->setMaximumWidth(36);
    countRow->addWidget(nbrLabel);
    countRow->addWidget(nbr);
    countRow->addWidget(generate_);
    countRow->addWidget(count_);
    countRow->addStretch(1);
    auto *copyBox = new QWidget;
    auto *cl = new QVBoxLayout(copyBox);
    cl->setContentsMargins(0, 0, 0, 0);
    cl->addWidget(copies_, 1);
    count->setParent(copyBox);
    cl->addWidget(count);

    issues_ = new SatellitePanel(frmData.QBulletin, QStringLiteral("Bulletin"),
                                 {QStringLiteral("BUL_NUMERO"), QStringLiteral("BUL_DATE"), QStringLiteral("BUL_TITRE"),
                                  QStringLiteral("BUL_STATUT")},
                                 {QStringLiteral("N° Bulletin"), QStringLiteral("Date de parution"),
                                  QStringLiteral("Titre (n° spécial)"), QStringLiteral("Reçu")});
    Dataset *b = frmData.QBulletin;
    issues_->model()->setDisplay(QStringLiteral("BUL_STATUT"), [](const QVariant &) { return QString(); });
    issues_->model()->setStyler([b](int row, const QString &field, int role) -> QVariant {
        if (role != Qt::DecorationRole || field != QLatin1String("BUL_STATUT"))
            return {};
        return issueReceivedIcon(b->valueAt(row, QStringLiteral("BUL_STATUT")).toInt() == 1);
    });

    resources_ = new SatellitePanel(frmData.QRessource, QStringLiteral("Ressource"),
                                    {QStringLiteral("RES_TYPE"), QStringLiteral("RES_LIEN")},
                                    {QStringLiteral("Type de ressource"), QStringLiteral("Lien vers la ressource")});
    resources_->grid()->setColumnWidth(0, 140);
    open_ = namedButton(QStringLiteral("BtnOuvrirRessource"), QStringLiteral("Ouvrir"), resources_);
    resources_->addButton(open_);

    auto *source = new QWidget;
    QFormLayout *f = fieldForm(source);
    openLookup(frmData.QPays);
    addList(f, binder, QStringLiteral("PAY_ID"), QStringLiteral("Pays :"), frmData.QPays, QStringLiteral("PAY_ID"),
            QStringLiteral("PAY"));
    addLine(f, binder, QStringLiteral("DOC_AGENCE"), QStringLiteral("Agence :"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(titledBox(QStringLiteral("GrpExemplaires"), QStringLiteral(" Exemplaires "), copyBox, this), 0, 0, 1, 2);
    layout->addWidget(titledBox(QStringLiteral("GrpBulletins"), QStringLiteral(" Bulletins "), issues_, this), 1, 0);
    layout->addWidget(titledBox(QStringLiteral("GrpRessources"), QStringLiteral(" Ressources électroniques "), resources_, this),
                      1, 1);
    layout->addWidget(titledBox(QStringLiteral("GrpSource"), QStringLiteral(" Source de catalogage "), source, this), 2, 0, 1, 2);
    layout->setRowStretch(0, 3);
    layout->setRowStretch(1, 2);
}

void NoticeHoldingsTab::setWritable(bool writable)
{
    for (SatellitePanel *p : {copies_, issues_, resources_})
        p->setWritable(writable);
    count_->setEnabled(writable);
    generate_->setEnabled(writable && NoticeHoldings::hasGenerator());
}

NoticePreviewTab::NoticePreviewTab(TFrmData &frmData, QWidget *parent)
    : QWidget(parent), data_(frmData), view_(new TFrmNoticeView(frmData, this))
{
    setObjectName(QStringLiteral("TabApercu"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 1);
}

void NoticePreviewTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    const QVariant docId = data_.QNotice->value(QStringLiteral("DOC_ID"));
    if (IsBlank(docId))
        view_->browser()->clear();  // a new record not saved yet has nothing stored to show
    else
        view_->showRecord(docId.toInt());
}

} // namespace folian
