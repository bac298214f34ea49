#include "circulation/widgets/frmlecteurimport.h"

#include "base/messages.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/readerimport.h"
#include "circulation/core/readers.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"
#include "data/widgets/progresspanel.h"
#include "data/widgets/uihelpers.h"
#include "i18n/widgets/localise.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

TFrmLecteurImport::TFrmLecteurImport(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmLecteurImport"));
    setWindowTitle(QStringLiteral("Importation lecteur"));
    const auto caption = [this](const char *name, const char *text) {
        auto *l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QLatin1String(name));
        return l;
    };

    file_ = new QLineEdit(this);
    file_->setObjectName(QStringLiteral("EdtFichier"));
    connect(file_, &QLineEdit::textChanged, this, &TFrmLecteurImport::updateButtons);
    auto *btnFile = new QPushButton(QStringLiteral("..."), this);
    btnFile->setObjectName(QStringLiteral("BtnFichier"));
    btnFile->setAutoDefault(false);
    btnFile->setMaximumWidth(32);
    connect(btnFile, &QPushButton::clicked, this, &TFrmLecteurImport::BtnFileClick);
    category_ = new QComboBox(this);
    category_->setObjectName(QStringLiteral("CbxCategorie"));
    FieldBinder::fillList(category_, data_.QCategorie, QStringLiteral("CAT_ID"), QStringLiteral("CAT_LIBELLE"));
    connect(category_, &QComboBox::currentIndexChanged, this, &TFrmLecteurImport::updateButtons);
    structure_ = new QComboBox(this);
    structure_->setObjectName(QStringLiteral("CbxStructure"));
    FieldBinder::fillList(structure_, data_.QStructure, QStringLiteral("STR_ID"), QStringLiteral("STR_LIBELLE"), true);
    registered_ = new QDateEdit(serverToday(data_.db()), this);
    registered_->setObjectName(QStringLiteral("EdtDateAdhesion"));
    ConfigureDateField(registered_);
    registered_->setCalendarPopup(true);
    auto *format = new QLabel(circ::importFileFormat(), this);
    format->setObjectName(QStringLiteral("LblFormatValue"));
    format->setProperty("localise", false);
    QFont ff = format->font();
    ff.setBold(true);
    format->setFont(ff);

    btnImport_ = new QPushButton(QStringLiteral("Importer"), this);
    btnImport_->setObjectName(QStringLiteral("BtnImport"));
    btnImport_->setAutoDefault(false);
    connect(btnImport_, &QPushButton::clicked, this, &TFrmLecteurImport::BtnImportClick);
    progress_ = new ProgressPanel(this);
    rejected_ = new QListWidget(this);
    rejected_->setObjectName(QStringLiteral("LstRejets"));

    auto *grid = new QGridLayout;
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(btnFile);
    grid->addWidget(caption("LblFichier", "Fichier :"), 0, 0);
    grid->addLayout(fileRow, 0, 1);
    grid->addWidget(caption("LblFormat", "Format fichier :"), 1, 0);
    grid->addWidget(format, 1, 1);
    grid->addWidget(caption("LblCategorie", "Catégorie :"), 2, 0);
    grid->addWidget(category_, 2, 1);
    grid->addWidget(caption("LblStructure", "Structure :"), 3, 0);
    grid->addWidget(structure_, 3, 1);
    grid->addWidget(caption("LblDateAdhesion", "Date d'adhésion :"), 4, 0);
    grid->addWidget(registered_, 4, 1, Qt::AlignLeading);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnImport_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    layout->addWidget(caption("LblRejets", "Lignes rejetées :"));
    layout->addWidget(rejected_, 1);
    updateButtons();
}

void TFrmLecteurImport::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmLecteurImport::Keyboard(QWidget *control, QKeyEvent *event) { return returnMovesFocus(control, event); }

void TFrmLecteurImport::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

void TFrmLecteurImport::updateButtons()
{
    btnImport_->setEnabled(!running_ && category_->currentIndex() >= 0 && QFileInfo(file_->text().trimmed()).isFile());
}

void TFrmLecteurImport::BtnFileClick()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr2(QStringLiteral("Fichier d'importation"), QStringLiteral("ملف الاستيراد")), file_->text(),
        tr2(QStringLiteral("Fichiers lecteurs (*.txt)"), QStringLiteral("ملفات القراء (*.txt)")));
    if (!path.isEmpty())
        file_->setText(path);
}

void TFrmLecteurImport::BtnImportClick()
{
    if (!btnImport_->isEnabled())
        return;
    ReaderImportOptions options;
    options.categoryId = category_->currentData().toInt();
    options.structureId = structure_->currentData();
    options.registrationDate = registered_->date();
    running_ = true;
    updateButtons();
    rejected_->clear();
    progress_->setBusy(true);
    const ReaderImportResult r = importReaders(data_.db(), file_->text().trimmed(), options, progress_);
    progress_->setBusy(false);
    running_ = false;
    updateButtons();
    for (const QString &line : r.skippedLines())
        AddAndSelect(line, rejected_);
    LookupCount(data_.db(), QStringLiteral("LECTEUR"), tr2(QStringLiteral("Lecteurs"), QStringLiteral("القراء")),
                tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
    if (!r.error.isEmpty())
        error(r.error);
    else
        inform(r.summary());
}

} // namespace folian
