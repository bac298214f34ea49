#include "catalogue/unimarc/widgets/frmnoticeimport.h"

#include "base/messages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/progresspanel.h"
#include "i18n/widgets/localise.h"
#include "reports/widgets/printreport.h"

#include <QApplication>
#include <QEvent>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace folian {

namespace {

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// While an import runs, the operator's input reaches only the progress panel
// (its stop button): the import holds the workstation's connection in a
// transaction, which nothing else may write into meanwhile.
class InputGuard : public QObject
{
public:
    explicit InputGuard(QWidget *allowed) : allowed_(allowed) { qApp->installEventFilter(this); }
    ~InputGuard() override { qApp->removeEventFilter(this); }
    InputGuard(const InputGuard &) = delete;
    InputGuard &operator=(const InputGuard &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::Close: {
            auto *w = qobject_cast<QWidget *>(watched);
            return w && !(w == allowed_ || allowed_->isAncestorOf(w));
        }
        default:
            return false;
        }
    }

private:
    QWidget *allowed_;
};

} // namespace

QWidget *createNoticeImportScreen(TFrmData &data) { return new TFrmNoticeImport(data); }

TFrmNoticeImport::TFrmNoticeImport(TFrmData &frmData, QWidget *parent)
    : TFrmNoticeImport(frmData, {"FrmNoticeImport", "Importation des notices", true}, parent)
{
}

TFrmNoticeImport::TFrmNoticeImport(TFrmData &frmData, const Setup &setup, QWidget *parent)
    : QWidget(parent), data_(frmData), duplicateControl_(setup.duplicateControl)
{
    setObjectName(QLatin1String(setup.formName));
    setWindowTitle(QString::fromUtf8(setup.caption));

    options_ = new QWidget(this);
    options_->setObjectName(QStringLiteral("PnlOption"));
    auto *lblFile = new QLabel(QStringLiteral("Fichier :"), options_);
    lblFile->setObjectName(QStringLiteral("LblFile"));
    edtFile_ = new QLineEdit(options_);
    edtFile_->setObjectName(QStringLiteral("EdtFile"));
    lblFile->setBuddy(edtFile_);
    btnSelectFile_ = button("BtnSelectFile", QStringLiteral("..."), options_);
    btnSelectFile_->setFixedWidth(32);
    ctrl_ = new QCheckBox(QStringLiteral("Contrôle des doubles"), options_);
    ctrl_->setObjectName(QStringLiteral("CTRL"));
    ctrl_->setChecked(true);
    ctrl_->setVisible(duplicateControl_);
    btnImport_ = button("BtnImport", QStringLiteral("Importer"), options_);
    btnImport_->setDefault(true);
    auto *fileLine = new QHBoxLayout;
    fileLine->addWidget(lblFile);
    fileLine->addWidget(edtFile_, 1);
    fileLine->addWidget(btnSelectFile_);
    auto *optionLine = new QHBoxLayout;
    optionLine->addWidget(ctrl_);
    optionLine->addStretch(1);
    optionLine->addWidget(btnImport_);
    optionLayout_ = new QVBoxLayout(options_);
    optionLayout_->setContentsMargins(0, 0, 0, 0);
    optionLayout_->addLayout(fileLine);
    optionLayout_->addLayout(optionLine);

    panel_ = new ProgressPanel(this);

    auto *lblLog = new QLabel(QStringLiteral("Rapport d'importation :"), this);
    lblLog->setObjectName(QStringLiteral("LblLog"));
    cbAll_ = new QCheckBox(QStringLiteral("Tout cocher"), this);
    cbAll_->setObjectName(QStringLiteral("CbAll"));
    log_ = new QListWidget(this);
    log_->setObjectName(QStringLiteral("LstLog"));
    log_->setUniformItemSizes(true);
    btnIntegrer_ = button("BtnIntegrer", QStringLiteral("Intégrer"), this);
    btnIntegrer_->setVisible(duplicateControl_);
    btnSave_ = button("BtnSave", QStringLiteral("Sauvegarder le rapport"), this);
    btnPrint_ = button("BtnPrint", QStringLiteral("&Imprimer le rapport"), this);
    auto *logHead = new QHBoxLayout;
    logHead->addWidget(lblLog);
    logHead->addStretch(1);
    logHead->addWidget(cbAll_);
    auto *logButtons = new QHBoxLayout;
    logButtons->addWidget(btnIntegrer_);
    logButtons->addStretch(1);
    logButtons->addWidget(btnSave_);
    logButtons->addWidget(btnPrint_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options_);
    layout->addWidget(panel_);
    layout->addLayout(logHead);
    layout->addWidget(log_, 1);
    layout->addLayout(logButtons);

    connect(btnSelectFile_, &QPushButton::clicked, this, &TFrmNoticeImport::BtnSelectFileClick);
    connect(btnImport_, &QPushButton::clicked, this, &TFrmNoticeImport::BtnImportClick);
    connect(btnIntegrer_, &QPushButton::clicked, this, &TFrmNoticeImport::BtnIntegrerClick);
    connect(btnSave_, &QPushButton::clicked, this, &TFrmNoticeImport::BtnSaveClick);
    connect(btnPrint_, &QPushButton::clicked, this, &TFrmNoticeImport::BtnPrintClick);
    connect(cbAll_, &QCheckBox::clicked, this, &TFrmNoticeImport::CbAllClick);
    connect(edtFile_, &QLineEdit::textChanged, this, [this] { updateButtons(); });
    updateButtons();
}

void TFrmNoticeImport::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

bool TFrmNoticeImport::Keyboard(QWidget *control, QKeyEvent *event)
{
    // Return in the options imports, as the default button would.
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && control && options_->isAncestorOf(control) && control != btnSelectFile_) {
        if (btnImport_->isEnabled())
            btnImport_->click();
        return true;
    }
    return returnMovesFocus(control, event);
}

void TFrmNoticeImport::keyPressEvent(QKeyEvent *event)
{
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

void TFrmNoticeImport::updateButtons()
{
    const bool idle = !running_;
    const bool hasLog = !lines_.isEmpty();
    options_->setEnabled(idle);
    btnImport_->setEnabled(idle && !edtFile_->text().trimmed().isEmpty());
    btnIntegrer_->setEnabled(idle && hasLog);
    btnSave_->setEnabled(idle && hasLog);
    btnPrint_->setEnabled(idle && hasLog);
    cbAll_->setVisible(duplicateControl_ && idle && hasLog);
}

void TFrmNoticeImport::setRunning(bool on)
{
    running_ = on;
    panel_->setBusy(on);
    updateButtons();
}

void TFrmNoticeImport::BtnSelectFileClick()
{
    const QString current = edtFile_->text().trimmed();
    const QString start = QFileInfo::exists(current) ? current : QString();
    const QString filter = tr2(QStringLiteral("Fichiers UNIMARC (*.ouv *.per *.the *.art *.fon *.txt);;Tous fichiers (*.*)"),
                               QStringLiteral("ملفات UNIMARC (*.ouv *.per *.the *.art *.fon *.txt);;جميع الملفات (*.*)"));
    const QString file = QFileDialog::getOpenFileName(
        this, tr2(QStringLiteral("Fichier d'importation"), QStringLiteral("ملف التحصيل")), start, filter);
    if (!file.isEmpty())
        edtFile_->setText(QDir::toNativeSeparators(file));
}

void TFrmNoticeImport::showLog()
{
    log_->clear();
    for (const unimarc::ImportLogLine &line : std::as_const(lines_)) {
        auto *item = new QListWidgetItem(line.text, log_);
        if (!duplicateControl_)
            continue;
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    cbAll_->setChecked(false);
    updateButtons();
}

bool TFrmNoticeImport::importOptions(const QString &path, unimarc::RecordOptions *options)
{
    if (!QFileInfo(path).isFile())
        return false;
    *options = {0, ctrl_->isChecked()};
    return true;
}

void TFrmNoticeImport::BtnImportClick()
{
    const QString path = edtFile_->text().trimmed();
    unimarc::RecordOptions options;
    if (running_ || path.isEmpty() || !importOptions(path, &options))
        return;
    lines_.clear();
    showLog();
    setRunning(true);
    {
        InputGuard guard(panel_);
        counts_ = unimarc::importFile(data_.db(), path, options, &lines_, panel_);
    }
    logFile_ = QFileInfo(path).absoluteFilePath();
    setRunning(false);
    showLog();
    LookupCount(data_.db(), QStringLiteral("NOTICE"), tr2(QStringLiteral("Catalogue"), QStringLiteral("الفهرس")),
                tr2(QStringLiteral("notice(s)"), QStringLiteral("بطاقة")));
    inform(unimarc::importSummary(counts_));
}

void TFrmNoticeImport::BtnIntegrerClick()
{
    if (running_ || !duplicateControl_ || lines_.isEmpty() || !QFileInfo(logFile_).isFile())
        return;
    QList<int> checked;
    for (int i = 0; i < log_->count(); ++i)
        if (log_->item(i)->checkState() == Qt::Checked)
            checked << i;
    if (checked.isEmpty())
        return;
    setRunning(true);
    unimarc::ImportCounts c;
    {
        InputGuard guard(panel_);
        c = unimarc::integrateDuplicates(data_.db(), logFile_, lines_, checked, panel_);
    }
    setRunning(false);
    showLog();
    LookupCount(data_.db(), QStringLiteral("NOTICE"), tr2(QStringLiteral("Catalogue"), QStringLiteral("الفهرس")),
                tr2(QStringLiteral("notice(s)"), QStringLiteral("بطاقة")));
    inform(unimarc::integrationSummary(c));
}

void TFrmNoticeImport::CbAllClick(bool checked)
{
    for (int i = 0; i < log_->count(); ++i)
        log_->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool TFrmNoticeImport::saveLog(const QString &path)
{
    if (unimarc::saveImportLog(path, lines_))
        return true;
    error(tr2(QStringLiteral("Le rapport n'a pas pu être enregistré dans %1."), QStringLiteral("تعذر حفظ التقرير في %1."))
              .arg(QDir::toNativeSeparators(path)));
    return false;
}

void TFrmNoticeImport::BtnSaveClick()
{
    const QString file = QFileDialog::getSaveFileName(
        this, tr2(QStringLiteral("Fichier rapport d'importation"), QStringLiteral("ملف تقرير التحصيل")),
        reportPath(QStringLiteral("Rapport_importation.txt")),
        tr2(QStringLiteral("Fichiers texte (*.txt)"), QStringLiteral("الملفات (*.txt)")));
    if (!file.isEmpty())
        saveLog(file);
}

void TFrmNoticeImport::BtnPrintClick()
{
    Report report;
    report.fileName = QStringLiteral("rapport_importation.html");
    report.french = QStringLiteral("Rapport d'importation");
    report.arabic = QStringLiteral("تقرير التحصيل");
    ReportColumn column;
    column.french = QStringLiteral("Notice");
    column.arabic = QStringLiteral("البطاقة");
    report.columns = {column};
    for (const unimarc::ImportLogLine &line : std::as_const(lines_))
        report.rows << QVariantList{line.text};
    PrintReport(data_.db(), report, this, panel_, btnPrint_);
}

} // namespace folian
