#include "circulation/widgets/frmcirculationsearch.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/widgets/pickers.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/copysearch.h"
#include "circulation/core/loanjournal.h"
#include "circulation/widgets/frmexemplairestatut.h"
#include "data/core/dataset.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

namespace {

QLineEdit *field(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}


QDate dayAt(Dataset *d, int row, const char *column) { return d->valueAt(row, QLatin1String(column)).toDate(); }

} // namespace

TFrmCirculationSearch::TFrmCirculationSearch(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmCirculationSearch"));
    setWindowTitle(QStringLiteral("Recherche d'exemplaire"));
    records_ = new Dataset(data_.db(), QStringLiteral("QCirculationSearch"), QStringLiteral("NOTICE"), this);
    records_->setUniqueKey({QStringLiteral("DOC_ID")});
    copies_ = new Dataset(data_.db(), QStringLiteral("QCirculationCopies"), QStringLiteral("NOTICE_EXEMPLAIRE"), this);
    journal_ = new Dataset(data_.db(), QStringLiteral("QCopyJournal"), QStringLiteral("HISTORIQUE_PRET"), this);

    title_ = field("EdtTitre", this);
    author_ = field("EdtAuteur", this);
    cote_ = field("EdtCote", this);
    number_ = field("EdtIsbn", this);
    auto *btnAuthor = namedButton("BtnSearchAuteur", "...", this);
    btnAuthor->setMaximumWidth(32);
    connect(btnAuthor, &QPushButton::clicked, this, &TFrmCirculationSearch::pickAuthor);
    sort_ = new QComboBox(this);
    sort_->setObjectName(QStringLiteral("CmbTri"));
    sort_->setProperty("localise", false);
    sort_->addItems({QStringLiteral(" "), tr2(QStringLiteral("Titre"), QStringLiteral("العنوان")),
                     tr2(QStringLiteral("Année"), QStringLiteral("السنة")),
                     tr2(QStringLiteral("Date création"), QStringLiteral("تاريخ الإنشاء"))});
    QPushButton *btnSearch = namedButton("BtnRechercher", "Rechercher", this);
    QPushButton *btnInit = namedButton("BtnInitialiser", "Initialiser", this);
    connect(btnSearch, &QPushButton::clicked, this, &TFrmCirculationSearch::Search);
    connect(btnInit, &QPushButton::clicked, this, &TFrmCirculationSearch::Initialise);

    auto *recordModel = new DatasetModel(records_, this);
    recordModel->setColumns({QStringLiteral("CS_NUMERO"), QStringLiteral("CS_TITRE"), QStringLiteral("CS_AUTEUR"),
                             QStringLiteral("DOC_ANNEE")},
                            {QStringLiteral("ISBN, ISSN..."), QStringLiteral("Titre"), QStringLiteral("Auteur"),
                             QStringLiteral("Année")});
    auto *copyModel = new DatasetModel(copies_, this);
    copyModel->setColumns({QStringLiteral("EXP_ID"), QStringLiteral("EXP_COTE"), QStringLiteral("LOC_LIBELLE"),
                           QStringLiteral("STA_EXP_LIBELLE"), QStringLiteral("CS_DISPONIBILITE")},
                          {QStringLiteral("N° Exemplaire"), QStringLiteral("Cote"), QStringLiteral("Localisation"),
                           QStringLiteral("Statut"), QStringLiteral("Disponibilité")});
    copyModel->setRowDisplay(QStringLiteral("CS_DISPONIBILITE"), [this](int row) {
        return availability(copies_->valueAt(row, QStringLiteral("LEC_ID")), dayAt(copies_, row, "EXP_DATE_RETOUR"),
                            copies_->valueAt(row, QStringLiteral("LEC_ID2")), dayAt(copies_, row, "EXP_DATE_RESERVATION"));
    });
    auto *journalModel = new DatasetModel(journal_, this);
    journalModel->setColumns({QStringLiteral("HIS_DATE"), QStringLiteral("HIS_OPERATION"), QStringLiteral("LEC_ID"),
                              QStringLiteral("LEC_NOM"), QStringLiteral("HIS_DATE_RETOUR"), QStringLiteral("HIS_USER")},
                             {QStringLiteral("Date"), QStringLiteral("Opération"), QStringLiteral("N° lecteur"),
                              QStringLiteral("Nom"), QStringLiteral("Date retour"), QStringLiteral("Utilisateur")});
    journalModel->setDisplay(QStringLiteral("HIS_OPERATION"), [](const QVariant &v) { return operationName(v.toInt()); });

    auto grid = [this](const char *name, DatasetModel *model) {
        auto *v = new QTableView(this);
        v->setObjectName(QLatin1String(name));
        v->setModel(model);
        ConfigureGrid(v);
        v->horizontalHeader()->setStretchLastSection(true);
        return v;
    };
    recordGrid_ = grid("DBGridNotice", recordModel);
    recordGrid_->setColumnWidth(0, 130);
    recordGrid_->setColumnWidth(1, 380);
    recordGrid_->setColumnWidth(2, 200);
    copyGrid_ = grid("DBGridExemplaire", copyModel);
    historyGrid_ = grid("DBGridHistorique", journalModel);
    historyGrid_->setColumnWidth(0, 140);
    historyGrid_->setColumnWidth(1, 150);
    FollowCurrentRow(recordGrid_, records_, [this] { showCopies(); });
    FollowCurrentRow(copyGrid_, copies_, [this] { showHistory(); });
    connect(copyGrid_, &QTableView::doubleClicked, this, &TFrmCirculationSearch::BtnSelectionClick);
    count_ = valueLabel("LblCount", this);
    copiesHeader_ = valueLabel("LblExemplaires", this);

    QPushButton *btnSelect = namedButton("BtnSelection", "Sélection", this);
    QPushButton *btnEdit = namedButton("BtnModifier", "Modifier", this);
    QPushButton *btnCancel = namedButton("BtnAnnuler", "Annuler", this);
    connect(btnSelect, &QPushButton::clicked, this, &TFrmCirculationSearch::BtnSelectionClick);
    connect(btnEdit, &QPushButton::clicked, this, &TFrmCirculationSearch::BtnModifierClick);
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        if (QWidget *w = window(); w != this)
            w->close();
    });

    auto *criteria = new QGridLayout;
    criteria->addWidget(namedLabel("LblTitre", "Mots du titre :", this), 0, 0);
    criteria->addWidget(title_, 0, 1, 1, 2);
    criteria->addWidget(namedLabel("LblAuteur", "Auteur :", this), 1, 0);
    criteria->addWidget(author_, 1, 1);
    criteria->addWidget(btnAuthor, 1, 2);
    criteria->addWidget(namedLabel("LblCote", "Cote :", this), 0, 3);
    criteria->addWidget(cote_, 0, 4);
    criteria->addWidget(namedLabel("LblIsbn", "ISBN, ISSN... :", this), 1, 3);
    criteria->addWidget(number_, 1, 4);
    criteria->addWidget(namedLabel("LblTri", "Tri :", this), 2, 0);
    criteria->addWidget(sort_, 2, 1);
    auto *searchButtons = new QHBoxLayout;
    searchButtons->addStretch(1);
    searchButtons->addWidget(btnSearch);
    searchButtons->addWidget(btnInit);
    criteria->addLayout(searchButtons, 2, 3, 1, 2);
    criteria->setColumnStretch(1, 1);
    criteria->setColumnStretch(4, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSelect);
    buttons->addWidget(btnEdit);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(criteria);
    layout->addWidget(count_);
    layout->addWidget(recordGrid_, 3);
    layout->addWidget(copiesHeader_);
    layout->addWidget(copyGrid_, 2);
    layout->addWidget(namedLabel("LblHistorique", "Historique de l'exemplaire :", this));
    layout->addWidget(historyGrid_, 2);
    layout->addLayout(buttons);
    resize(900, 640);
    Initialise();
}

void TFrmCirculationSearch::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmCirculationSearch::Keyboard(QWidget *control, QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (control == title_ || control == author_ || control == cote_ || control == number_)) {
        Search();
        return true;
    }
    return false;
}

void TFrmCirculationSearch::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

QString TFrmCirculationSearch::countText() const { return count_->text(); }
QString TFrmCirculationSearch::copiesHeader() const { return copiesHeader_->text(); }

void TFrmCirculationSearch::Search()
{
    CopySearch s;
    s.titleWords = title_->text();
    s.author = author_->text();
    s.cote = cote_->text();
    s.number = number_->text();
    s.sort = sort_->currentIndex();
    const SqlText sql = copySearchSql(data_.db().dialect(), s);
    bool ok;
    {
        SilentScope silent;
        ok = records_->open(sql.sql, sql.binds);
    }
    count_->setText(ok ? u' ' + QString::number(records_->recordCount()) + tr2(QStringLiteral(" notice(s)"), QStringLiteral(" تسجيلة"))
                       : tr2(QStringLiteral(" Résultat de recherche"), QStringLiteral(" نتيجة البحث")));
    showCopies();
}

void TFrmCirculationSearch::Initialise()
{
    for (QLineEdit *e : {title_, author_, cote_, number_})
        e->clear();
    sort_->setCurrentIndex(0);
    records_->close();
    count_->setText(tr2(QStringLiteral(" Résultat de recherche"), QStringLiteral(" نتيجة البحث")));
    showCopies();
    title_->setFocus();
}

void TFrmCirculationSearch::showCopies()
{
    if (!records_->isOpen() || records_->rowCount() == 0 || records_->currentRow() < 0) {
        copies_->close();
    } else {
        const SqlText sql = recordCopiesSql(data_.db().dialect(), records_->value(QStringLiteral("DOC_ID")), cote_->text());
        SilentScope silent;
        if (!copies_->open(sql.sql, sql.binds))
            copies_->close();
    }
    copiesHeader_->setText(u' ' + QString::number(copies_->isOpen() ? copies_->recordCount() : 0)
                           + tr2(QStringLiteral(" exemplaire(s)"), QStringLiteral(" نسخة")));
    showHistory();
}

void TFrmCirculationSearch::showHistory()
{
    if (!copies_->isOpen() || copies_->rowCount() == 0 || copies_->currentRow() < 0) {
        journal_->close();
        return;
    }
    const SqlText sql = copyHistorySql(copies_->value(QStringLiteral("EXP_ID")).toString());
    SilentScope silent;
    if (!journal_->open(sql.sql, sql.binds))
        journal_->close();
}

void TFrmCirculationSearch::pickAuthor()
{
    PickRequest r;
    r.list = PickList::Heading;
    r.mode = 5;
    r.text = author_->text();
    const Picked p = pick(this, data_, r);
    if (p.ok())
        author_->setText(p.name);
}

void TFrmCirculationSearch::BtnSelectionClick()
{
    if (!copies_->isOpen() || copies_->currentRow() < 0 || copies_->rowCount() == 0)
        return;
    chosen_ = copies_->value(QStringLiteral("EXP_ID")).toString();
    emit chosen();
}

void TFrmCirculationSearch::BtnModifierClick()
{
    if (!copies_->isOpen() || copies_->currentRow() < 0 || copies_->rowCount() == 0)
        return;
    const QString id = copies_->value(QStringLiteral("EXP_ID")).toString();
    const QString refusal = copyModificationRefusal(data_.db(), id);
    if (!refusal.isEmpty()) {
        warn(refusal);
        return;
    }
    TFrmExemplaireStatut dialog(data_, id, this);
    if (dialog.exec() == QDialog::Accepted) {
        const int row = copies_->currentRow();
        copies_->reopen();
        copies_->moveTo(row);
    }
}

} // namespace folian
