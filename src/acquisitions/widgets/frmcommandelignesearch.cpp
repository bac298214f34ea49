#include "acquisitions/widgets/frmcommandelignesearch.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/recordresult.h"
#include "catalogue/widgets/frmnotice.h"
#include "data/core/dataset.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"
#include "data/widgets/pickerdialog.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

TFrmCommandeLigneSearch::TFrmCommandeLigneSearch(TFrmData &frmData, int mode, AcqType documentType, QWidget *parent)
    : QWidget(parent), data_(frmData), mode_(mode), documentType_(documentType)
{
    setObjectName(QStringLiteral("FrmCommandeLigneSearch"));
    setWindowTitle(QStringLiteral("Recherche de documents"));
    // A result of its own: the record form works on the shared record query.
    result_ = new Dataset(data_.db(), QStringLiteral("QNoticeChoix"), QStringLiteral("NOTICE"), this);

    QGroupBox *box = criteriaBox(this);
    auto *grid = new QGridLayout(box);
    const auto line = [&](const char *name, const char *label, const char *caption, int row, int column) {
        auto *e = new QLineEdit(box);
        e->setObjectName(QLatin1String(name));
        QLabel *l = namedLabel(label, QString::fromUtf8(caption), box);
        l->setBuddy(e);
        grid->addWidget(l, row, column);
        grid->addWidget(e, row, column + 1);
        return e;
    };
    setFocusProxy(line("EdtTitre", "LblTitre", "Titre :", 0, 0));  // ready for the title's words
    line("EdtAuteur", "LblAuteur", "Auteur :", 0, 2);
    line("EdtEditeur", "LblEditeur", "Editeur :", 1, 0);
    line("EdtNumero", "LblNumero", "Numéro :", 1, 2);
    operator_ = new QComboBox(box);
    operator_->setObjectName(QStringLiteral("CbOperateur"));
    operator_->addItems({QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<"), QStringLiteral(">="), QStringLiteral("<=")});
    auto *year = new QLineEdit(box);
    year->setObjectName(QStringLiteral("EdtAnnee"));
    year->setMaximumWidth(70);
    auto *yearRow = new QHBoxLayout;
    yearRow->addWidget(operator_);
    yearRow->addWidget(year);
    yearRow->addStretch(1);
    grid->addWidget(namedLabel("LblAnnee", QStringLiteral("Année :"), box), 2, 0);
    grid->addLayout(yearRow, 2, 1);
    type_ = new QComboBox(box);
    type_->setObjectName(QStringLiteral("CbType"));
    grid->addWidget(namedLabel("LblType", QStringLiteral("Type de document :"), box), 2, 2);
    grid->addWidget(type_, 2, 3);
    sort_ = new QButtonGroup(this);
    auto *sortRow = new QHBoxLayout;
    sortRow->addWidget(namedLabel("LblTri", QStringLiteral("Trier par :"), box));
    const struct {
        const char *name, *caption;
        RecordSort sort;
    } sorts[] = {{"RbTitre", "Titre", RecordSort::Title},
                 {"RbAnnee", "Année", RecordSort::Year},
                 {"RbDateCreation", "Date création", RecordSort::Created}};
    for (const auto &s : sorts) {
        auto *b = new QRadioButton(QString::fromUtf8(s.caption), box);
        b->setObjectName(QLatin1String(s.name));
        sort_->addButton(b, int(s.sort));
        sortRow->addWidget(b);
    }
    sort_->button(int(RecordSort::Title))->setChecked(true);
    sortRow->addStretch(1);
    QPushButton *search = namedButton("BtnRechercher", QStringLiteral("Rechercher"), box);
    connect(search, &QPushButton::clicked, this, &TFrmCommandeLigneSearch::Search);
    sortRow->addWidget(search);
    grid->addLayout(sortRow, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    model_ = new DatasetModel(result_, this);
    model_->setColumns({QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("AUTEUR"), QStringLiteral("DOC_ANNEE"),
                        QStringLiteral("DOC_ISBN"), QStringLiteral("TYP_ID")},
                       {QStringLiteral("Titre"), QStringLiteral("Auteur"), QStringLiteral("Année"), QStringLiteral("ISBN"),
                        QStringLiteral("Type")});
    Dataset *r = result_;
    model_->setRowDisplay(QStringLiteral("DOC_TITRE_PROPRE"), [r](int row) {
        return recordTitleText(r->valueAt(row, QStringLiteral("DOC_TITRE_PROPRE")),
                               r->valueAt(row, QStringLiteral("DOC_TITRE_COMPLEMENT")));
    });
    grid_ = acqGrid("DBGridNotice", model_, this);
    setColumnWidths(grid_, {380, 200, 70, 120});
    connect(grid_, &QTableView::doubleClicked, this, &TFrmCommandeLigneSearch::BtnSelectClick);
    count_ = folian::countLabel("LblCount", this);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(count_);
    buttons->addStretch(1);
    QPushButton *select = namedButton("BtnSelect", QStringLiteral("Choisir"), this);
    QPushButton *add = namedButton("BtnAjouterNotice", QStringLiteral("Ajouter notice"), this);
    QPushButton *close = namedButton("BtnClose", QStringLiteral("Fermer"), this);
    connect(select, &QPushButton::clicked, this, &TFrmCommandeLigneSearch::BtnSelectClick);
    connect(add, &QPushButton::clicked, this, &TFrmCommandeLigneSearch::BtnAjouterNoticeClick);
    connect(close, &QPushButton::clicked, this, &TFrmCommandeLigneSearch::closeRequested);
    for (QPushButton *b : {select, add, close})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    FollowCurrentRow(grid_, result_, [this] { updateButtons(); });
    const SqlCondition empty = emptyRecordResult();
    result_->open(empty.sql, empty.binds);
    updateButtons();
}

int TFrmCommandeLigneSearch::pick(TFrmData &data, int mode, AcqType documentType, QWidget *parent)
{
    auto *screen = new TFrmCommandeLigneSearch(data, mode, documentType);
    PickerDialog dialog(screen, &TFrmCommandeLigneSearch::chosen,
                        tr2(QStringLiteral("Recherche de documents"), QStringLiteral("البحث عن الوثائق")), parent);
    connect(screen, &TFrmCommandeLigneSearch::closeRequested, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Accepted ? screen->chosenRecord() : 0;
}

QLineEdit *TFrmCommandeLigneSearch::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }
QPushButton *TFrmCommandeLigneSearch::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }

bool TFrmCommandeLigneSearch::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

void TFrmCommandeLigneSearch::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    const QString label = QStringLiteral("TYP_LIBELLE") + session().LanguageSuffix;
    fillKeyList(type_, data_.db(), QStringLiteral("SELECT TYP_ID, %1 FROM TYPE_DOCUMENT ORDER BY TYP_ID").arg(label), true);
    QWidget::showEvent(event);
}

void TFrmCommandeLigneSearch::updateButtons()
{
    button("BtnSelect")->setEnabled(result_->isOpen() && result_->rowCount() > 0 && result_->currentRow() >= 0);
}

void TFrmCommandeLigneSearch::Search()
{
    RecordCriteria c;
    c.titleWords = field("EdtTitre")->text();
    c.author = field("EdtAuteur")->text();
    c.publisher = field("EdtEditeur")->text();
    c.number = field("EdtNumero")->text();
    c.yearOperator = operator_->currentText();
    c.year = field("EdtAnnee")->text();
    c.type = chosenKey(type_).toString();
    c.sort = RecordSort(sort_->checkedId());
    c.sortLanguage = session().CurrentLanguage;
    SqlCondition q;
    QString why;
    if (!recordResultQuery(data_.db(), c, &q, &why)) {
        inform(why);
        field("EdtAnnee")->setFocus();
        return;
    }
    result_->open(q.sql, q.binds);
    count_->setText(acq::recordsFound(c.isEmpty() ? 0 : result_->recordCount()));
    updateButtons();
}

void TFrmCommandeLigneSearch::BtnSelectClick()
{
    if (!button("BtnSelect")->isEnabled())
        return;
    chosen_ = result_->value(QStringLiteral("DOC_ID")).toInt();
    emit chosen();
}

void TFrmCommandeLigneSearch::BtnAjouterNoticeClick()
{
    // The record form on a new record: not on order for a pre-order, on order otherwise.
    auto *form = new TFrmNotice(data_);
    PickerDialog dialog(form, &TFrmNotice::finished, tr2(QStringLiteral("Notice"), QStringLiteral("بطاقة")), this);
    form->Append();
    Dataset *n = data_.QNotice;
    if (n->state() == Dataset::State::Insert) {
        n->setValue(QStringLiteral("STA_ID"), documentType_ == AcqType::PreOrder ? 2 : 3);
        form->binder()->refresh();
    }
    dialog.resize(1000, 680);
    dialog.exec();
    if (n->isEditing())
        n->cancel();
    Search();
}

} // namespace folian
