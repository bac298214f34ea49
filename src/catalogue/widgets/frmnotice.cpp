#include "catalogue/widgets/frmnotice.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/satellites.h"
#include "catalogue/widgets/frmbulletinsearch.h"
#include "catalogue/widgets/noticefields.h"
#include "catalogue/widgets/noticeholdings.h"
#include "catalogue/widgets/noticesatellites.h"
#include "catalogue/widgets/noticetabs.h"
#include "catalogue/widgets/satellitepanel.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"
#include "i18n/widgets/localise.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace folian {

namespace {
constexpr int kNoRecord = -2147483647;

// A page that scrolls on a small screen rather than making the window grow;
// the scroll area is the tab and carries the page's name.
QWidget *scrolled(QWidget *page)
{
    auto *area = new QScrollArea;
    area->setObjectName(page->objectName());
    page->setObjectName(QStringLiteral("Pg") + page->objectName().mid(3));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

QString stamp(const QVariant &user, const QVariant &date)
{
    const QDateTime dt = date.toDateTime();
    return user.toString() + QStringLiteral("  ") + (dt.isValid() ? QLocale().toString(dt, QLocale::ShortFormat) : QString());
}
} // namespace

TFrmNotice::TFrmNotice(TFrmData &frmData, QWidget *parent) : QWidget(parent), data_(frmData)
{
    setObjectName(QStringLiteral("FrmNotice"));
    setWindowTitle(QStringLiteral("Notice bibliographique"));
    rights_ = CataloguerRights::of(frmData.db(), session());
    Dataset *n = frmData.QNotice;
    binder_ = new FieldBinder(n, this);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PgcNotice"));
    titles_ = new NoticeTitlesTab(frmData, *binder_, tabs_);
    publisher_ = new NoticePublisherTab(frmData, *binder_, tabs_);
    auto *notes = new NoticeNotesTab(frmData, *binder_, tabs_);
    holdingsTab_ = new NoticeHoldingsTab(frmData, *binder_, tabs_);
    preview_ = new NoticePreviewTab(data_, tabs_);
    tabs_->addTab(scrolled(titles_), QStringLiteral("Titres/Auteurs/Numéros"));
    tabs_->addTab(scrolled(publisher_), QStringLiteral("Editeur/Collection/Indexation"));
    tabs_->addTab(scrolled(notes), QStringLiteral("Notes/Résumé/Informations"));
    tabs_->addTab(scrolled(holdingsTab_), QStringLiteral("Ressources/Bulletins/Exemplaires"));
    tabs_->addTab(preview_, QStringLiteral("Aperçu"));

    auto save = [this] { return saveRecord(); };
    satellites_ = new NoticeSatellites(frmData, this, save, this);
    holdings_ = new NoticeHoldings(frmData, this, save, this);
    auto wire = [](SatellitePanel *p, QObject *to, auto add, auto edit, auto remove) {
        connect(p, &SatellitePanel::appendRequested, to, add);
        connect(p, &SatellitePanel::editRequested, to, edit);
        connect(p, &SatellitePanel::deleteRequested, to, remove);
    };
    NoticeSatellites *s = satellites_;
    NoticeHoldings *h = holdings_;
    wire(titles_->authors(), s, [s] { s->AddAuthor(); }, [s] { s->EditAuthor(); }, [s] { s->DeleteAuthor(); });
    wire(publisher_->subjects(), s, [s] { s->AddSubject(); }, [s] { s->EditSubject(); }, [s] { s->DeleteSubject(); });
    wire(publisher_->indices(), s, [s] { s->AddIndex(); }, [s] { s->EditIndex(); }, [s] { s->DeleteIndex(); });
    wire(holdingsTab_->copies(), h, [h] { h->AddCopy(); }, [h] { h->EditCopy(); }, [h] { h->DeleteCopy(); });
    wire(holdingsTab_->issues(), h, [h] { h->AddIssue(); }, [h] { h->EditIssue(); }, [h] { h->DeleteIssue(); });
    wire(holdingsTab_->resources(), h, [h] { h->AddResource(); }, [h] { h->EditResource(); },
         [h] { h->DeleteResource(); });
    connect(holdingsTab_->countButton(), &QPushButton::clicked, h, [h] { h->CountCopies(); });
    connect(holdingsTab_->generateButton(), &QPushButton::clicked, h, [h] { h->GenerateCopies(); });
    connect(holdingsTab_->openButton(), &QPushButton::clicked, h, [h] { h->OpenResource(); });
    holdings_->setOpenButton(holdingsTab_->openButton());
    connect(publisher_->linkButton(), &QPushButton::clicked, this, [this] { linkParent(); });

    const SheetButtons buttons = sheetButtons(this);
    btnPost_ = buttons.post;
    btnCancel_ = buttons.cancel;
    connect(btnPost_, &QPushButton::clicked, this, &TFrmNotice::BtnPostClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TFrmNotice::BtnCancelClick);

    auto *bottom = buttons.row;
    bottom->insertWidget(0, buildStamps(), 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);

    for (auto signal : {&Dataset::stateChanged, &Dataset::reset})
        connect(n, signal, this, [this] {
            updateButtons();
            updateStamps();
            followRecord();
        });
    connect(n, &Dataset::currentChanged, this, [this] {
        updateStamps();
        followRecord();
    });
    connect(n, &Dataset::rowChanged, this, [this] { updateStamps(); });
    connect(titles_->title(), &QLineEdit::textChanged, this, [this] { updateButtons(); });
    // The editors give lines ending with LF: the record keeps CR LF.
    n->beforePost.add([](Dataset &d) {
        for (const char *c : {"DOC_NOTE", "DOC_RESUME"}) {
            const QVariant v = d.value(QLatin1String(c));
            if (!v.isNull() && !d.setValue(QLatin1String(c), withRecordLineBreaks(v.toString())))
                return false;
        }
        return true;
    }, this);
    applyRights();
    updateButtons();
}

TFrmNotice::~TFrmNotice()
{
    // The shared record query outlives the form: no half-done work of this
    // form stays in it (a form freed before it started leaves it alone).
    if (started_ && data_.QNotice->isEditing())
        data_.QNotice->cancel();
}

QWidget *TFrmNotice::buildStamps()
{
    auto *w = new QWidget(this);
    w->setObjectName(QStringLiteral("PnlStamps"));
    auto *l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    auto caption = [w, l](const char *name, const QString &text) {
        auto *c = new QLabel(text, w);
        c->setObjectName(QLatin1String(name));
        l->addWidget(c);
    };
    auto value = [w, l](const char *name) {
        auto *v = new QLabel(w);
        v->setObjectName(QLatin1String(name));
        v->setProperty("localise", false);
        v->setStyleSheet(QStringLiteral("color: #1a3d7c"));
        l->addWidget(v);
        l->addSpacing(16);
        return v;
    };
    caption("LblCreation", QStringLiteral("Création :"));
    created_ = value("ValCreation");
    caption("LblMiseAJour", QStringLiteral("Mise à jour :"));
    updated_ = value("ValMiseAJour");
    l->addStretch(1);
    return w;
}

void TFrmNotice::Append()
{
    Dataset *n = data_.QNotice;
    if (!n->isOpen())
        n->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = ?"), {kNoRecord});
    if (n->isEditing())
        n->cancel();
    newRecord_ = true;
    started_ = true;
    writable_ = rights_.mayCreate();
    titles_->offerTypes(rights_.types);
    if (writable_ && n->append()) {
        // A new record starts with a type the user may catalogue.
        if (!rights_.mayEdit(n->value(QStringLiteral("TYP_ID"))) && !rights_.types.isEmpty())
            n->setValue(QStringLiteral("TYP_ID"), rights_.types.first());
        titles_->offerTypes(rights_.types);
    }
    applyRights();
    binder_->refresh();
    tabs_->setCurrentIndex(0);
    titles_->documentType()->setFocus();
    updateButtons();
}

void TFrmNotice::Edit()
{
    Dataset *n = data_.QNotice;
    if (!n->isOpen() || n->currentRow() < 0)
        return;
    if (n->state() == Dataset::State::Insert)
        n->cancel();
    newRecord_ = false;
    started_ = true;
    writable_ = rights_.mayEdit(n->value(QStringLiteral("TYP_ID")));
    titles_->offerTypes(rights_.types);
    if (writable_)
        n->edit();
    applyRights();
    binder_->refresh();
    tabs_->setCurrentIndex(0);
    titles_->title()->setFocus();
    updateButtons();
}

void TFrmNotice::applyRights()
{
    binder_->setReadOnly(!writable_);
    titles_->authors()->setWritable(writable_);
    publisher_->setWritable(writable_);
    holdingsTab_->setWritable(writable_);
}

bool TFrmNotice::saveRecord()
{
    Dataset *n = data_.QNotice;
    if (!n->isEditing())
        return n->isOpen() && n->currentRow() >= 0 && !IsBlank(n->value(QStringLiteral("DOC_ID")));
    if (!binder_->submit())
        return false;
    if (!hasTitle(*n)) {
        error(titleRequiredMessage());
        tabs_->setCurrentIndex(0);
        titles_->title()->setFocus();
        return false;
    }
    return n->post();  // a failure is told by the data module; the work stays
}

bool TFrmNotice::leave()
{
    Dataset *n = data_.QNotice;
    if (n->isEditing()) {
        binder_->submit();
        if (!hasTitle(*n) && titles_->title()->text().trimmed().isEmpty()) {
            n->cancel();
        } else if (!confirm(tr2(QStringLiteral("Sauvegardez les modifications ?"), QStringLiteral(" حفظ التعديلات ؟")))) {
            n->cancel();
        } else if (!saveRecord()) {
            return false;
        }
    }
    started_ = false;  // the shared record is no longer this form's
    return true;
}

void TFrmNotice::BtnPostClick()
{
    if (!data_.QNotice->isEditing() || !btnPost_->isEnabled())
        return;
    if (saveRecord()) {
        started_ = false;
        emit finished();
    }
}

void TFrmNotice::BtnCancelClick()
{
    if (data_.QNotice->isEditing())
        data_.QNotice->cancel();
    started_ = false;
    emit finished();
}

void TFrmNotice::updateButtons()
{
    const bool editing = data_.QNotice->isEditing();
    btnPost_->setEnabled(editing && writable_ && !titles_->title()->text().trimmed().isEmpty());
    btnCancel_->setEnabled(editing);
}

void TFrmNotice::updateStamps()
{
    Dataset *n = data_.QNotice;
    const bool row = n->isOpen() && n->currentRow() >= 0;
    created_->setText(row ? stamp(n->value(QStringLiteral("CREATE_USER")), n->value(QStringLiteral("CREATE_DATE"))) : QString());
    updated_->setText(row ? stamp(n->value(QStringLiteral("UPDATE_USER")), n->value(QStringLiteral("UPDATE_DATE"))) : QString());
}

void TFrmNotice::followRecord()
{
    Dataset *n = data_.QNotice;
    const QVariant docId = n->isOpen() && n->currentRow() >= 0 ? n->value(QStringLiteral("DOC_ID")) : QVariant();
    if (followed_ && sameValue(docId, shownDocId_))
        return;
    followed_ = true;
    shownDocId_ = docId;
    openSatellites(data_, docId);
}

void TFrmNotice::linkParent()
{
    if (!writable_)
        return;
    binder_->submit();
    TFrmBulletinSearch search(data_, this);
    search.exec();
    binder_->refresh();
    updateButtons();
}

bool TFrmNotice::Keyboard(QWidget *control, QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier))
        return true;  // swallowed everywhere
    return returnMovesFocus(control, event);
}

void TFrmNotice::keyPressEvent(QKeyEvent *event)
{
    // Shown on its own (outside a module frame) the form routes its keys itself.
    if (!Keyboard(focusWidget(), event))
        QWidget::keyPressEvent(event);
}

void TFrmNotice::showEvent(QShowEvent *event)
{
    LocaliseForm(this);
    QWidget::showEvent(event);
}

} // namespace folian
