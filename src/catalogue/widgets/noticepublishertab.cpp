#include "catalogue/widgets/noticetabs.h"

#include "base/session.h"
#include "catalogue/widgets/cataloguegrid.h"
#include "catalogue/widgets/noticefields.h"
#include "catalogue/widgets/referencebox.h"
#include "catalogue/widgets/satellitepanel.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

NoticePublisherTab::NoticePublisherTab(TFrmData &frmData, FieldBinder &binder, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabEditeur"));

    indices_ = new SatellitePanel(frmData.QIndice, QStringLiteral("Indice"),
                                  {QStringLiteral("CLA_ID"), QStringLiteral("CLA_LIBELLE") + session().LanguageSuffix},
                                  {QStringLiteral("Indice"), QStringLiteral("Libellé")});
    indices_->grid()->setColumnWidth(0, 110);
    subjects_ = new SatellitePanel(frmData.QMatiere, QStringLiteral("Matiere"), {QStringLiteral("VED_NOM")},
                                   {QStringLiteral("Nom de la vedette")});

    // Left the publication and its indices, right the parent record and the subjects.
    auto *left = new QVBoxLayout;
    left->addWidget(titledBox(QStringLiteral("GrpEdition"), QStringLiteral(" Publication "), publication(frmData, binder), this));
    left->addWidget(titledBox(QStringLiteral("GrpIndices"), QStringLiteral(" Indices "), indices_, this), 1);
    auto *right = new QVBoxLayout;
    right->addWidget(
        titledBox(QStringLiteral("GrpNoticeMere"), QStringLiteral(" Notice mère "), parentRecord(frmData, binder), this));
    right->addWidget(titledBox(QStringLiteral("GrpMatieres"), QStringLiteral(" Vedettes matières "), subjects_, this), 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
}

QWidget *NoticePublisherTab::publication(TFrmData &frmData, FieldBinder &binder)
{
    auto *w = new QWidget;
    QFormLayout *f = fieldForm(w);
    addLine(f, binder, QStringLiteral("DOC_ANNEE"), QStringLiteral("Année d'edition/soutenance :"));
    addLine(f, binder, QStringLiteral("DOC_EDITION"), QStringLiteral("Edition :"));
    auto reference = [&](const char *column, const QString &caption, PickList list, int mode) {
        auto *box = new ReferenceBox(frmData, frmData.QNotice, QLatin1String(column), list, mode, w);
        auto *label = new QLabel(caption, w);
        label->setObjectName(QStringLiteral("Lbl") + QLatin1String(column));
        label->setBuddy(box->edit());
        f->addRow(label, box);
        references_ << box;
        return box;
    };
    addLine(f, binder, QStringLiteral("DOC_LIEU_EDITION"), QStringLiteral("Lieu d'édition :"));
    reference("EDT_ID", QStringLiteral("Editeur :"), PickList::Publisher, 1);
    addLine(f, binder, QStringLiteral("DOC_LIEU_EDITION2"), QStringLiteral("Autre lieu d'édition :"));
    reference("EDT_ID2", QStringLiteral("Autre editeur :"), PickList::Publisher, 2);

    // A collection and a sub-collection, each with the number within it.
    auto numbered = [&](const char *key, const QString &caption, PickList list, const char *number) {
        ReferenceBox *box = reference(key, caption, list, 1);
        auto *num = new QLineEdit(w);
        num->setObjectName(QLatin1String(number));
        num->setMaximumWidth(90);
        binder.bind(num, QLatin1String(number));
        acceptAnyLength(num);
        binder.setCaption(QLatin1String(number), QStringLiteral("N°"));
        auto *numLabel = new QLabel(QStringLiteral("N° :"), w);
        numLabel->setObjectName(QStringLiteral("Lbl") + QLatin1String(number));
        numLabel->setBuddy(num);
        static_cast<QHBoxLayout *>(box->layout())->addWidget(numLabel);
        static_cast<QHBoxLayout *>(box->layout())->addWidget(num);
    };
    numbered("COL_ID", QStringLiteral("Collection :"), PickList::Collection, "COL_NUMERO");
    numbered("SCL_ID", QStringLiteral("Sous collection :"), PickList::SubCollection, "SCL_NUMERO");
    return w;
}

QWidget *NoticePublisherTab::parentRecord(TFrmData &frmData, FieldBinder &binder)
{
    auto *w = new QWidget;
    QFormLayout *f = fieldForm(w);
    openLookup(frmData.QRelation);
    addList(f, binder, QStringLiteral("REL_ID"), QStringLiteral("Relation :"), frmData.QRelation, QStringLiteral("REL_ID"),
            QStringLiteral("REL"));
    addLine(f, binder, QStringLiteral("REL_TITRE"), QStringLiteral("Titre :"));
    addLine(f, binder, QStringLiteral("REL_DATE_PUB"), QStringLiteral("Date de publication :"));
    addLine(f, binder, QStringLiteral("REL_VOLUME"), QStringLiteral("Volume :"));
    addLine(f, binder, QStringLiteral("REL_ISSN"), QStringLiteral("ISSN :"));
    addLine(f, binder, QStringLiteral("REL_ISBN"), QStringLiteral("ISBN :"));
    link_ = new QPushButton(QStringLiteral("Liéer notice"), w);
    link_->setObjectName(QStringLiteral("BtnLierNotice"));
    link_->setAutoDefault(false);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(link_);
    f->addRow(row);
    return w;
}

void NoticePublisherTab::setWritable(bool writable)
{
    for (ReferenceBox *b : std::as_const(references_))
        b->setWritable(writable);
    indices_->setWritable(writable);
    subjects_->setWritable(writable);
    link_->setEnabled(writable);
}

} // namespace folian
