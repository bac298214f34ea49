#include "circulation/widgets/frmbibliotheque.h"

#include "base/messages.h"
#include "circulation/core/interlibrarytexts.h"
#include "circulation/core/libraries.h"
#include "circulation/widgets/frmdetailbib.h"
#include "data/core/datasetmodel.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QGridLayout>
#include <QGroupBox>
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

// The detail's fields: the field, its caption, its column and the member of
// the library's sheet it fills.
struct DetailField {
    const char *name, *label, *caption, *column;
    QString LibrarySheet::*member;
};
const DetailField kFields[] = {
    {"EdtNom", "LblNom", "Nom :", "BIB_NOM", &LibrarySheet::nom},
    {"EdtTutelle", "LblTutelle", "Tutelle :", "BIB_TUTELLE", &LibrarySheet::tutelle},
    {"EdtContact", "LblContact", "Contact :", "BIB_CONTACT", &LibrarySheet::contact},
    {"EdtTelephone", "LblTelephone", "Téléphone :", "BIB_PHONE", &LibrarySheet::phone},
    {"EdtFax", "LblFax", "Fax :", "BIB_FAX", &LibrarySheet::fax},
    {"EdtCatalogue", "LblCatalogue", "URL Catalogue :", "BIB_CATALOGUE", &LibrarySheet::catalogue},
    {"EdtEmail", "LblEmail", "EMail :", "BIB_EMAIL", &LibrarySheet::email},
    {"EdtAdresse", "LblAdresse", "Adresse :", "BIB_ADRESSE", &LibrarySheet::adresse},
    {"EdtSite", "LblSite", "URL Site :", "BIB_SITE", &LibrarySheet::site},
    {"EdtHoraires", "LblHoraires", "Horaire d'ouverture :", "BIB_HORAIRES", &LibrarySheet::horaires},
};

QTableView *makeGrid(const char *name, DatasetModel *model, QWidget *parent)
{
    auto *v = new QTableView(parent);
    v->setObjectName(QLatin1String(name));
    v->setModel(model);
    ConfigureGrid(v);
    v->horizontalHeader()->setStretchLastSection(true);
    return v;
}

} // namespace

TFrmBibliotheque::TFrmBibliotheque(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmBibliotheque"));
    setWindowTitle(QStringLiteral("Bibliothèque"));
    Dataset *libraries = data_.QBibliotheque;
    if (libraries->isEditing())
        libraries->cancel();

    model_ = new DatasetModel(libraries, this);
    model_->setColumns({QStringLiteral("BIB_NOM"), QStringLiteral("BIB_TUTELLE")},
                       {QStringLiteral("Nom"), QStringLiteral("Tutelle")});
    grid_ = makeGrid("DBGridBibliotheque", model_, this);
    grid_->setColumnWidth(0, 200);
    auto *list = new QGroupBox(QStringLiteral("Liste des bibliothèques"), this);
    list->setObjectName(QStringLiteral("GrpListe"));
    auto *ll = new QVBoxLayout(list);
    ll->addWidget(grid_);

    auto *top = new QHBoxLayout;
    top->addWidget(list, 2);
    top->addWidget(buildDetail(), 3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(buildCorrespondents(), 2);

    FollowCurrentRow(grid_, libraries, [this] { updateButtons(); });
    connect(libraries, &Dataset::currentChanged, this, [this] { showCorrespondents(); });
    reopen(0);
}

QWidget *TFrmBibliotheque::buildDetail()
{
    auto *box = new QGroupBox(QStringLiteral(" Détail bibliothèque : "), this);
    box->setObjectName(QStringLiteral("GrpDetail"));
    binder_ = new FieldBinder(data_.QBibliotheque, this);
    auto *grid = new QGridLayout;
    int i = 0;
    for (const DetailField &f : kFields) {
        auto *e = new QLineEdit(box);
        e->setObjectName(QLatin1String(f.name));
        binder_->bind(e, QLatin1String(f.column));
        QLabel *l = namedLabel(f.label, QString::fromUtf8(f.caption), box);
        l->setBuddy(e);
        binder_->setCaption(QLatin1String(f.column), QString::fromUtf8(f.caption).remove(QStringLiteral(" :")));
        // Name and supervising body on the first line, then two by two.
        const int row = i / 2, col = (i % 2) * 2;
        grid->addWidget(l, row, col);
        grid->addWidget(e, row, col + 1);
        ++i;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const struct {
        const char *name, *caption;
        void (TFrmBibliotheque::*slot)();
    } actions[] = {{"BtnAjouter", "Ajouter", &TFrmBibliotheque::BtnAjouterClick},
                   {"BtnModifier", "Modifier", &TFrmBibliotheque::BtnModifierClick},
                   {"BtnSupprimer", "Supprimer", &TFrmBibliotheque::BtnSupprimerClick},
                   {"BtnAnnuler", "Annuler", &TFrmBibliotheque::BtnAnnulerClick}};
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, QString::fromUtf8(a.caption), box);
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
    }
    QPushButton *post = namedButton("BtnEnregistrer", QStringLiteral("Enregistrer"), box);
    connect(post, &QPushButton::clicked, this, &TFrmBibliotheque::BtnEnregistrerClick);
    buttons->insertWidget(buttons->count() - 1, post);
    auto *l = new QVBoxLayout(box);
    l->addLayout(grid);
    l->addStretch(1);
    l->addLayout(buttons);
    return box;
}

QWidget *TFrmBibliotheque::buildCorrespondents()
{
    auto *box = new QGroupBox(QStringLiteral(" Liste des responsables : "), this);
    box->setObjectName(QStringLiteral("GrpResponsables"));
    auto *model = new DatasetModel(data_.QLecteur, this);
    model->setColumns({QStringLiteral("LEC_ID"), QStringLiteral("LEC_NOM"), QStringLiteral("LEC_PRENOM"),
                       QStringLiteral("LEC_DATE_NAISSANCE"), QStringLiteral("LEC_ADRESSE"), QStringLiteral("LEC_TEL"),
                       QStringLiteral("LEC_EMAIL")},
                      {QStringLiteral("Numéro"), QStringLiteral("Nom"), QStringLiteral("Prénom"),
                       QStringLiteral("Date de naissance"), QStringLiteral("Adresse"), QStringLiteral("Téléphone"),
                       QStringLiteral("EMail")});
    correspondents_ = makeGrid("DBGridResponsable", model, box);
    const int widths[] = {90, 140, 140, 120, 200, 110};
    for (int c = 0; c < int(std::size(widths)); ++c)
        correspondents_->setColumnWidth(c, widths[c]);
    FollowCurrentRow(correspondents_, data_.QLecteur, [this] { updateButtons(); });
    connect(correspondents_, &QTableView::doubleClicked, this, &TFrmBibliotheque::BtnModifierRespClick);
    auto *buttons = new QVBoxLayout;
    const struct {
        const char *name, *caption, *hint;
        void (TFrmBibliotheque::*slot)();
    } actions[] = {{"BtnNouveauResp", "&Nouveau", "Nouveau responsable", &TFrmBibliotheque::BtnNouveauRespClick},
                   {"BtnModifierResp", "&Modifier", "Modifier les informations", &TFrmBibliotheque::BtnModifierRespClick},
                   {"BtnSupprimerResp", "&Supprimer", "Supprimer le responsable", &TFrmBibliotheque::BtnSupprimerRespClick}};
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, QString::fromUtf8(a.caption), box);
        b->setToolTip(QString::fromUtf8(a.hint));
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto *l = new QHBoxLayout(box);
    l->addWidget(correspondents_, 1);
    l->addLayout(buttons);
    return box;
}

void TFrmBibliotheque::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmBibliotheque::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

void TFrmBibliotheque::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

QLineEdit *TFrmBibliotheque::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }
QPushButton *TFrmBibliotheque::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }

int TFrmBibliotheque::currentLibrary() const
{
    Dataset *q = data_.QBibliotheque;
    if (!q->isOpen() || q->state() == Dataset::State::Insert || q->currentRow() < 0)
        return 0;
    return q->value(QStringLiteral("BIB_ID")).toInt();
}

bool TFrmBibliotheque::isPending() const { return data_.QBibliotheque->isEditing(); }

void TFrmBibliotheque::updateButtons()
{
    Dataset *q = data_.QBibliotheque;
    const bool editing = q->isEditing();
    const bool current = !editing && currentLibrary() > 0;
    const bool correspondent = current && data_.QLecteur->isOpen() && data_.QLecteur->currentRow() >= 0
        && data_.QLecteur->rowCount() > 0;
    binder_->setReadOnly(!editing);
    const struct {
        const char *name;
        bool on;
    } states[] = {{"BtnAjouter", !editing && q->isOpen()}, {"BtnModifier", current},
                  {"BtnSupprimer", current},           {"BtnEnregistrer", editing},
                  {"BtnAnnuler", editing},             {"BtnNouveauResp", current},
                  {"BtnModifierResp", correspondent},  {"BtnSupprimerResp", correspondent}};
    for (const auto &s : states)
        if (QPushButton *b = button(s.name))
            b->setEnabled(s.on);
    grid_->setEnabled(!editing);
}

bool TFrmBibliotheque::askBeforeClosing()
{
    if (!isPending())
        return true;
    if (confirm(tr2(QStringLiteral("Sauvegardez les modifications ?"), QStringLiteral("حفظ التغييرات؟"))))
        return BtnEnregistrerClick();
    BtnAnnulerClick();
    return true;
}

void TFrmBibliotheque::reopen(int id, int row)
{
    Dataset *q = data_.QBibliotheque;
    if (q->isEditing())
        q->cancel();
    const SqlText sql = librariesSql();
    q->open(sql.sql, sql.binds);
    if (!(id > 0 && q->locate(QStringLiteral("BIB_ID"), id))) {
        q->fetchAll();
        q->moveTo(qBound(0, row, q->rowCount() - 1));
    }
    showCorrespondents();
    updateButtons();
}

void TFrmBibliotheque::showCorrespondents(const QString &id)
{
    Dataset *c = data_.QLecteur;
    if (c->isEditing())
        c->cancel();
    const int library = currentLibrary();
    if (library <= 0) {
        c->close();
    } else {
        const SqlText sql = correspondentsSql(library);
        c->open(sql.sql, sql.binds);
        if (!id.isEmpty())
            c->locate(QStringLiteral("LEC_ID"), id);
    }
    updateButtons();
}

void TFrmBibliotheque::BtnAjouterClick()
{
    Dataset *q = data_.QBibliotheque;
    if (q->isEditing() || !q->isOpen() || !q->append())
        return;
    showCorrespondents();
    field("EdtNom")->setFocus();
}

void TFrmBibliotheque::BtnModifierClick()
{
    if (currentLibrary() <= 0 || !data_.QBibliotheque->edit())
        return;
    updateButtons();
    field("EdtNom")->setFocus();
}

bool TFrmBibliotheque::BtnEnregistrerClick()
{
    Dataset *q = data_.QBibliotheque;
    if (!q->isEditing() || !binder_->submit())
        return false;
    LibrarySheet sheet;
    sheet.id = q->state() == Dataset::State::Insert ? 0 : q->value(QStringLiteral("BIB_ID")).toInt();
    for (const DetailField &f : kFields)
        sheet.*f.member = q->value(QLatin1String(f.column)).toString();
    const LibrarySave saved = saveLibrary(data_.db(), sheet);
    if (!saved.ok()) {
        inform(saved.message);
        QLineEdit *to = field("EdtNom");
        if (saved.field == LibraryField::Required && !sheet.nom.trimmed().isEmpty())
            to = field("EdtTutelle");
        to->setFocus();
        to->selectAll();
        return false;
    }
    reopen(saved.id);
    return true;
}

void TFrmBibliotheque::BtnAnnulerClick()
{
    const int row = data_.QBibliotheque->currentRow();
    data_.QBibliotheque->cancel();
    data_.QBibliotheque->moveTo(qBound(0, row, data_.QBibliotheque->rowCount() - 1));
    showCorrespondents();
}

void TFrmBibliotheque::BtnSupprimerClick()
{
    const int id = currentLibrary();
    if (id <= 0 || !confirmIrreversible(circ::deleteLibraryQuestion(data_.QBibliotheque->value(QStringLiteral("BIB_NOM")).toString())))
        return;
    const int row = data_.QBibliotheque->currentRow();
    const QString refusal = deleteLibrary(data_.db(), id);
    if (!refusal.isEmpty()) {
        inform(refusal);
        reopen(id, row);
        return;
    }
    reopen(0, row);
}

void TFrmBibliotheque::openSheet(const QString &correspondentId)
{
    const int library = currentLibrary();
    if (library <= 0)
        return;
    TFrmDetailBib sheet(data_, library, correspondentId, this);
    const bool saved = sheet.exec() == QDialog::Accepted;
    showCorrespondents(saved ? sheet.savedId() : correspondentId);
}

void TFrmBibliotheque::BtnNouveauRespClick() { openSheet(QString()); }

void TFrmBibliotheque::BtnModifierRespClick()
{
    Dataset *c = data_.QLecteur;
    if (c->isOpen() && c->currentRow() >= 0 && c->rowCount() > 0)
        openSheet(c->value(QStringLiteral("LEC_ID")).toString());
}

void TFrmBibliotheque::BtnSupprimerRespClick()
{
    Dataset *c = data_.QLecteur;
    if (!c->isOpen() || c->currentRow() < 0 || c->rowCount() == 0)
        return;
    const QString id = c->value(QStringLiteral("LEC_ID")).toString();
    if (!confirmIrreversible(circ::deleteCorrespondentQuestion(c->value(QStringLiteral("LEC_NOM")).toString())))
        return;
    const QString refusal = deleteCorrespondent(data_.db(), id);
    if (!refusal.isEmpty()) {
        inform(refusal);
        showCorrespondents(id);
        return;
    }
    showCorrespondents();
}

} // namespace folian
