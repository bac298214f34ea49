#include "catalogue/copy/widgets/frmnoticecopie.h"

#include "base/messages.h"
#include "data/widgets/uihelpers.h"
#include "base/session.h"
#include "catalogue/copy/copytexts.h"
#include "catalogue/copy/widgets/frmciblecopie.h"
#include "catalogue/unimarc/isbd.h"
#include "data/core/shareddata.h"
#include "data/widgets/progresspanel.h"
#include "i18n/widgets/localise.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTextBrowser>
#include <QThread>
#include <QVBoxLayout>

namespace folian {

namespace {

QLineEdit *edit(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

} // namespace

QWidget *createNoticeCopyScreen(TFrmData &data) { return new TFrmNoticeCopie(data); }

TFrmNoticeCopie::TFrmNoticeCopie(TFrmData &frmData, QWidget *parent)
    : QWidget(parent), data_(frmData), importer_(frmData.db())
{
    setObjectName(QStringLiteral("FrmNoticeCopie"));
    setWindowTitle(QStringLiteral("Copie de notices"));

    panel_ = new ProgressPanel(this);
    connect(panel_->stopButton(), &QPushButton::clicked, this, &TFrmNoticeCopie::BtnStopClick);

    grid_ = new QTableWidget(0, 5, this);
    grid_->setObjectName(QStringLiteral("GrdResultats"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("ISBN, ISSN..."), QStringLiteral("Titre"), QStringLiteral("Auteur"),
                                      QStringLiteral("Année"), QStringLiteral("Remarque")});
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this] { showCurrent(); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { BtnImporterClick(); });

    preview_ = new QTextBrowser(this);
    preview_->setObjectName(QStringLiteral("HtmlApercu"));
    preview_->setOpenLinks(false);

    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(grid_);
    split->addWidget(preview_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("LblMessage"));
    message_->setProperty("localise", false);
    message_->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildCriteria());
    layout->addWidget(panel_);
    layout->addWidget(split, 1);
    layout->addWidget(message_);
    layout->addWidget(buildButtons());
    panel_->finish();
    loadTargets();
}

TFrmNoticeCopie::~TFrmNoticeCopie()
{
    if (stop_)
        *stop_ = true;
}

void TFrmNoticeCopie::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

QWidget *TFrmNoticeCopie::buildCriteria()
{
    auto *box = new QWidget(this);
    box->setObjectName(QStringLiteral("PnlCriteres"));
    target_ = new QComboBox(box);
    target_->setObjectName(QStringLiteral("CmbCible"));
    number_ = edit("EdtIsbn", box);
    title_ = edit("EdtTitre", box);
    author_ = edit("EdtAuteur", box);
    limit_ = new QSpinBox(box);
    limit_->setObjectName(QStringLiteral("EdtLimite"));
    limit_->setRange(1, copy::kMaxLimit);
    limit_->setValue(10);
    btnSearch_ = namedButton(QStringLiteral("BtnRechercher"), QStringLiteral("Rechercher"), box);
    btnSearch_->setDefault(true);
    btnAddTarget_ = namedButton(QStringLiteral("BtnAjouterCible"), QStringLiteral("Nouvelle cible"), box);
    btnDeleteTarget_ = namedButton(QStringLiteral("BtnSupprimerCible"), QStringLiteral("Supprimer la cible"), box);
    for (QLineEdit *e : {number_, title_, author_})
        connect(e, &QLineEdit::returnPressed, this, &TFrmNoticeCopie::BtnRechercherClick);
    connect(btnSearch_, &QPushButton::clicked, this, &TFrmNoticeCopie::BtnRechercherClick);
    connect(btnAddTarget_, &QPushButton::clicked, this, &TFrmNoticeCopie::BtnAjouterCibleClick);
    connect(btnDeleteTarget_, &QPushButton::clicked, this, &TFrmNoticeCopie::BtnSupprimerCibleClick);

    auto *targetLine = new QHBoxLayout;
    targetLine->addWidget(target_, 1);
    targetLine->addWidget(btnAddTarget_);
    targetLine->addWidget(btnDeleteTarget_);
    auto *limitLine = new QHBoxLayout;
    limitLine->addWidget(limit_);
    limitLine->addStretch(1);
    limitLine->addWidget(btnSearch_);
    auto *form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(buddyLabel("LblCible", QStringLiteral("Cible :"), target_, box), targetLine);
    form->addRow(buddyLabel("LblIsbn", QStringLiteral("ISBN / ISSN :"), number_, box), number_);
    form->addRow(buddyLabel("LblTitre", QStringLiteral("Mots du titre :"), title_, box), title_);
    form->addRow(buddyLabel("LblAuteur", QStringLiteral("Auteur :"), author_, box), author_);
    form->addRow(buddyLabel("LblLimite", QStringLiteral("Notices au plus :"), limit_, box), limitLine);
    return box;
}

QWidget *TFrmNoticeCopie::buildButtons()
{
    auto *box = new QWidget(this);
    btnImport_ = namedButton(QStringLiteral("BtnImporter"), QStringLiteral("Importer"), box);
    btnImportEdit_ = namedButton(QStringLiteral("BtnImporterModifier"), QStringLiteral("Importer et modifier"), box);
    connect(btnImport_, &QPushButton::clicked, this, [this] { BtnImporterClick(); });
    connect(btnImportEdit_, &QPushButton::clicked, this, &TFrmNoticeCopie::BtnImporterModifierClick);
    auto *line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    line->addStretch(1);
    line->addWidget(btnImport_);
    line->addWidget(btnImportEdit_);
    return box;
}

void TFrmNoticeCopie::loadTargets()
{
    const QString chosen = target_->currentText();
    targets_ = copy::listTargets(data_.db());
    target_->clear();
    for (const copy::CopyTarget &t : std::as_const(targets_))
        target_->addItem(t.name);
    if (const int i = target_->findText(chosen); i >= 0)
        target_->setCurrentIndex(i);
    updateButtons();
}

void TFrmNoticeCopie::BtnRechercherClick()
{
    if (running_)
        return;
    const int index = target_->currentIndex();
    if (index < 0 || index >= targets_.size()) {
        error(copy::noTarget());
        return;
    }
    if (const QString refusal = copy::searchRefusal(); !refusal.isEmpty()) {
        error(refusal);
        return;
    }
    const copy::CopyCriteria criteria{number_->text(), title_->text(), author_->text(), limit_->value()};
    if (const QString refusal = copy::criteriaRefusal(criteria); !refusal.isEmpty()) {
        error(refusal);
        return;
    }
    const copy::CopyTarget target = targets_.at(index);
    std::shared_ptr<copy::Transport> transport = transport_ ? transport_ : std::shared_ptr(copy::networkTransport());
    auto stop = std::make_shared<std::atomic<bool>>(false);
    auto result = std::make_shared<copy::CopySearchResult>();
    stop_ = stop;
    running_ = true;
    const int run = ++run_;
    QThread *thread = QThread::create([target, criteria, transport, stop, result] {
        *result = copy::searchTarget(target, criteria, *transport, *stop);
    });
    connect(thread, &QThread::finished, this, [this, run, result] {
        if (run != run_)
            return;  // stopped: its result is not wanted
        running_ = false;
        panel_->finish();
        showResult(*result);
        emit searchEnded();
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    hits_.clear();
    grid_->setRowCount(0);
    preview_->clear();
    message_->clear();
    panel_->start();
    panel_->step(0, 0, copy::searching(target.name));
    updateButtons();
    thread->start();
}

void TFrmNoticeCopie::BtnStopClick()
{
    if (!running_)
        return;
    *stop_ = true;
    ++run_;
    running_ = false;
    panel_->finish();
    message_->setText(copy::stopped());
    updateButtons();
    emit searchEnded();
}

void TFrmNoticeCopie::showResult(const copy::CopySearchResult &result)
{
    hits_ = result.records;
    message_->setText(result.message);
    grid_->setRowCount(int(hits_.size()));
    for (int row = 0; row < hits_.size(); ++row) {
        const copy::CopyHit &h = hits_.at(row);
        const QStringList cells{h.number, h.title, h.author, h.year, h.ok() ? h.remark : h.error};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            if (!h.ok())
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            grid_->setItem(row, c, item);
        }
    }
    if (!result.passed)
        warn(result.message);
    if (!hits_.isEmpty())
        grid_->setCurrentCell(0, 1);
    showCurrent();
}

const copy::CopyHit *TFrmNoticeCopie::currentHit() const
{
    const int row = grid_->currentRow();
    return row >= 0 && row < hits_.size() ? &hits_.at(row) : nullptr;
}

void TFrmNoticeCopie::showCurrent()
{
    const copy::CopyHit *h = currentHit();
    if (!h || !h->ok()) {
        preview_->setHtml(h ? QStringLiteral("<p>%1</p>").arg(h->error.toHtmlEscaped()) : QString());
    } else {
        const bool arabic = h->record.value("101", 'a') == QLatin1String("ara");
        preview_->setHtml(unimarc::noticePage(importer_.preview(h->record), arabic));
    }
    updateButtons();
}

int TFrmNoticeCopie::BtnImporterClick()
{
    const copy::CopyHit *h = currentHit();
    if (!h || running_ || !btnImport_->isEnabled())
        return 0;
    const int row = grid_->currentRow();
    const copy::ImportAnswer answer = importer_.import(*h);
    message_->setText(answer.message);
    if (answer.passed || answer.duplicate)
        grid_->item(row, 4)->setText(answer.message);
    else
        warn(answer.message);
    return answer.passed ? answer.key : 0;
}

void TFrmNoticeCopie::BtnImporterModifierClick()
{
    if (const int key = BtnImporterClick(); key > 0)
        emit editRequested(key);
}

void TFrmNoticeCopie::BtnAjouterCibleClick()
{
    if (!copy::manageRefusal().isEmpty())
        return;
    TFrmCibleCopie dialog(data_.db(), this);
    if (dialog.exec() == QDialog::Accepted) {
        loadTargets();
        target_->setCurrentIndex(target_->findText(dialog.addedName()));
    }
}

void TFrmNoticeCopie::BtnSupprimerCibleClick()
{
    const QString name = target_->currentText();
    if (name.isEmpty() || !copy::manageRefusal().isEmpty()
        || !confirmIrreversible(tr2(QStringLiteral("Supprimer la cible \"%1\" ?"), QStringLiteral("حذف الهدف \"%1\" ؟")).arg(name)))
        return;
    const copy::TargetResult r = copy::deleteTarget(data_.db(), name);
    if (!r.passed)
        error(r.message);
    loadTargets();
}

void TFrmNoticeCopie::updateButtons()
{
    const copy::CopyHit *h = currentHit();
    const bool manage = copy::manageRefusal().isEmpty();
    btnAddTarget_->setEnabled(manage && !running_);
    btnDeleteTarget_->setEnabled(manage && !running_ && target_->count() > 0);
    btnSearch_->setEnabled(!running_ && target_->count() > 0 && copy::searchRefusal().isEmpty());
    const bool importable = !running_ && h && h->ok() && copy::importRefusal().isEmpty();
    btnImport_->setEnabled(importable);
    btnImportEdit_->setEnabled(importable);
}

} // namespace folian
