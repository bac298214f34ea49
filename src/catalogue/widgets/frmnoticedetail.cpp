#include "catalogue/widgets/frmnoticedetail.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/records.h"
#include "catalogue/core/resources.h"
#include "catalogue/widgets/noticefields.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"
#include "data/widgets/uihelpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace folian {

TFrmNoticeDetail::TFrmNoticeDetail(TFrmData &frmData, Page page, const QString &title, QWidget *parent)
    : FormDialog(parent), data_(frmData), page_(page), title_(title)
{
    setObjectName(QStringLiteral("FrmNoticeDetail"));
    setWindowTitle(QStringLiteral("Notice détails"));
    setModal(true);
    Dataset *const sets[3] = {frmData.QExemplaire, frmData.QBulletin, frmData.QRessource};
    dataset_ = sets[int(page)];
    originalCopy_ = page == Page::Copy && dataset_->state() == Dataset::State::Edit
        ? dataset_->value(QStringLiteral("EXP_ID"))
        : QVariant();

    // One page per kind of row; only this row's page is shown.
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PgcDetail"));
    const auto build = [this](int i, FieldBinder &b) {
        return i == 0 ? copyPage(b) : i == 1 ? issuePage(b) : resourcePage(b);
    };
    const char *names[3] = {"TabExemplaire", "TabBulletin", "TabRessource"};
    const char16_t *captions[3] = {u"Exemplaire", u"Bulletin", u"Ressource"};
    for (int i = 0; i < 3; ++i) {
        auto *b = new FieldBinder(sets[i], this);
        QWidget *w = build(i, *b);
        w->setObjectName(QLatin1String(names[i]));
        pages_->addTab(w, QString::fromUtf16(captions[i]));
        if (i == int(page)) {
            binder_ = b;
            b->refresh();
        } else {
            b->setReadOnly(true);
            pages_->setTabVisible(i, false);
            w->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);  // the sheet takes its own page's size
        }
        connect(first_[i], &QLineEdit::textChanged, this, [this] { updateButtons(); });
    }
    pages_->setCurrentIndex(int(page));

    const SheetButtons buttons = sheetButtons(this);
    btnPost_ = buttons.post;
    connect(btnPost_, &QPushButton::clicked, this, &TFrmNoticeDetail::BtnPostClick);
    connect(buttons.cancel, &QPushButton::clicked, this, &TFrmNoticeDetail::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons.row);
    setMinimumWidth(520);
    updateButtons();
    first_[int(page)]->setFocus();
}

QWidget *TFrmNoticeDetail::copyPage(FieldBinder &b)
{
    auto *w = new QWidget;
    QFormLayout *f = fieldForm(w);
    for (Dataset *d : {data_.QLocalisation, data_.QSupport, data_.QModeAcquisition, data_.QStatutExemplaire})
        openLookup(d);
    addLine(f, b, QStringLiteral("EXP_COTE"), QStringLiteral("Cote :"));
    first_[0] = addLine(f, b, QStringLiteral("EXP_ID"), QStringLiteral("N° exemplaire :"));
    addList(f, b, QStringLiteral("LOC_ID"), QStringLiteral("Localisation :"), data_.QLocalisation, QStringLiteral("LOC_ID"),
            QStringLiteral("LOC"), true);
    addList(f, b, QStringLiteral("SUP_ID"), QStringLiteral("Type de support :"), data_.QSupport, QStringLiteral("SUP_ID"),
            QStringLiteral("SUP"));
    addList(f, b, QStringLiteral("MOD_ID"), QStringLiteral("Mode d'acquisition :"), data_.QModeAcquisition,
            QStringLiteral("MOD_ID"), QStringLiteral("MOD"));
    addList(f, b, QStringLiteral("STA_EXP_ID"), QStringLiteral("Statut :"), data_.QStatutExemplaire,
            QStringLiteral("STA_EXP_ID"), QStringLiteral("STA_EXP"));
    addLine(f, b, QStringLiteral("EXP_PRIX"), QStringLiteral("Prix :"));
    auto *date = new QDateEdit(w);
    date->setCalendarPopup(true);
    ConfigureDateField(date);
    addFieldRow(f, QStringLiteral("EXP_DATE_ACQUISITION"), QStringLiteral("Date d'acq. :"), date);
    b.bind(date, QStringLiteral("EXP_DATE_ACQUISITION"));
    addLine(f, b, QStringLiteral("EXP_OBSERVATION"), QStringLiteral("Observation :"));
    addLine(f, b, QStringLiteral("EXP_INV"), QStringLiteral("N° alternatif :"));
    return w;
}

QWidget *TFrmNoticeDetail::issuePage(FieldBinder &b)
{
    auto *w = new QWidget;
    QFormLayout *f = fieldForm(w);
    addLine(f, b, QStringLiteral("BUL_DATE"), QStringLiteral("Date de parution :"));
    first_[1] = addLine(f, b, QStringLiteral("BUL_NUMERO"), QStringLiteral("N° bulletin :"));
    addLine(f, b, QStringLiteral("BUL_TITRE"), QStringLiteral("Titre (n° spécial) :"));
    auto *received = new QCheckBox(QStringLiteral("Reçu"), w);
    received->setObjectName(QStringLiteral("BUL_STATUT"));
    b.bind(received, QStringLiteral("BUL_STATUT"), 1, 0);
    f->addRow(QString(), received);
    return w;
}

QWidget *TFrmNoticeDetail::resourcePage(FieldBinder &b)
{
    auto *w = new QWidget;
    QFormLayout *f = fieldForm(w);
    resourceType_ = new QComboBox(w);
    resourceType_->setEditable(true);
    resourceType_->addItems({QStringLiteral("Sommaire"), QStringLiteral("Texte integral"), QStringLiteral("Séquences"),
                             QStringLiteral("Extraits")});
    resourceType_->setCurrentText(data_.QRessource->value(QStringLiteral("RES_TYPE")).toString());
    addFieldRow(f, QStringLiteral("RES_TYPE"), QStringLiteral("Type de ressource :"), resourceType_);
    b.setCaption(QStringLiteral("RES_TYPE"), QStringLiteral("Type de ressource"));

    auto *linkRow = new QWidget(w);
    auto *ll = new QHBoxLayout(linkRow);
    ll->setContentsMargins(0, 0, 0, 0);
    first_[2] = new QLineEdit(linkRow);
    auto *browse = new QToolButton(linkRow);
    browse->setObjectName(QStringLiteral("BtnFichier"));
    browse->setText(QStringLiteral("..."));
    browse->setProperty("localise", false);
    connect(browse, &QToolButton::clicked, this, [this] { chooseFile(); });
    ll->addWidget(first_[2], 1);
    ll->addWidget(browse);
    addFieldRow(f, QStringLiteral("RES_LIEN"), QStringLiteral("Lien vers la ressource :"), linkRow);
    first_[2]->setObjectName(QStringLiteral("RES_LIEN"));
    linkRow->setObjectName(QStringLiteral("PnlLien"));
    // The link typed is a full path, longer than the file name stored: it
    // is written when the sheet is saved, once the file is archived.
    first_[2]->setText(data_.QRessource->value(QStringLiteral("RES_LIEN")).toString());
    b.setCaption(QStringLiteral("RES_LIEN"), QStringLiteral("Lien vers la ressource"));

    auto *options = new QGroupBox(QStringLiteral(" Options de sauvegarde "), w);
    options->setObjectName(QStringLiteral("GrpOptions"));
    auto *ol = new QVBoxLayout(options);
    archive_ = new QButtonGroup(this);
    const struct {
        const char *name;
        const char16_t *caption;
        ArchiveMode mode;
    } modes[] = {
        {"RbCopier", u"Copier la ressource vers le répertoire d'archivage", ArchiveMode::Copy},
        {"RbDeplacer", u"Déplacer la ressource vers le répertoire d'archivage", ArchiveMode::Move},
        {"RbRien", u"Ne rien faire", ArchiveMode::Leave},
    };
    for (const auto &m : modes) {
        auto *rb = new QRadioButton(QString::fromUtf16(m.caption), options);
        rb->setObjectName(QLatin1String(m.name));
        archive_->addButton(rb, int(m.mode));
        ol->addWidget(rb);
    }
    archive_->button(int(ArchiveMode::Copy))->setChecked(true);
    f->addRow(options);
    return w;
}

void TFrmNoticeDetail::afterLocalise() { setWindowTitle(title_); }

void TFrmNoticeDetail::chooseFile()
{
    const QString file = QFileDialog::getOpenFileName(
        this, tr2(QStringLiteral("Fichier ressource"), QStringLiteral("ملف المصدر")), first_[2]->text(),
        tr2(QStringLiteral("Ressources électronique (*.*)"), QStringLiteral("المصادر الإلكترونية (*.*)")));
    if (file.isEmpty())
        return;
    first_[2]->setText(file);
}

void TFrmNoticeDetail::updateButtons()
{
    btnPost_->setEnabled(dataset_->isEditing() && !first_[int(page_)]->text().trimmed().isEmpty());
}

bool TFrmNoticeDetail::postCopy()
{
    // A copy lent since the sheet opened is not changed.
    if (!originalCopy_.isNull()) {
        if (const QString refusal = copyEditRefusal(data_.db(), originalCopy_); !refusal.isEmpty()) {
            inform(refusal);
            return false;
        }
    }
    return binder_->post();
}

bool TFrmNoticeDetail::postResource()
{
    if (!binder_->submit()
        || !dataset_->setValue(QStringLiteral("RES_TYPE"), resourceType_->currentText().trimmed()))
        return false;
    const auto mode = ArchiveMode(archive_->checkedId());
    ResourceArchive archive(first_[2]->text(),
                            archiveDirectory(data_.db(), data_.QNotice->value(QStringLiteral("TYP_ID")), session().AppDir),
                            mode);
    if (!archive.prepare()) {
        error(archive.message());
        return false;
    }
    // The stored form (the file name, or the whole address), checked against the column.
    if (!dataset_->setValue(QStringLiteral("RES_LIEN"), ResourceLinkName(archive.link()))) {
        archive.undo();
        error(dataset_->refusal().isEmpty() ? dataset_->lastError() : dataset_->refusal());
        return false;
    }
    if (!dataset_->post()) {
        archive.undo();  // the sheet keeps the link as typed
        return false;
    }
    if (!archive.finish())
        warn(archive.message());
    return true;
}

void TFrmNoticeDetail::BtnPostClick()
{
    if (!btnPost_->isEnabled())
        return;
    bool ok = false;
    switch (page_) {
    case Page::Copy: ok = postCopy(); break;
    case Page::Issue: ok = binder_->post(); break;
    case Page::Resource: ok = postResource(); break;
    }
    if (ok)
        accept();
}

void TFrmNoticeDetail::reject()
{
    if (dataset_->isEditing())
        dataset_->cancel();
    FormDialog::reject();
}

} // namespace folian
