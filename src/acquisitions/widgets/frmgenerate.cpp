#include "acquisitions/widgets/frmgenerate.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/widgets/acqwidgets.h"
#include "base/messages.h"
#include "base/progress.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace folian {

namespace {

// The groups of numbers: the group box, its prefix, start and preview.
struct Group {
    const char *box, *title, *prefix, *start, *preview;
};
const Group kGroups[] = {{"GrpExemplaire", "Exemplaire", "edEXP", "edDebutEXP", "PreviewEXP"},
                         {"GrpCote", "Cote", "edCote", "edDebutCote", "PreviewCote"},
                         {"GrpAlternatif", "N° alternatif", "edAlternatif", "edDebutAlternatif", "PreviewAlternatif"}};

// The progress of the batch on the dialog's bar.
class BarProgress : public Progress
{
public:
    explicit BarProgress(QProgressBar *bar) : bar_(bar) {}
    void step(int done, int total, const QString &) override
    {
        bar_->setValue(total > 0 ? done * 100 / total : 0);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    QProgressBar *bar_;
};

} // namespace

TFrmGenerate::TFrmGenerate(TFrmData &frmData, QWidget *parent) : FormDialog(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmGenerate"));
    setWindowTitle(QStringLiteral("Génération des exemplaires"));
    setModal(true);
    count_ = new QSpinBox(this);
    count_->setObjectName(QStringLiteral("edNombre"));
    count_->setRange(1, 1000);
    count_->setValue(1);
    connect(count_, &QSpinBox::valueChanged, this, &TFrmGenerate::ShowGeneration);
    auto *top = new QFormLayout;
    top->addRow(namedLabel("LblNombre", QStringLiteral("Nombre d'exemplaire :"), this), count_);

    auto *groups = new QHBoxLayout;
    const auto *digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    for (const Group &g : kGroups) {
        auto *box = new QGroupBox(QString::fromUtf8(g.title), this);
        box->setObjectName(QLatin1String(g.box));
        auto *prefix = new QLineEdit(box);
        prefix->setObjectName(QLatin1String(g.prefix));
        auto *start = new QLineEdit(box);
        start->setObjectName(QLatin1String(g.start));
        start->setValidator(digits);
        auto *preview = new QListWidget(box);
        preview->setObjectName(QLatin1String(g.preview));
        preview->setProperty("localise", false);
        for (QLineEdit *e : {prefix, start})
            connect(e, &QLineEdit::textChanged, this, &TFrmGenerate::ShowGeneration);
        auto *form = new QFormLayout(box);
        form->addRow(namedLabel(QByteArray("LblPrefixe") + g.box, QStringLiteral("Préfixe :"), box), prefix);
        form->addRow(namedLabel(QByteArray("LblDebut") + g.box, QStringLiteral("A partir de :"), box), start);
        form->addRow(namedLabel(QByteArray("LblApercu") + g.box, QStringLiteral("Aperçu :"), box), preview);
        groups->addWidget(box);
    }

    auto *lists = new QFormLayout;
    for (const auto &[name, label, caption] : {std::tuple{"cbSupport", "LblSupport", "Type support :"},
                                               std::tuple{"cbLocalisation", "LblLocalisation", "Localisation :"},
                                               std::tuple{"cbStatut", "LblStatut", "Statut :"}}) {
        auto *c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        lists->addRow(namedLabel(label, QString::fromUtf8(caption), this), c);
    }
    fillCopyLists(data_.db(), list("cbLocalisation"), list("cbSupport"), list("cbStatut"));

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->hide();
    QHBoxLayout *bottom = sheetButtons(this, &post_);
    connect(post_, &QPushButton::clicked, this, &TFrmGenerate::Generate);
    bottom->insertWidget(0, progress_, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(groups, 1);
    layout->addLayout(lists);
    layout->addLayout(bottom);
    resize(760, 460);
    ShowGeneration();
}

void TFrmGenerate::Initialize(GenerationContext context, int mode, int record, int line, int delivery)
{
    context_ = context;
    mode_ = mode;
    record_ = record;
    line_ = line;
    delivery_ = delivery;
}

void TFrmGenerate::propose(int count) { count_->setValue(qBound(1, count, 1000)); }

QLineEdit *TFrmGenerate::field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }
QListWidget *TFrmGenerate::preview(const char *name) const { return findChild<QListWidget *>(QLatin1String(name)); }
QComboBox *TFrmGenerate::list(const char *name) const { return findChild<QComboBox *>(QLatin1String(name)); }

void TFrmGenerate::afterLocalise()
{
    setWindowTitle(acq::generatorCaption());
    fillCopyLists(data_.db(), list("cbLocalisation"), list("cbSupport"), list("cbStatut"));
}

void TFrmGenerate::ShowGeneration()
{
    for (const Group &g : kGroups) {
        QListWidget *p = preview(g.preview);
        p->clear();
        p->addItems(seriesPreview({field(g.prefix)->text(), field(g.start)->text()}, count_->value()));
    }
    post_->setEnabled(!field("edDebutEXP")->text().isEmpty());
}

GenerationRequest TFrmGenerate::request() const
{
    GenerationRequest r;
    r.context = context_;
    r.mode = mode_;
    r.record = record_;
    r.line = line_;
    r.delivery = delivery_;
    r.count = QString::number(count_->value());
    r.copy = {field("edEXP")->text(), field("edDebutEXP")->text()};
    r.shelfMark = {field("edCote")->text(), field("edDebutCote")->text()};
    r.altNumber = {field("edAlternatif")->text(), field("edDebutAlternatif")->text()};
    r.support = chosenKey(list("cbSupport"));
    r.location = chosenKey(list("cbLocalisation"));
    r.status = chosenKey(list("cbStatut"));
    return r;
}

void TFrmGenerate::Generate()
{
    if (!post_->isEnabled())
        return;
    post_->setEnabled(false);
    progress_->setValue(0);
    progress_->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BarProgress progress(progress_);
    result_ = generateCopies(data_.db(), request(), &progress);
    QApplication::restoreOverrideCursor();
    progress_->hide();
    post_->setEnabled(true);
    inform(result_.message);
    if (result_.passed)
        accept();
}

} // namespace folian
