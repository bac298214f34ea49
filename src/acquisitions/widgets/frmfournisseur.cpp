#include "acquisitions/widgets/frmfournisseur.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/suppliers.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "acquisitions/widgets/frmfournisseurdetail.h"
#include "base/messages.h"
#include "data/core/datasetmodel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/pickerdialog.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

TFrmFournisseur::TFrmFournisseur(TFrmData &frmData, int mode, QWidget *parent)
    : QWidget(parent), data_(frmData), mode_(mode)
{
    setObjectName(QStringLiteral("FrmFournisseur"));
    setWindowTitle(QStringLiteral("Liste des fournisseurs"));
    Dataset *suppliers = data_.QFournisseur;
    model_ = new DatasetModel(suppliers, this);
    model_->setColumns({QStringLiteral("FOU_LIBELLE"), QStringLiteral("FOU_COMPTE"), QStringLiteral("FOU_CONTACT"),
                        QStringLiteral("FOU_ADRESSE"), QStringLiteral("FOU_TEL"), QStringLiteral("FOU_FAX")},
                       {QStringLiteral("Fournisseur"), QStringLiteral("Compte"), QStringLiteral("Contact"),
                        QStringLiteral("Adresse"), QStringLiteral("Téléphone"), QStringLiteral("Fax")});
    grid_ = acqGrid("DBGridFournisseur", model_, this);
    setColumnWidths(grid_, {200, 100, 130, 220, 100});
    connect(grid_, &QTableView::doubleClicked, this, &TFrmFournisseur::BtnSelectClick);

    key_ = new QLineEdit(this);
    key_->setObjectName(QStringLiteral("EdtKey"));
    connect(key_, &QLineEdit::textEdited, this, &TFrmFournisseur::Search);
    auto *top = new QHBoxLayout;
    QLabel *keyLabel = namedLabel("LblKey", QStringLiteral("Fournisseur :"), this);
    keyLabel->setBuddy(key_);
    top->addWidget(keyLabel);
    top->addWidget(key_, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const struct {
        const char *name, *caption;
        void (TFrmFournisseur::*slot)();
    } actions[] = {{"BtnAppend", "Nouveau", &TFrmFournisseur::BtnAppendClick},
                   {"BtnEdit", "Modifier", &TFrmFournisseur::BtnEditClick},
                   {"BtnDelete", "Supprimer", &TFrmFournisseur::BtnDeleteClick},
                   {"BtnSelect", "Choisir", &TFrmFournisseur::BtnSelectClick}};
    for (const auto &a : actions) {
        QPushButton *b = namedButton(a.name, QString::fromUtf8(a.caption), this);
        connect(b, &QPushButton::clicked, this, a.slot);
        buttons->addWidget(b);
    }
    QPushButton *close = namedButton("BtnClose", QStringLiteral("Fermer"), this);
    connect(close, &QPushButton::clicked, this, &TFrmFournisseur::closeRequested);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    FollowCurrentRow(grid_, suppliers, [this] { updateButtons(); });
    reopen(0);
}

QString TFrmFournisseur::pick(TFrmData &data, int mode, QWidget *parent)
{
    auto *screen = new TFrmFournisseur(data, mode);
    PickerDialog dialog(screen, &TFrmFournisseur::chosen, tr2(QStringLiteral("Liste des fournisseurs"), QStringLiteral("قائمة الموردين")),
                        parent);
    connect(screen, &TFrmFournisseur::closeRequested, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Accepted ? screen->chosenName() : QString();
}

void TFrmFournisseur::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmFournisseur::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

QPushButton *TFrmFournisseur::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }

int TFrmFournisseur::currentSupplier() const
{
    Dataset *q = data_.QFournisseur;
    return q->isOpen() && q->currentRow() >= 0 && q->rowCount() > 0 ? q->value(QStringLiteral("FOU_ID")).toInt() : 0;
}

void TFrmFournisseur::updateButtons()
{
    const bool current = currentSupplier() > 0;
    button("BtnEdit")->setEnabled(current);
    button("BtnDelete")->setEnabled(current);
    button("BtnSelect")->setEnabled(current);
}

void TFrmFournisseur::reopen(int id)
{
    Dataset *q = data_.QFournisseur;
    const int row = q->isOpen() ? q->currentRow() : 0;
    const SqlText sql = suppliersSql();
    q->open(sql.sql, sql.binds);
    if (!(id > 0 && q->locate(QStringLiteral("FOU_ID"), id))) {
        q->fetchAll();
        q->moveTo(qBound(0, row, q->rowCount() - 1));
    }
    updateButtons();
    LookupCount(data_.db(), QStringLiteral("FOURNISSEUR"), tr2(QStringLiteral("Fournisseurs"), QStringLiteral("الموردون")),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

void TFrmFournisseur::Search(const QString &text)
{
    Dataset *q = data_.QFournisseur;
    if (text.isEmpty() || !q->isOpen())
        return;
    q->fetchAll();
    for (int r = 0; r < q->rowCount(); ++r)
        if (q->valueAt(r, QStringLiteral("FOU_LIBELLE")).toString().startsWith(text, Qt::CaseSensitive)) {
            q->moveTo(r);
            return;
        }
}

void TFrmFournisseur::openSheet(int id)
{
    TFrmFournisseurDetail sheet(data_, id, this);
    if (sheet.exec() == QDialog::Accepted)
        reopen(sheet.savedId());
}

void TFrmFournisseur::BtnAppendClick() { openSheet(0); }

void TFrmFournisseur::BtnEditClick()
{
    if (const int id = currentSupplier(); id > 0)
        openSheet(id);
}

void TFrmFournisseur::BtnDeleteClick()
{
    const int id = currentSupplier();
    if (id <= 0 || !confirmIrreversible(acq::deleteSupplierQuestion(data_.QFournisseur->value(QStringLiteral("FOU_LIBELLE")).toString())))
        return;
    const AcqResult r = deleteSupplier(data_.db(), id);
    if (!r.passed)
        inform(r.message);
    reopen(r.passed ? 0 : id);
}

void TFrmFournisseur::BtnSelectClick()
{
    if (currentSupplier() <= 0)
        return;
    if (mode_ == 0) {
        BtnEditClick();
        return;
    }
    chosen_ = data_.QFournisseur->value(QStringLiteral("FOU_LIBELLE")).toString();
    emit chosen();
}

} // namespace folian
