#pragma once
// The record form: one bibliographic record (the current row of QNotice)
// with its pages of fields and the lists of its satellites, created new or
// edited, within the rights of the user.

#include "catalogue/core/records.h"
#include "data/widgets/screen.h"

#include <QVariant>
#include <QWidget>

class QLabel;
class QPushButton;
class QTabWidget;

namespace folian {

class FieldBinder;
class NoticeHoldings;
class NoticeHoldingsTab;
class NoticePreviewTab;
class NoticePublisherTab;
class NoticeSatellites;
class NoticeTitlesTab;
class TFrmData;

class TFrmNotice : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmNotice(TFrmData &frmData, QWidget *parent = nullptr);
    ~TFrmNotice() override;

    // A new record: QNotice gets a new row with its defaults, the form
    // shows its first page with the focus on the document type.
    void Append();
    // The current row of QNotice, put in edit when the user may edit it;
    // the focus goes to the title proper.
    void Edit();

    // Saves the record when it is being inserted or edited (the text being
    // typed included). False when it could not be saved: the message has
    // been shown, the work stays.
    bool saveRecord();
    // Leaving the form with unsaved work: asks "Sauvegardez les
    // modifications ?"; Yes saves, No cancels. False when the work could
    // not be saved: the form stays open with it.
    bool leave();
    // Whether the user may change this record.
    bool isWritable() const { return writable_; }

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    QTabWidget *tabs() const { return tabs_; }
    FieldBinder *binder() const { return binder_; }
    NoticeSatellites *satellites() const { return satellites_; }
    NoticeHoldings *holdings() const { return holdings_; }

public slots:
    void BtnPostClick();
    void BtnCancelClick();

signals:
    // "Enregistrer" or "Annuler" ended the work: the form may close.
    void finished();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildStamps();
    void startOn(bool newRecord);
    void applyRights();
    void updateButtons();
    void updateStamps();
    // Reopens the satellite sets when the record's DOC_ID is not the one they show.
    void followRecord();
    void linkParent();

    TFrmData &data_;
    FieldBinder *binder_;
    QTabWidget *tabs_;
    NoticeTitlesTab *titles_;
    NoticePublisherTab *publisher_;
    NoticeHoldingsTab *holdingsTab_;
    NoticePreviewTab *preview_;
    NoticeSatellites *satellites_;
    NoticeHoldings *holdings_;
    QPushButton *btnPost_, *btnCancel_;
    QLabel *created_, *updated_;
    CataloguerRights rights_;
    bool writable_ = false;
    bool newRecord_ = false;
    bool started_ = false;
    QVariant shownDocId_;
    bool followed_ = false;
};

} // namespace folian
