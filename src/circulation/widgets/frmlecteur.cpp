#include "circulation/widgets/frmlecteur.h"

#include "base/dates.h"
#include "base/messages.h"
#include "base/rights.h"
#include "circulation/core/copystate.h"
#include "circulation/core/readers.h"
#include "circulation/widgets/frmstructure.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"
#include "data/widgets/pickerdialog.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

namespace {

const QDate kNoDate(1900, 1, 1);

QString countLabel() { return tr2(QStringLiteral("Lecteurs"), QStringLiteral("القراء")); }
QString countUnit() { return tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")); }

// The calendar of a blank date opens on the current month, not on the "no date".
class CalendarPage : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *cal = qobject_cast<QCalendarWidget *>(watched); cal && cal->selectedDate() <= kNoDate)
                cal->setCurrentPage(QDate::currentDate().year(), QDate::currentDate().month());
        return false;
    }
};

QDateEdit *dateField(const char *name, QWidget *parent)
{
    auto *f = new QDateEdit(parent);
    f->setObjectName(QLatin1String(name));
    ConfigureDateField(f);
    f->setCalendarPopup(true);
    f->calendarWidget()->installEventFilter(new CalendarPage(f));
    return f;
}

} // namespace

TFrmLecteur::TFrmLecteur(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmLecteur"));
    setWindowTitle(QStringLiteral("Nouveau lecteur"));
    Dataset *q = data_.QLecteur;
    binder_ = new FieldBinder(q, this);

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);  // sixteen rows on a small screen
    int row = 0;
    const auto caption = [this](const char *name, const char *text, bool mandatory) {
        auto *l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QLatin1String(name));
        if (mandatory) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
        return l;
    };
    const auto addRow = [&](const char *lbl, const char *text, QWidget *w, bool mandatory = false) {
        QLabel *l = caption(lbl, text, mandatory);
        l->setBuddy(w);
        grid->addWidget(l, row, 0);
        grid->addWidget(w, row, 1);
        ++row;
    };
    const struct {
        const char *label, *caption, *name, *column;
        bool mandatory;
    } texts[] = {{"LblNumero", "Numéro :", "EdtNumero", "LEC_ID", true},
                 {"LblNom", "Nom :", "EdtNom", "LEC_NOM", true},
                 {"LblPrenom", "Prénom :", "EdtPrenom", "LEC_PRENOM", true}};
    for (const auto &t : texts) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(t.name));
        binder_->bind(e, QLatin1String(t.column));
        binder_->setCaption(QLatin1String(t.column), QString::fromUtf8(t.caption).remove(QStringLiteral(" :")));
        connect(e, &QLineEdit::textChanged, this, [this] { updateButtons(); });
        addRow(t.label, t.caption, e, t.mandatory);
    }
    birth_ = dateField("EdtDateNaissance", this);
    binder_->bind(birth_, QStringLiteral("LEC_DATE_NAISSANCE"));
    connect(birth_, &QDateEdit::dateChanged, this, [this] { updateButtons(); });
    addRow("LblDateNaissance", "Date naissance :", birth_, true);
    const struct {
        const char *label, *caption, *name, *column;
    } more[] = {{"LblAdresse", "Adresse :", "EdtAdresse", "LEC_ADRESSE"},
                {"LblTelephone", "Téléphone :", "EdtTelephone", "LEC_TEL"},
                {"LblEmail", "E-Mail :", "EdtEmail", "LEC_EMAIL"}};
    for (const auto &t : more) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(t.name));
        binder_->bind(e, QLatin1String(t.column));
        binder_->setCaption(QLatin1String(t.column), QString::fromUtf8(t.caption).remove(QStringLiteral(" :")));
        addRow(t.label, t.caption, e);
    }

    structure_ = new QComboBox(this);
    structure_->setObjectName(QStringLiteral("CbxStructure"));
    auto *btnStructure = new QPushButton(QStringLiteral("..."), this);
    btnStructure->setObjectName(QStringLiteral("BtnStructure"));
    btnStructure->setAutoDefault(false);
    btnStructure->setMaximumWidth(32);
    connect(btnStructure, &QPushButton::clicked, this, &TFrmLecteur::BtnStructureClick);
    auto *structureRow = new QWidget(this);
    auto *sl = new QHBoxLayout(structureRow);
    sl->setContentsMargins(0, 0, 0, 0);
    sl->addWidget(structure_, 1);
    sl->addWidget(btnStructure);
    FieldBinder::fillList(structure_, data_.QStructure, QStringLiteral("STR_ID"), QStringLiteral("STR_LIBELLE"), true);
    binder_->bind(structure_, QStringLiteral("STR_ID"));
    addRow("LblStructure", "Structure :", structureRow);

    category_ = new QComboBox(this);
    category_->setObjectName(QStringLiteral("CbxCategorie"));
    FieldBinder::fillList(category_, data_.QCategorie, QStringLiteral("CAT_ID"), QStringLiteral("CAT_LIBELLE"), true);
    binder_->bind(category_, QStringLiteral("CAT_ID"));
    addRow("LblCategorie", "Catégorie :", category_);

    registered_ = dateField("EdtDateAdhesion", this);
    registered_->setMinimumDate(kNoDate);
    registered_->setSpecialValueText(QStringLiteral(" "));
    addRow("LblDateAdhesion", "Date d'adhésion :", registered_);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("LblStatutValue"));
    status_->setProperty("localise", false);
    addRow("LblStatut", "Statut :", status_);

    auto *observation = new QLineEdit(this);
    observation->setObjectName(QStringLiteral("EdtObservation"));
    binder_->bind(observation, QStringLiteral("LEC_OBSERVATION"));
    binder_->setCaption(QStringLiteral("LEC_OBSERVATION"), QStringLiteral("Observation"));
    addRow("LblObservation", "Observation :", observation);

    created_ = new QLabel(this);
    created_->setObjectName(QStringLiteral("LblCreationValue"));
    created_->setProperty("localise", false);
    addRow("LblCreation", "Création :", created_);
    updated_ = new QLabel(this);
    updated_->setObjectName(QStringLiteral("LblMiseAJourValue"));
    updated_->setProperty("localise", false);
    addRow("LblMiseAJour", "Mise à jour :", updated_);
    grid->addWidget(caption("LblObligatoire", "* Champs obligatoires", false), row, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row + 1, 1);

    entered_ = new QListWidget(this);
    entered_->setObjectName(QStringLiteral("LstLecteurs"));
    entered_->setFocusPolicy(Qt::NoFocus);
    entered_->setMinimumWidth(260);

    btnPost_ = new QPushButton(QStringLiteral("Enregistrer"), this);
    btnPost_->setObjectName(QStringLiteral("BtnPost"));
    btnCancel_ = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel_->setObjectName(QStringLiteral("BtnCancel"));
    for (QPushButton *b : {btnPost_, btnCancel_})
        b->setAutoDefault(false);
    connect(btnPost_, &QPushButton::clicked, this, &TFrmLecteur::BtnPostClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TFrmLecteur::BtnCancelClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPost_);
    buttons->addWidget(btnCancel_);

    auto *top = new QHBoxLayout;
    top->addLayout(grid, 3);
    top->addWidget(entered_, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    for (auto signal : {&Dataset::stateChanged, &Dataset::reset})
        connect(q, signal, this, [this] {
            showRow();
            updateButtons();
        });
    connect(q, &Dataset::currentChanged, this, [this] { showRow(); });
    connect(q, &Dataset::rowChanged, this, [this] { showRow(); });
    showRow();
    updateButtons();
}

QLineEdit *TFrmLecteur::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

QDate TFrmLecteur::today() const { return serverToday(data_.db()); }

void TFrmLecteur::startNew()
{
    Dataset *q = data_.QLecteur;
    update_ = false;
    if (q->isEditing())
        q->cancel();
    q->open(QStringLiteral("SELECT * FROM LECTEUR WHERE LEC_ID LIKE ?"), {QStringLiteral("-2147483647")});
    q->append();
    registered_->setDate(today());
    field("EdtNumero")->setReadOnly(false);
    field("EdtNumero")->setFocus();
}

void TFrmLecteur::startUpdate()
{
    Dataset *q = data_.QLecteur;
    update_ = true;
    if (!q->isEditing())
        q->edit();
    const QDate d = q->value(QStringLiteral("LEC_DATE_ADHESION")).toDate();
    registered_->setDate(d.isValid() ? d : kNoDate);
    // Loans, reservations and inter-library loans name the reader by his
    // number: it is never changed under them.
    field("EdtNumero")->setReadOnly(true);
    field("EdtNom")->setFocus();
}

void TFrmLecteur::showRow()
{
    Dataset *q = data_.QLecteur;
    const bool row = q->isOpen() && q->currentRow() >= 0;
    const auto v = [q, row](const char *c) { return row ? q->value(QLatin1String(c)) : QVariant(); };
    status_->setText(row ? ReaderStatus::text(v("LEC_STATUT"), v("LEC_FIN_PENALITE")) : QString());
    const auto stamp = [](const QVariant &user, const QVariant &when) {
        const QDateTime t = when.toDateTime();
        return QString(user.toString() + u' ' + ShowDateTime(t))
            .trimmed();
    };
    created_->setText(stamp(v("CREATE_USER"), v("CREATE_DATE")));
    updated_->setText(stamp(v("UPDATE_USER"), v("UPDATE_DATE")));
}

bool TFrmLecteur::mandatoryFilled() const
{
    return !field("EdtNumero")->text().trimmed().isEmpty() && !field("EdtNom")->text().trimmed().isEmpty()
        && !field("EdtPrenom")->text().trimmed().isEmpty() && birth_->date() > kNoDate;
}

bool TFrmLecteur::isPending() const { return data_.QLecteur->isEditing(); }

QString TFrmLecteur::statusText() const { return status_->text(); }

void TFrmLecteur::updateButtons()
{
    const bool editing = data_.QLecteur->isEditing();
    btnPost_->setEnabled(editing && mandatoryFilled() && allowed(Right::CirculLecteur, session()));
    btnCancel_->setEnabled(editing);
}

bool TFrmLecteur::save()
{
    Dataset *q = data_.QLecteur;
    if (!q->isEditing() || !binder_->submit())
        return false;
    if (q->state() == Dataset::State::Insert) {
        // The number as the desks will type it.
        q->setValue(QStringLiteral("LEC_ID"), q->value(QStringLiteral("LEC_ID")).toString().trimmed());
        const QString taken = readerNumberRefusal(data_.db(), q->value(QStringLiteral("LEC_ID")).toString());
        if (!taken.isEmpty()) {
            inform(taken);
            field("EdtNumero")->setFocus();
            field("EdtNumero")->selectAll();
            return false;
        }
    }
    const QDate registered = registered_->date();
    q->setValue(QStringLiteral("LEC_DATE_ADHESION"), registered > kNoDate ? QVariant(registered) : QVariant());
    if (!q->post())  // the data module has said why; the row stays in edit
        return false;
    LookupCount(data_.db(), QStringLiteral("LECTEUR"), countLabel(), countUnit());
    return true;
}

bool TFrmLecteur::BtnPostClick()
{
    Dataset *q = data_.QLecteur;
    if (!btnPost_->isEnabled())
        return false;
    const bool added = q->state() == Dataset::State::Insert && !update_;
    if (!save())
        return false;
    if (!added) {
        emit finished(true);
        return true;
    }
    AddAndSelect(q->value(QStringLiteral("LEC_ID")).toString() + QStringLiteral("  ")
                     + q->value(QStringLiteral("LEC_NOM")).toString() + QStringLiteral("  ")
                     + q->value(QStringLiteral("LEC_PRENOM")).toString(),
                 entered_);
    // The next reader, at once.
    q->append();
    registered_->setDate(today());
    field("EdtNumero")->setFocus();
    return true;
}

void TFrmLecteur::cancelRow()
{
    data_.QLecteur->cancel();
    binder_->refresh();
}

void TFrmLecteur::BtnCancelClick()
{
    cancelRow();
    emit finished(false);
}

bool TFrmLecteur::saveOnLeaving()
{
    // A failed save keeps the reader as typed, with its message: the screen stays.
    return save() && !data_.QLecteur->isEditing();
}

void TFrmLecteur::BtnStructureClick()
{
    Dataset *q = data_.QLecteur;
    auto *picker = new TFrmStructure(data_, ListEditScreen::Mode::Pick);
    PickerDialog dialog(picker, &TFrmStructure::chosen, tr2(QStringLiteral("Structure"), QStringLiteral("الهيكل")), this);
    const bool ok = dialog.exec() == QDialog::Accepted;
    const QVariant chosen = ok ? picker->currentKey() : QVariant();
    FieldBinder::fillList(structure_, data_.QStructure, QStringLiteral("STR_ID"), QStringLiteral("STR_LIBELLE"), true);
    if (ok && q->isOpen() && (q->isEditing() || q->edit()))
        q->setValue(QStringLiteral("STR_ID"), chosen);
    binder_->refresh();
    updateButtons();
}

void TFrmLecteur::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmLecteur::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

void TFrmLecteur::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

} // namespace folian
