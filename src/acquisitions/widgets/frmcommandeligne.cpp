#include "acquisitions/widgets/frmcommandeligne.h"

#include "acquisitions/core/orders.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "acquisitions/widgets/frmcommandelignesearch.h"
#include "base/dates.h"
#include "base/messages.h"
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

TFrmCommandeLigne::TFrmCommandeLigne(TFrmData &frmData, AcqType type, int document, int line, QWidget *parent)
    : FormDialog(parent), data_(frmData), type_(type), document_(document), line_(line)
{
    setObjectName(QStringLiteral("FrmCommandeLigne"));
    setWindowTitle(QStringLiteral("Ligne de commande"));
    setModal(true);
    auto *grid = new QGridLayout;
    int row = 0;
    const auto edit = [&](const char *name, const char *label, const char *caption) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        QLabel *l = namedLabel(label, QString::fromUtf8(caption), this);
        l->setBuddy(e);
        grid->addWidget(l, row, 0);
        grid->addWidget(e, row++, 1, 1, 2);
        return e;
    };
    QLineEdit *title = edit("EdtTitre", "LblTitre", "Titre :");
    title->setReadOnly(true);
    grid->removeWidget(title);
    QPushButton *pick = namedButton("BtnTitre", QStringLiteral("..."), this);
    pick->setProperty("localise", false);
    pick->setMaximumWidth(32);
    connect(pick, &QPushButton::clicked, this, &TFrmCommandeLigne::BtnTitreClick);
    grid->addWidget(title, 0, 1);
    grid->addWidget(pick, 0, 2);
    edit("EdtReference", "LblReference", "Référence :");
    // A day with the workstation's date format beside it.
    const auto day = [&](const char *name, const char *label, const char *caption, const char *format) {
        QDateEdit *field = folian::dateField(name, this, true);
        QLabel *shown = folian::countLabel(format, this);
        formats_ << shown;
        grid->addWidget(namedLabel(label, QString::fromUtf8(caption), this), row, 0);
        auto *dateRow = new QHBoxLayout;
        dateRow->addWidget(field);
        dateRow->addWidget(shown);
        dateRow->addStretch(1);
        grid->addLayout(dateRow, row++, 1, 1, 2);
        return field;
    };
    // A subscription's line has its period and numbering, and no expected day.
    if (type_ == AcqType::Subscription) {
        start_ = day("EdtDebut", "LblDebut", "Début abonn. :", "LblFormatDebut");
        end_ = day("EdtFin", "LblFin", "Fin abonn. :", "LblFormatFin");
        edit("EdtNumerotation", "LblNumerotation", "Numérotation :");
    } else {
        expected_ = day("EdtDateLivraison", "LblDateLivraison", "Date livraison :", "LblFormat");
    }
    QLineEdit *price = edit("EdtPrix", "LblPrix", "Prix :");
    QLineEdit *copies = edit("EdtExemplaire", "LblExemplaire", "Nb exemplaire :");
    QLineEdit *total = edit("EdtTotal", "LblTotal", "Total :");
    total->setReadOnly(true);
    for (QLineEdit *e : {price, copies})
        connect(e, &QLineEdit::editingFinished, this, &TFrmCommandeLigne::ShowAmount);
    for (QLineEdit *e : {title, copies})
        connect(e, &QLineEdit::textChanged, this, &TFrmCommandeLigne::updateButtons);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, 380);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmCommandeLigne::BtnPostClick);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(bottom);

    if (line_ > 0) {
        const LineSheet l = loadLine(data_.db(), line_);
        record_ = l.record;
        title->setText(recordFullTitle(data_.db(), l.record));
        field("EdtReference")->setText(l.reference);
        if (expected_)
            showDate(expected_, l.expected);
        if (start_) {
            showDate(start_, l.subscriptionStart);
            showDate(end_, l.subscriptionEnd);
            field("EdtNumerotation")->setText(l.numbering);
        }
        price->setText(l.price);
        copies->setText(l.copies);
        ShowAmount();
    }
    updateButtons();
    pick->setFocus();
}

QLineEdit *TFrmCommandeLigne::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

void TFrmCommandeLigne::afterLocalise()
{
    setWindowTitle(line_ > 0 ? tr2(QStringLiteral("Modifier titre"), QStringLiteral("تعديل العنوان"))
                             : tr2(QStringLiteral("Nouveau titre"), QStringLiteral("عنوان جديد")));
    for (QLabel *format : std::as_const(formats_))
        format->setText(u'(' + DateFormat().toLower() + u')');
}

void TFrmCommandeLigne::updateButtons()
{
    post_->setEnabled(!field("EdtTitre")->text().trimmed().isEmpty() && !field("EdtExemplaire")->text().trimmed().isEmpty());
}

void TFrmCommandeLigne::ShowAmount()
{
    const QString copies = field("EdtExemplaire")->text().trimmed();
    bool ok = false;
    const int n = copies.toInt(&ok);
    const std::optional<Money> price = Money::parse(field("EdtPrix")->text());
    const std::optional<Money> amount = price && ok ? price->times(n) : std::optional<Money>(Money());
    field("EdtTotal")->setText(amount ? amount->toString() : QString());
}

void TFrmCommandeLigne::chooseRecord(int record)
{
    record_ = record;
    field("EdtTitre")->setText(recordShortTitle(data_.db(), record));
    field("EdtReference")->setText(recordReference(data_.db(), record));
}

void TFrmCommandeLigne::BtnTitreClick()
{
    const int mode = type_ == AcqType::Subscription ? 2 : (hasSupplier(type_) ? 1 : 3);
    const int chosen = TFrmCommandeLigneSearch::pick(data_, mode, type_, this);
    if (chosen > 0)
        chooseRecord(chosen);
}

void TFrmCommandeLigne::BtnPostClick()
{
    LineSheet l = line_ > 0 ? loadLine(data_.db(), line_) : LineSheet();
    l.id = line_;
    l.document = document_;
    l.record = record_;
    l.reference = field("EdtReference")->text();
    if (expected_)
        l.expected = dateOf(expected_);
    if (start_) {
        l.subscriptionStart = dateOf(start_);
        l.subscriptionEnd = dateOf(end_);
        l.numbering = field("EdtNumerotation")->text();
    }
    l.price = field("EdtPrix")->text();
    l.copies = field("EdtExemplaire")->text();
    const AcqResult r = saveLine(data_.db(), l);
    if (!r.passed) {
        inform(r.message);
        return;
    }
    savedId_ = r.key;
    accept();
}

} // namespace folian
