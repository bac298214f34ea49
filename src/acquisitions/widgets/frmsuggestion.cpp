#include "acquisitions/widgets/frmsuggestion.h"

#include "acquisitions/core/gifttexts.h"
#include "acquisitions/core/suggestions.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "data/core/datasetmodel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"
#include "reports/widgets/printreport.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace folian {

TFrmSuggestionSearch::TFrmSuggestionSearch(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmSuggestionSearch"));
    setWindowTitle(QStringLiteral("Recherche suggestions"));
    data_.QSuggestion->close();
    QGroupBox *box = criteriaBox(this);
    auto *criteria = new QHBoxLayout(box);
    number_ = new QLineEdit(box);
    number_->setObjectName(QStringLiteral("NUM"));
    number_->setMaximumWidth(160);
    setFocusProxy(number_);
    criteria->addWidget(namedLabel("LblNum", QStringLiteral("N° suggestion :"), box));
    criteria->addWidget(number_);
    for (const auto &[name, caption, slot] :
         {std::tuple{"BtnRechercher", "Rechercher", &TFrmSuggestionSearch::Search},
          std::tuple{"BtnImprimer", "Imprimer", &TFrmSuggestionSearch::BtnImprimerClick}}) {
        QPushButton *b = namedButton(name, QString::fromUtf8(caption), box);
        connect(b, &QPushButton::clicked, this, slot);
        criteria->addWidget(b);
    }
    criteria->addStretch(1);

    auto *model = new DatasetModel(data_.QSuggestion, this);
    model->setColumns({QStringLiteral("SUG_ID"), QStringLiteral("SUG_TITRE"), QStringLiteral("SUG_AUTEUR"), QStringLiteral("SUG_EDITEUR"),
                       QStringLiteral("SUG_PRIX"), QStringLiteral("SUG_DATE")},
                      {QStringLiteral("N°"), QStringLiteral("Titre"), QStringLiteral("Auteur"), QStringLiteral("Editeur"),
                       QStringLiteral("Prix"), QStringLiteral("Date")});
    model->setDisplay(QStringLiteral("SUG_PRIX"), moneyText);
    grid_ = acqGrid("DBGridSuggestion", model, this);
    setColumnWidths(grid_, {60, 300, 200, 160, 90});
    connect(grid_, &QTableView::doubleClicked, this, &TFrmSuggestionSearch::BtnModifierClick);
    FollowCurrentRow(grid_, data_.QSuggestion, [this] { updateButtons(); });
    count_ = folian::countLabel("LblCount", this);

    auto *buttons = new QVBoxLayout;
    for (const auto &[name, caption, slot] :
         {std::tuple{"BtnNouveau", "Nouvelle suggestion", &TFrmSuggestionSearch::BtnNouveauClick},
          std::tuple{"BtnModifier", "Modifier suggestion", &TFrmSuggestionSearch::BtnModifierClick},
          std::tuple{"BtnSupprimer", "Supprimer suggestion", &TFrmSuggestionSearch::BtnSupprimerClick}}) {
        QPushButton *b = namedButton(name, QString::fromUtf8(caption), this);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addWidget(grid_, 1);
    row->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(count_);
    layout->addLayout(row, 1);
    updateButtons();
}

void TFrmSuggestionSearch::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmSuggestionSearch::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

QPushButton *TFrmSuggestionSearch::button(const char *name) const { return findChild<QPushButton *>(QLatin1String(name)); }

int TFrmSuggestionSearch::currentSuggestion() const { return currentKey(data_.QSuggestion, "SUG_ID"); }

void TFrmSuggestionSearch::updateButtons()
{
    const bool current = currentSuggestion() > 0;
    button("BtnModifier")->setEnabled(current);
    button("BtnSupprimer")->setEnabled(current);
}

void TFrmSuggestionSearch::Search() { reopen(0); }

void TFrmSuggestionSearch::reopen(int id)
{
    SqlText sql;
    QString why;
    if (!suggestionSearchSql(data_.db().dialect(), number_->text(), &sql, &why)) {
        inform(why);
        number_->setFocus();
        return;
    }
    Dataset *q = data_.QSuggestion;
    q->open(sql.sql, sql.binds);
    if (id > 0)
        q->locate(QStringLiteral("SUG_ID"), id);
    count_->setText(acq::suggestionsCount(q->recordCount()));
    updateButtons();
}

void TFrmSuggestionSearch::BtnImprimerClick()
{
    Report report;
    QString why;
    if (!suggestionListReport(data_.db().dialect(), number_->text(), &report, &why)) {
        inform(why);
        return;
    }
    PrintReport(data_.db(), report, this, nullptr, button("BtnImprimer"));
}

void TFrmSuggestionSearch::BtnNouveauClick()
{
    TFrmSuggestionLigne sheet(data_, 0, this);
    if (sheet.exec() != QDialog::Accepted)
        return;
    reopen(sheet.savedId());
    writeStatusPanel(2, suggestionCountLine(data_.db()));
}

void TFrmSuggestionSearch::BtnModifierClick()
{
    const int id = currentSuggestion();
    if (id <= 0)
        return;
    TFrmSuggestionLigne sheet(data_, id, this);
    if (sheet.exec() == QDialog::Accepted)
        reopen(id);
}

void TFrmSuggestionSearch::BtnSupprimerClick()
{
    const int id = currentSuggestion();
    if (id <= 0 || !confirmIrreversible(acq::suggestionDeleteQuestion()))
        return;
    const AcqResult r = deleteSuggestion(data_.db(), id);
    if (!r.passed)
        inform(r.message);
    reopen(0);
    writeStatusPanel(2, suggestionCountLine(data_.db()));
}

TFrmSuggestionLigne::TFrmSuggestionLigne(TFrmData &frmData, int id, QWidget *parent) : FormDialog(parent), data_(frmData), id_(id)
{
    setObjectName(QStringLiteral("FrmSuggestionLigne"));
    setWindowTitle(QStringLiteral("Ligne de suggestion"));
    setModal(true);
    auto *form = new QFormLayout;
    QLineEdit *title = formLine(form, this, "EdtTitre", "LblTitre", "Titre :");
    formLine(form, this, "EdtAuteur", "LblAuteur", "Auteur :");
    formLine(form, this, "EdtEditeur", "LblEditeur", "Editeur :");
    formLine(form, this, "EdtPrix", "LblPrix", "Prix :")->setMaximumWidth(120);
    comment_ = new QPlainTextEdit(this);
    comment_->setObjectName(QStringLiteral("EdtCommentaire"));
    comment_->setMaximumHeight(90);
    formRow(form, this, "LblCommentaire", "Commentaire :", comment_);
    date_ = folian::dateField("EdtDate", this);
    formRow(form, this, "LblDate", "Date :", date_);

    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmSuggestionLigne::BtnPostClick);
    connect(title, &QLineEdit::textChanged, this, [this](const QString &t) { post_->setEnabled(!t.trimmed().isEmpty()); });
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setMinimumWidth(480);

    const SuggestionSheet s = id_ > 0 ? loadSuggestion(data_.db(), id_) : SuggestionSheet();
    title->setText(s.title);
    field("EdtAuteur")->setText(s.author);
    field("EdtEditeur")->setText(s.publisher);
    field("EdtPrix")->setText(s.price);
    comment_->setPlainText(s.comment);
    showDate(date_, id_ > 0 && s.date.isValid() ? s.date : serverToday(data_.db()));
    post_->setEnabled(!s.title.trimmed().isEmpty());
    title->setFocus();
}

QLineEdit *TFrmSuggestionLigne::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }

void TFrmSuggestionLigne::afterLocalise() { setWindowTitle(id_ > 0 ? acq::suggestionEditCaption() : acq::suggestionNewCaption()); }

void TFrmSuggestionLigne::BtnPostClick()
{
    SuggestionSheet s;
    s.id = id_;
    s.title = field("EdtTitre")->text();
    s.author = field("EdtAuteur")->text();
    s.publisher = field("EdtEditeur")->text();
    s.price = field("EdtPrix")->text();
    s.comment = comment_->toPlainText();
    s.date = dateOf(date_);
    const AcqResult r = saveSuggestion(data_.db(), s);
    if (!r.passed) {
        inform(r.message);
        return;
    }
    savedId_ = r.key;
    accept();
}

} // namespace folian
