#include "circulation/widgets/frmdetailbib.h"

#include "base/messages.h"
#include "circulation/core/interlibrarytexts.h"
#include "circulation/core/libraries.h"
#include "circulation/core/readers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

namespace {

// The earliest day of the date field, shown blank: no date of birth.
const QDate kNoDate(1900, 1, 1);

struct SheetField {
    const char *name, *label, *caption;
    bool mandatory;
    int length;
};
const SheetField kFields[] = {{"EdtNumero", "LblNumero", "Numéro :", true, 20},
                              {"EdtNom", "LblNom", "Nom :", true, 100},
                              {"EdtPrenom", "LblPrenom", "Prénom :", true, 100},
                              {"EdtPassword", "LblPassword", "Mot de passe :", false, 50},
                              {"EdtAdresse", "LblAdresse", "Adresse :", false, 255},
                              {"EdtTelephone", "LblTelephone", "Téléphone :", false, 50},
                              {"EdtEmail", "LblEmail", "E-Mail :", false, 100}};

} // namespace

TFrmDetailBib::TFrmDetailBib(TFrmData &frmData, int libraryId, const QString &correspondentId, QWidget *parent)
    : FormDialog(parent), data_(frmData), libraryId_(libraryId), id_(correspondentId.trimmed())
{
    setObjectName(QStringLiteral("FrmDetailBib"));
    setWindowTitle(QStringLiteral("Responsable bibliothèque"));
    setModal(true);

    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const char *label, const char *caption, QWidget *w, bool mandatory) {
        QLabel *l = namedLabel(label, QString::fromUtf8(caption), this);
        l->setBuddy(w);
        if (mandatory) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
        grid->addWidget(l, row, 0);
        grid->addWidget(w, row, 1);
        if (mandatory) {
            auto *star = new QLabel(QStringLiteral("*"), this);
            star->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
            grid->addWidget(star, row, 2);
        }
        ++row;
    };
    for (const SheetField &f : kFields) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(f.name));
        e->setMaxLength(f.length);
        addRow(f.label, f.caption, e, f.mandatory);
        if (qstrcmp(f.name, "EdtPassword") == 0) {
            e->setEchoMode(QLineEdit::Password);
            birth_ = new QDateEdit(this);
            birth_->setObjectName(QStringLiteral("EdtDateNaissance"));
            ConfigureDateField(birth_);
            birth_->setMinimumDate(kNoDate);
            birth_->setSpecialValueText(QStringLiteral(" "));
            birth_->setDate(kNoDate);
            addRow("LblDateNaissance", "Date naissance :", birth_, false);
        }
    }
    grid->setColumnStretch(1, 1);

    auto *legend = namedLabel("LblObligatoire", QStringLiteral("* Champs obligatoires"), this);
    legend->setStyleSheet(QStringLiteral("color: red"));
    QPushButton *post = namedButton("BtnPost", QStringLiteral("Enregistrer"), this);
    QPushButton *cancel = namedButton("BtnCancel", QStringLiteral("Annuler"), this);
    connect(post, &QPushButton::clicked, this, &TFrmDetailBib::BtnPostClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(legend);
    bottom->addStretch(1);
    bottom->addWidget(post);
    bottom->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setMinimumWidth(460);

    if (!id_.isEmpty()) {
        const CorrespondentSheet s = loadCorrespondent(data_.db(), id_);
        field("EdtNumero")->setText(s.id);
        field("EdtNumero")->setReadOnly(true);  // the number is his key
        field("EdtNom")->setText(s.nom);
        field("EdtPrenom")->setText(s.prenom);
        field("EdtAdresse")->setText(s.adresse);
        field("EdtTelephone")->setText(s.tel);
        field("EdtEmail")->setText(s.email);
        birth_->setDate(s.naissance.isValid() ? s.naissance : kNoDate);
        field("EdtNom")->setFocus();
    } else {
        field("EdtNumero")->setFocus();
    }
}

QLineEdit *TFrmDetailBib::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

void TFrmDetailBib::afterLocalise()
{
    setWindowTitle(id_.isEmpty() ? circ::newCorrespondentTitle() : circ::editCorrespondentTitle());
    // The stored password is never shown: left empty, it is kept.
    if (!id_.isEmpty())
        field("EdtPassword")->setPlaceholderText(circ::passwordKept());
}

void TFrmDetailBib::BtnPostClick()
{
    CorrespondentSheet s;
    s.id = field("EdtNumero")->text();
    s.nom = field("EdtNom")->text();
    s.prenom = field("EdtPrenom")->text();
    s.adresse = field("EdtAdresse")->text();
    s.tel = field("EdtTelephone")->text();
    s.email = field("EdtEmail")->text();
    s.password = field("EdtPassword")->text();
    s.keepPassword = !id_.isEmpty() && s.password.isEmpty();
    s.naissance = birth_->date() > kNoDate ? birth_->date() : QDate();
    const bool isNew = id_.isEmpty();
    const CorrespondentSave saved = saveCorrespondent(data_.db(), libraryId_, s, isNew, serverToday(data_.db()));
    if (saved.ok()) {
        savedId_ = s.id.trimmed();
        accept();
        return;
    }
    inform(saved.message);
    QLineEdit *to = nullptr;
    if (saved.field == CorrespondentField::Number)
        to = field("EdtNumero");
    else if (saved.field == CorrespondentField::Required)
        for (const char *name : {"EdtNumero", "EdtNom", "EdtPrenom"})
            if (!to && field(name)->text().trimmed().isEmpty())
                to = field(name);
    if (to) {
        to->setFocus();
        to->selectAll();
    }
}

} // namespace folian
