#include "admin/widgets/frmcatalogue.h"

#include "base/messages.h"
#include "data/core/dataset.h"
#include "data/core/shareddata.h"
#include "data/widgets/uihelpers.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace folian {

TFrmCatalogue::TFrmCatalogue(TFrmData &frmData, QWidget *parent)
    : TFrmNoticeImport(frmData, {"FrmCatalogue", "Catalogue Collectif", false}, parent)
{
    auto *heading = namedLabel("LblTitre", "Constitution du catalogue collectif :", this);
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    library_ = new QComboBox(this);
    library_->setObjectName(QStringLiteral("CbxBibliotheque"));
    library_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    library_->setMinimumContentsLength(30);
    auto *line = new QHBoxLayout;
    line->addWidget(namedLabel("LblBibliotheque", "Bibliothèque :", this));
    line->addWidget(library_, 1);
    optionLayout()->insertWidget(0, heading);
    optionLayout()->insertLayout(1, line);
    fillLibraries();
}

void TFrmCatalogue::fillLibraries()
{
    // The partner libraries by name; two of one name are told apart by their
    // supervising body.
    Dataset *q = data_.QBibliotheque;
    q->open(QStringLiteral("SELECT * FROM BIBLIOTHEQUE WHERE BIB_ID > 0 ORDER BY BIB_NOM, BIB_TUTELLE"));  // a failure leaves the list empty
    library_->clear();
    if (!q->isOpen())
        return;
    q->fetchAll();
    for (int r = 0; r < q->rowCount(); ++r) {
        const QString name = q->valueAt(r, QStringLiteral("BIB_NOM")).toString().trimmed();
        const QString body = q->valueAt(r, QStringLiteral("BIB_TUTELLE")).toString().trimmed();
        library_->addItem(body.isEmpty() ? name : name + QStringLiteral(" (") + body + u')',
                          q->valueAt(r, QStringLiteral("BIB_ID")));
    }
    library_->setCurrentIndex(-1);
}

void TFrmCatalogue::showEvent(QShowEvent *event)
{
    TFrmNoticeImport::showEvent(event);  // localised there
    library_->setPlaceholderText(tr2(QStringLiteral("Choisissez une bibliothèque"), QStringLiteral("اختر مكتبة")));
    // The library and the file, one under the other, from the same margin.
    QLabel *libraryCaption = findChild<QLabel *>(QStringLiteral("LblBibliotheque"));
    QLabel *fileCaption = findChild<QLabel *>(QStringLiteral("LblFile"));
    if (libraryCaption && fileCaption) {
        const int width = qMax(libraryCaption->sizeHint().width(), fileCaption->sizeHint().width());
        libraryCaption->setMinimumWidth(width);
        fileCaption->setMinimumWidth(width);
    }
}

bool TFrmCatalogue::chooseLibrary(int libraryId)
{
    const int at = library_->findData(libraryId);
    library_->setCurrentIndex(at);
    return at >= 0;
}

bool TFrmCatalogue::importOptions(const QString &path, unimarc::RecordOptions *options)
{
    bool ok = false;
    const int library = library_->currentData().toInt(&ok);
    if (library_->currentIndex() < 0 || !ok || library <= 0) {
        warn(tr2(QStringLiteral("Choisissez la bibliothèque dont les notices sont importées."),
                 QStringLiteral("اختر المكتبة التي تحصل بطاقاتها.")));
        library_->setFocus();
        return false;
    }
    if (!QFileInfo(path).isFile()) {
        warn(tr2(QStringLiteral("Le fichier %1 n'existe pas."), QStringLiteral("الملف %1 غير موجود."))
                 .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    *options = {library, true};
    return true;
}

} // namespace folian
