#include "admin/widgets/frmsauvegarde.h"

#include "admin/core/backup.h"
#include "admin/core/backuptexts.h"
#include "base/messages.h"
#include "data/core/database.h"
#include "data/widgets/progresspanel.h"
#include "i18n/widgets/localise.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

namespace folian {

namespace {

QString defaultDirectory()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("sauvegardes"));
}

QTableWidgetItem *cell(const QString &text, bool number = false)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number)
        item->setTextAlignment(Qt::AlignTrailing | Qt::AlignVCenter);
    return item;
}

QString count(qint64 n) { return n < 0 ? QStringLiteral("?") : QLocale().toString(n); }

} // namespace

TFrmSauvegarde::TFrmSauvegarde(Database &db, QWidget *parent) : QWidget(parent), db_(db)
{
    setObjectName(QStringLiteral("FrmSauvegarde"));
    setWindowTitle(QStringLiteral("Sauvegarde"));
    auto *caption = new QLabel(QStringLiteral("Dossier des sauvegardes :"), this);
    caption->setObjectName(QStringLiteral("LblDossier"));
    directory_ = new QLineEdit(defaultDirectory(), this);
    directory_->setObjectName(QStringLiteral("EdtDossier"));
    connect(directory_, &QLineEdit::textChanged, this, &TFrmSauvegarde::Actualiser);
    auto *btnDirectory = new QPushButton(QStringLiteral("..."), this);
    btnDirectory->setObjectName(QStringLiteral("BtnDossier"));
    btnDirectory->setAutoDefault(false);
    btnDirectory->setMaximumWidth(32);
    connect(btnDirectory, &QPushButton::clicked, this, &TFrmSauvegarde::BtnDossierClick);

    btnBackup_ = new QPushButton(QStringLiteral("Sauvegarder maintenant"), this);
    btnBackup_->setObjectName(QStringLiteral("BtnSauvegarder"));
    connect(btnBackup_, &QPushButton::clicked, this, &TFrmSauvegarde::BtnSauvegarderClick);
    btnRestore_ = new QPushButton(QStringLiteral("Restaurer"), this);
    btnRestore_->setObjectName(QStringLiteral("BtnRestaurer"));
    connect(btnRestore_, &QPushButton::clicked, this, &TFrmSauvegarde::BtnRestaurerClick);
    auto *btnRefresh = new QPushButton(QStringLiteral("Actualiser"), this);
    btnRefresh->setObjectName(QStringLiteral("BtnActualiser"));
    connect(btnRefresh, &QPushButton::clicked, this, &TFrmSauvegarde::Actualiser);
    for (QPushButton *b : {btnBackup_, btnRestore_, btnRefresh})
        b->setAutoDefault(false);

    progress_ = new ProgressPanel(this);
    grid_ = new QTableWidget(0, 7, this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Taille (Ko)"), QStringLiteral("Notices"),
                                      QStringLiteral("Exemplaires"), QStringLiteral("Lecteurs"), QStringLiteral("Prêts"),
                                      QStringLiteral("Fichier")});
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_, &QTableWidget::itemSelectionChanged, this, &TFrmSauvegarde::updateButtons);

    auto *row = new QHBoxLayout;
    row->addWidget(caption);
    row->addWidget(directory_, 1);
    row->addWidget(btnDirectory);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnBackup_);
    buttons->addWidget(btnRestore_);
    buttons->addStretch(1);
    buttons->addWidget(btnRefresh);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    layout->addWidget(grid_, 1);
    Actualiser();
}

void TFrmSauvegarde::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

void TFrmSauvegarde::updateButtons()
{
    btnBackup_->setEnabled(!running_);
    btnRestore_->setEnabled(!running_ && !grid_->selectedItems().isEmpty());
}

void TFrmSauvegarde::Actualiser()
{
    grid_->setRowCount(0);
    const QVector<BackupFile> all = ListBackups(directory_->text().trimmed());
    grid_->setRowCount(int(all.size()));
    for (int i = 0; i < all.size(); ++i) {
        const BackupFile &b = all.at(i);
        grid_->setItem(i, 0, cell(QLocale().toString(b.taken.toLocalTime(), QStringLiteral("dd/MM/yyyy HH:mm:ss"))));
        grid_->setItem(i, 1, cell(QLocale().toString((b.size + 1023) / 1024), true));
        grid_->setItem(i, 2, cell(count(b.counts.records), true));
        grid_->setItem(i, 3, cell(count(b.counts.copies), true));
        grid_->setItem(i, 4, cell(count(b.counts.readers), true));
        grid_->setItem(i, 5, cell(count(b.counts.loans), true));
        grid_->setItem(i, 6, cell(QFileInfo(b.path).fileName()));
        grid_->item(i, 0)->setData(Qt::UserRole, b.path);
    }
    grid_->resizeColumnsToContents();
    updateButtons();
}

void TFrmSauvegarde::BtnDossierClick()
{
    const QString dir = QFileDialog::getExistingDirectory(
        this, tr2(QStringLiteral("Dossier des sauvegardes"), QStringLiteral("مجلد النسخ الاحتياطية")), directory_->text());
    if (dir.isEmpty())
        return;
    directory_->setText(dir);
    Actualiser();
}

void TFrmSauvegarde::BtnSauvegarderClick()
{
    if (running_)
        return;
    running_ = true;
    updateButtons();
    progress_->setBusy(true);
    BackupFile b;
    QString why;
    const bool done = BackupDatabase(db_, directory_->text().trimmed(), 0, &b, &why, progress_);
    progress_->setBusy(false);
    running_ = false;
    Actualiser();
    if (!done) {
        error(why);
        return;
    }
    inform(backup::written(b.path, b.size, b.counts.records, b.counts.copies, b.counts.readers, b.counts.loans));
}

void TFrmSauvegarde::BtnRestaurerClick()
{
    const QList<QTableWidgetItem *> selected = grid_->selectedItems();
    if (running_ || selected.isEmpty())
        return;
    const QString file = grid_->item(selected.first()->row(), 0)->data(Qt::UserRole).toString();
    if (!confirmIrreversible(backup::restoreQuestion(QFileInfo(file).fileName())))
        return;
    running_ = true;
    updateButtons();
    progress_->setBusy(true);
    progress_->step(0, 0, backup::copying());
    // A connection of its own: the workstation's stays as it is while the content changes under it.
    Database own;
    QString why;
    RestoreResult r;
    const bool done = own.open(db_.params(), false, &why) && RestoreDatabase(own, file, true, &r, &why);
    progress_->setBusy(false);
    running_ = false;
    Actualiser();
    if (!done) {
        error(why);
        return;
    }
    inform(backup::restored(r.restored.records, r.restored.copies, r.restored.readers, r.restored.loans,
                            r.replacedKeptIn));
}

} // namespace folian
