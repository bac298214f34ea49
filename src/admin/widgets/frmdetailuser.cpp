#include "admin/widgets/frmdetailuser.h"

#include "base/rights.h"
#include "admin/core/users.h"
#include "base/messages.h"
#include "data/core/shareddata.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace folian {

namespace {

// The caption of each right's box, in the fixed order of the rights.
const char16_t *const kRightLabels[RightCount] = {
    u"Accès", u"Administration", u"Transactions", u"Gestion de budget", u"Edition",
    u"Accès", u"Administration", u"Création de notice", u"Importation", u"Gestion des autorités", u"Edition",
    u"Accès", u"Administration", u"Gestion lecteur", u"Transaction de prêt", u"PEB", u"Edition"};

// The role items as designed, in the order of roleOrder() (1..7, then 0).
const char16_t *const kRoleItems[8] = {
    u"Administrateur", u"Responsable d'acquisition ", u"Responsable du catalogage ", u"Responsable du prêt ",
    u"Agent d'acquisition ", u"Agent de catalogage", u"Agent de prêt ", u"Agent de saisie"};

QLabel *requiredMark(QWidget *parent)
{
    auto *star = new QLabel(QStringLiteral("*"), parent);
    star->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    return star;
}

} // namespace

TFrmDetailUser::TFrmDetailUser(TFrmData &frmData, int userId, const QString &title, QWidget *parent)
    : FormDialog(parent), data_(frmData), userId_(userId), title_(title)
{
    setObjectName(QStringLiteral("FrmDetailUser"));
    setWindowTitle(QStringLiteral("Utilisateur"));
    setModal(true);

    // Identity and password
    auto *identity = new QWidget(this);
    auto *form = new QFormLayout(identity);
    form->setContentsMargins(0, 0, 0, 0);
    nom_ = addField(form, "Nom", "Nom :", true);
    prenom_ = addField(form, "Prenom", "Prénom :", true);
    tel_ = addField(form, "Tel", "Tél. :", false);
    email_ = addField(form, "Email", "E-Mail :", false);
    adresse_ = addField(form, "Adresse", "Adresse :", false);
    login_ = addField(form, "Login", "Login :", true);
    // A new user needs a password; an existing one keeps his when both stay empty.
    password_ = addField(form, "Password", "Mot de passe :", userId_ <= 0);
    confirmation_ = addField(form, "Confirmation", "Confirmation :", userId_ <= 0);
    for (QLineEdit *e : {password_, confirmation_}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(20);
    }
    nom_->setMaxLength(100);
    prenom_->setMaxLength(100);
    tel_->setMaxLength(50);
    email_->setMaxLength(100);
    adresse_->setMaxLength(255);
    login_->setMaxLength(50);

    // Role
    auto *grpRole = new QGroupBox(QStringLiteral(" Rôle "), this);
    grpRole->setObjectName(QStringLiteral("GrpRole"));
    auto *roleLayout = new QVBoxLayout(grpRole);
    roles_ = new QButtonGroup(this);
    for (int i = 0; i < roleOrder().size(); ++i) {
        const int code = roleOrder().at(i);
        auto *rb = new QRadioButton(QString::fromUtf16(kRoleItems[i]), grpRole);
        rb->setObjectName(QStringLiteral("RbRole%1").arg(code));
        roles_->addButton(rb, code);
        roleLayout->addWidget(rb);
    }
    roleLayout->addStretch(1);
    connect(roles_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            RoleChange();
    });

    auto *top = new QHBoxLayout;
    top->addWidget(identity, 3);
    top->addWidget(grpRole, 2);

    auto *middle = new QHBoxLayout;
    middle->addWidget(buildRights(), 3);
    middle->addWidget(buildTypes(), 3);

    auto *legend = new QLabel(QStringLiteral("* Champs Obligatoires"), this);
    legend->setObjectName(QStringLiteral("LblObligatoire"));
    legend->setStyleSheet(QStringLiteral("color: red"));
    auto *btnPost = new QPushButton(QStringLiteral("&Enregistrer"), this);
    btnPost->setObjectName(QStringLiteral("BtnPost"));
    auto *btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(btnPost, &QPushButton::clicked, this, &TFrmDetailUser::BtnPostClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(legend);
    bottom->addStretch(1);
    bottom->addWidget(btnPost);
    bottom->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    showSheet();
    nom_->setFocus();
}

QLineEdit *TFrmDetailUser::addField(QFormLayout *form, const char *name, const char *label, bool required)
{
    QWidget *parent = form->parentWidget();
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("Edt") + QLatin1String(name));
    auto *lbl = new QLabel(QString::fromUtf8(label), parent);
    lbl->setObjectName(QStringLiteral("Lbl") + QLatin1String(name));
    lbl->setBuddy(edit);
    auto *row = new QHBoxLayout;
    row->addWidget(edit, 1);
    QLabel *star = requiredMark(parent);
    star->setVisible(required);
    // Keeps the fields aligned whether or not they are required.
    star->setFixedWidth(star->sizeHint().width());
    QSizePolicy keep = star->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    star->setSizePolicy(keep);
    row->addWidget(star);
    form->addRow(lbl, row);
    return edit;
}

QWidget *TFrmDetailUser::buildRights()
{
    auto *grp = new QGroupBox(QStringLiteral(" Privilèges "), this);
    grp->setObjectName(QStringLiteral("GrpPrivileges"));
    auto *row = new QHBoxLayout(grp);
    const char *names[3] = {"GrpAcquisition", "GrpCatalogage", "GrpCirculation"};
    const char *titles[3] = {" Acquisition ", " Catalogage ", " Circulation "};
    QVBoxLayout *groups[3];
    for (int g = 0; g < 3; ++g) {
        auto *sub = new QGroupBox(QString::fromLatin1(titles[g]), grp);
        sub->setObjectName(QString::fromLatin1(names[g]));
        groups[g] = new QVBoxLayout(sub);
        row->addWidget(sub);
    }
    for (Right r : allRights()) {
        const auto i = static_cast<size_t>(r);
        QVBoxLayout *to = groups[rightGroup(r)];
        auto *box = new QCheckBox(QString::fromUtf16(kRightLabels[i]), to->parentWidget());
        box->setObjectName(QLatin1String(rightColumn(r)));
        to->addWidget(box);
        boxes_[i] = box;
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            if (!applying_ && boxes_[i]->isEnabled())
                held_[i] = on;
        });
    }
    for (QVBoxLayout *l : groups)
        l->addStretch(1);
    return grp;
}

QWidget *TFrmDetailUser::buildTypes()
{
    auto *grp = new QGroupBox(QStringLiteral(" Type de document "), this);
    grp->setObjectName(QStringLiteral("GrpTypeDocument"));
    auto *l = new QVBoxLayout(grp);
    types_ = new QTableWidget(grp);
    types_->setObjectName(QStringLiteral("LstTypeDocument"));
    types_->setProperty("localise", false);  // its labels come from the data, in the language
    types_->setColumnCount(2);
    types_->horizontalHeader()->hide();
    types_->verticalHeader()->hide();
    types_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    types_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    types_->setShowGrid(false);
    types_->setSelectionMode(QAbstractItemView::NoSelection);
    types_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    types_->setWordWrap(false);
    types_->setMinimumWidth(470);
    l->addWidget(types_);
    return grp;
}

void TFrmDetailUser::fillTypes(const QSet<QString> &checked)
{
    // Every type, whatever the logon restricted: the administrator grants them all.
    Dataset *t = data_.QTypeDocument;
    t->open(QStringLiteral("SELECT * FROM TYPE_DOCUMENT"));
    t->fetchAll();
    const bool arabic = session().ArabicMode;
    const int id = t->fieldIndex(QStringLiteral("TYP_ID"));
    const int fr = t->fieldIndex(QStringLiteral("TYP_LIBELLE"));
    const int ar = t->fieldIndex(QStringLiteral("TYP_LIBELLE_AR"));
    const int n = t->rowCount();
    const int rows = (n + 1) / 2;
    types_->setRowCount(rows);
    // Down the first column, then down the second.
    for (int i = 0; i < n; ++i) {
        const QString code = t->valueAt(i, id).toString();
        QString label = t->valueAt(i, arabic ? ar : fr).toString();
        if (label.trimmed().isEmpty())
            label = t->valueAt(i, fr).toString();
        auto *item = new QTableWidgetItem(label);
        item->setData(Qt::UserRole, code);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(checked.contains(code) ? Qt::Checked : Qt::Unchecked);
        types_->setItem(i % rows, i / rows, item);
    }
}

void TFrmDetailUser::showSheet()
{
    UserSheet u;
    if (userId_ > 0)
        u = loadUser(data_, userId_);
    nom_->setText(u.nom);
    prenom_->setText(u.prenom);
    tel_->setText(u.tel);
    email_->setText(u.email);
    adresse_->setText(u.adresse);
    login_->setText(u.login);
    // The stored password is never shown: both fields start empty.
    held_ = chosenRights(u.role, u.rights);
    fillTypes(u.documentTypes);
    setRole(u.role);
    RoleChange();
}

int TFrmDetailUser::role() const
{
    const int id = roles_->checkedId();
    return id < 0 ? 0 : id;
}

void TFrmDetailUser::setRole(int role)
{
    // A stored role that is not one of the list selects "Agent de saisie".
    QAbstractButton *b = roles_->button(role);
    if (!b)
        b = roles_->button(0);
    b->setChecked(true);
}

bool TFrmDetailUser::isTypeChecked(const QString &code) const
{
    for (int r = 0; r < types_->rowCount(); ++r)
        for (int c = 0; c < types_->columnCount(); ++c)
            if (const QTableWidgetItem *it = types_->item(r, c); it && it->data(Qt::UserRole).toString() == code)
                return it->checkState() == Qt::Checked;
    return false;
}

void TFrmDetailUser::setTypeChecked(const QString &code, bool checked)
{
    for (int r = 0; r < types_->rowCount(); ++r)
        for (int c = 0; c < types_->columnCount(); ++c)
            if (QTableWidgetItem *it = types_->item(r, c); it && it->data(Qt::UserRole).toString() == code)
                it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TFrmDetailUser::RoleChange()
{
    const int r = role();
    applying_ = true;
    const Rights shown = sheetRights(r, held_);
    for (Right right : allRights()) {
        const auto i = static_cast<size_t>(right);
        boxes_[i]->setChecked(shown[i]);
        boxes_[i]->setEnabled(!lockedByRole(r, right));
    }
    applying_ = false;
    types_->setEnabled(rolePreset(r).typesEnabled);
}

void TFrmDetailUser::afterLocalise()
{
    if (!title_.isEmpty())
        setWindowTitle(title_);
    // The role items in the language of the session.
    const bool arabic = session().ArabicMode;
    for (int i = 0; i < roleOrder().size(); ++i) {
        const int code = roleOrder().at(i);
        roles_->button(code)->setText(arabic ? roleName(code, true) : QString::fromUtf16(kRoleItems[i]));
    }
}

void TFrmDetailUser::BtnPostClick()
{
    UserSheet s;
    s.id = userId_;
    s.login = login_->text();
    s.nom = nom_->text();
    s.prenom = prenom_->text();
    s.tel = tel_->text();
    s.email = email_->text();
    s.adresse = adresse_->text();
    s.role = role();
    for (Right r : allRights())
        s.rights[static_cast<size_t>(r)] = rightBox(r)->isChecked();
    s.password = password_->text();
    s.confirmation = confirmation_->text();
    s.keepPassword = userId_ > 0 && s.password.isEmpty() && s.confirmation.isEmpty();
    for (int r = 0; r < types_->rowCount(); ++r)
        for (int c = 0; c < types_->columnCount(); ++c)
            if (const QTableWidgetItem *it = types_->item(r, c); it && it->checkState() == Qt::Checked)
                s.documentTypes.insert(it->data(Qt::UserRole).toString());

    int id = 0;
    const SaveUserResult result = saveUser(data_, s, &id);
    if (result.ok()) {
        savedId_ = id;
        accept();
        return;
    }
    inform(result.message);
    // Back to the field to correct.
    switch (result.field) {
    case UserField::Required:
        for (QLineEdit *e : {nom_, prenom_, login_})
            if (e->text().trimmed().isEmpty()) {
                e->setFocus();
                break;
            }
        break;
    case UserField::Password:
        password_->setFocus();
        break;
    case UserField::Confirmation:
        confirmation_->clear();
        confirmation_->setFocus();
        break;
    case UserField::Login:
        login_->setFocus();
        login_->selectAll();
        break;
    case UserField::Role:
        if (QAbstractButton *b = roles_->checkedButton())
            b->setFocus();
        break;
    case UserField::None:
        break;
    }
}

} // namespace folian
