#include "catalogue/widgets/noticetabs.h"

#include "base/session.h"
#include "catalogue/core/records.h"
#include "catalogue/widgets/cataloguegrid.h"
#include "catalogue/widgets/noticefields.h"
#include "catalogue/widgets/satellitepanel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"

#include <QBrush>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

QWidget *titledBox(const QString &name, const QString &title, QWidget *content, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    auto *l = new QVBoxLayout(box);
    l->setContentsMargins(6, 4, 6, 6);
    content->setParent(box);
    l->addWidget(content);
    return box;
}

NoticeTitlesTab::NoticeTitlesTab(TFrmData &frmData, FieldBinder &binder, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("TabTitres"));

    auto *titles = new QWidget;
    QFormLayout *f = fieldForm(titles);
    title_ = addLine(f, binder, QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Titre propre :"));
    addLine(f, binder, QStringLiteral("DOC_TITRE_PARALLELE"), QStringLiteral("Titre parallèle :"));
    addLine(f, binder, QStringLiteral("DOC_TITRE_COMPLEMENT"), QStringLiteral("Complément du titre :"));
    addLine(f, binder, QStringLiteral("DOC_TITRE_ENSEMBLE"), QStringLiteral("Titre d'ensemble :"));
    addLine(f, binder, QStringLiteral("DOC_NUMERO_PARTIE"), QStringLiteral("N° de partie :"));

    // Authors: the heading (red when the record points to a rejected form),
    // the kind of responsibility in the record's language, the function.
    const QString function = QStringLiteral("FON_LIBELLE") + session().LanguageSuffix;
    Dataset *a = frmData.QAuteur;
    authors_ = new SatellitePanel(a, QStringLiteral("Auteur"),
                                  {QStringLiteral("VED_NOM"), QStringLiteral("AUT_TYPE"), function},
                                  {QStringLiteral("Auteur"), QStringLiteral("Type"), QStringLiteral("Fonction")});
    Dataset *notice = frmData.QNotice;
    authors_->model()->setDisplay(QStringLiteral("AUT_TYPE"), [notice](const QVariant &v) {
        return authorTypeName(v, notice->value(QStringLiteral("LAN_ID")));
    });
    authors_->model()->setStyler([a](int row, const QString &field, int role) -> QVariant {
        if (role != Qt::ForegroundRole || field != QLatin1String("VED_NOM"))
            return {};
        const QVariant accepted = a->valueAt(row, QStringLiteral("VED_ID2"));
        if (IsBlank(accepted) || sameValue(accepted, a->valueAt(row, QStringLiteral("VED_ID"))))
            return {};
        return QBrush(Qt::red);
    });
    connect(notice, &Dataset::rowChanged, authors_, [this] { authors_->model()->refresh(); });
    authors_->grid()->setColumnWidth(0, 190);
    authors_->grid()->setColumnWidth(1, 110);

    auto *codes = new QWidget;
    f = fieldForm(codes);
    type_ = new QComboBox(codes);
    addFieldRow(f, QStringLiteral("TYP_ID"), QStringLiteral("Type de document :"), type_);
    binder.bind(type_, QStringLiteral("TYP_ID"));
    binder.setCaption(QStringLiteral("TYP_ID"), QStringLiteral("Type de document"));
    for (Dataset *d : {frmData.QIndication, frmData.QStatutNotice, frmData.QLangue, frmData.QPeriodicite})
        openLookup(d);
    addList(f, binder, QStringLiteral("IND_ID"), QStringLiteral("Indication générale :"), frmData.QIndication,
            QStringLiteral("IND_ID"), QStringLiteral("IND"));
    addList(f, binder, QStringLiteral("STA_ID"), QStringLiteral("Statut notice :"), frmData.QStatutNotice,
            QStringLiteral("STA_ID"), QStringLiteral("STA"));
    addList(f, binder, QStringLiteral("LAN_ID"), QStringLiteral("Langue de publication :"), frmData.QLangue,
            QStringLiteral("LAN_ID"), QStringLiteral("LAN"));
    addList(f, binder, QStringLiteral("LAN_ID2"), QStringLiteral("Langue originale :"), frmData.QLangue,
            QStringLiteral("LAN_ID"), QStringLiteral("LAN"));
    addList(f, binder, QStringLiteral("PER_ID"), QStringLiteral("Périodicité :"), frmData.QPeriodicite,
            QStringLiteral("PER_ID"), QStringLiteral("PER"));

    auto *numbers = new QWidget;
    f = fieldForm(numbers);
    addLine(f, binder, QStringLiteral("DOC_ISBN"), QStringLiteral("ISBN :"));
    addLine(f, binder, QStringLiteral("DOC_ISSN"), QStringLiteral("ISSN :"));
    addLine(f, binder, QStringLiteral("DOC_NUM"), QStringLiteral("Autre numéro :"));

    auto *collation = new QWidget;
    f = fieldForm(collation);
    addLine(f, binder, QStringLiteral("DOC_NBR_UNITE"), QStringLiteral("Nombre de pages, éléments... :"));
    addLine(f, binder, QStringLiteral("DOC_ILLUSTRATION"), QStringLiteral("Illustration :"));
    addLine(f, binder, QStringLiteral("DOC_FORMAT"), QStringLiteral("Format :"));
    addLine(f, binder, QStringLiteral("DOC_MATERIEL"), QStringLiteral("Matériel d'accompagnement :"));

    // Left the titles and the description, right the codes and the authors.
    auto *left = new QVBoxLayout;
    left->addWidget(titledBox(QStringLiteral("GrpTitres"), QStringLiteral(" Titres "), titles, this));
    left->addWidget(titledBox(QStringLiteral("GrpNumeros"), QStringLiteral(" Numéros normalisés "), numbers, this));
    left->addWidget(titledBox(QStringLiteral("GrpCollation"), QStringLiteral(" Collation "), collation, this));
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(titledBox(QStringLiteral("GrpCodes"), QStringLiteral(" Codes "), codes, this));
    right->addWidget(titledBox(QStringLiteral("GrpAuteurs"), QStringLiteral(" Auteurs "), authors_, this), 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
}

void NoticeTitlesTab::offerTypes(const QStringList &types)
{
    Dataset *t = data_.QTypeDocument;
    t->open(QStringLiteral("SELECT * FROM TYPE_DOCUMENT"));
    t->fetchAll();
    const QString label = QStringLiteral("TYP_LIBELLE") + session().LanguageSuffix;
    const QString own = data_.QNotice->value(QStringLiteral("TYP_ID")).toString();
    const QSignalBlocker block(type_);
    type_->clear();
    for (int r = 0; r < t->rowCount(); ++r) {
        const QString code = t->valueAt(r, QStringLiteral("TYP_ID")).toString();
        if (types.contains(code) || code == own)
            type_->addItem(documentTypeIcon(code), t->valueAt(r, label).toString(), code);
    }
}

} // namespace folian
