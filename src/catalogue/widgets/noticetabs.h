#pragma once
// The pages of the record form, each bound to the record (QNotice) through
// the form's binder, with the lists of the record's satellites.

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTextBrowser;

namespace folian {

class FieldBinder;
class ReferenceBox;
class SatellitePanel;
class TFrmData;
class TFrmNoticeView;

// "Titres/Auteurs/Numéros": titles, authors, codes, numbers, collation.
class NoticeTitlesTab : public QWidget
{
public:
    NoticeTitlesTab(TFrmData &frmData, FieldBinder &binder, QWidget *parent = nullptr);
    QLineEdit *title() const { return title_; }
    QComboBox *documentType() const { return type_; }
    SatellitePanel *authors() const { return authors_; }
    // The document types offered: those the user may catalogue, and the
    // record's own.
    void offerTypes(const QStringList &types);

private:
    TFrmData &data_;
    QLineEdit *title_;
    QComboBox *type_;
    SatellitePanel *authors_;
};

// "Editeur/Collection/Indexation": publication, publishers, collections,
// indices, subjects, parent record.
class NoticePublisherTab : public QWidget
{
public:
    NoticePublisherTab(TFrmData &frmData, FieldBinder &binder, QWidget *parent = nullptr);
    SatellitePanel *indices() const { return indices_; }
    SatellitePanel *subjects() const { return subjects_; }
    QList<ReferenceBox *> references() const { return references_; }
    QPushButton *linkButton() const { return link_; }
    void setWritable(bool writable);

private:
    QWidget *publication(TFrmData &frmData, FieldBinder &binder);
    QWidget *parentRecord(TFrmData &frmData, FieldBinder &binder);

    SatellitePanel *indices_;
    SatellitePanel *subjects_;
    QList<ReferenceBox *> references_;
    QPushButton *link_;
};

// "Notes/Résumé/Informations".
class NoticeNotesTab : public QWidget
{
public:
    NoticeNotesTab(TFrmData &frmData, FieldBinder &binder, QWidget *parent = nullptr);
};

// "Ressources/Bulletins/Exemplaires": copies, issues, resources, the
// number of copies, the cataloguing source.
class NoticeHoldingsTab : public QWidget
{
public:
    NoticeHoldingsTab(TFrmData &frmData, FieldBinder &binder, QWidget *parent = nullptr);
    SatellitePanel *copies() const { return copies_; }
    SatellitePanel *issues() const { return issues_; }
    SatellitePanel *resources() const { return resources_; }
    QPushButton *countButton() const { return count_; }
    QPushButton *generateButton() const { return generate_; }
    QPushButton *openButton() const { return open_; }
    void setWritable(bool writable);

private:
    SatellitePanel *copies_;
    SatellitePanel *issues_;
    SatellitePanel *resources_;
    QPushButton *count_, *generate_, *open_;
};

// "Aperçu": the record as it is stored, in ISBD or UNIMARC, read again each
// time the page is shown.
class NoticePreviewTab : public QWidget
{
public:
    NoticePreviewTab(TFrmData &frmData, QWidget *parent = nullptr);
    TFrmNoticeView *view() const { return view_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    TFrmData &data_;
    TFrmNoticeView *view_;
};

// A titled box around a widget or a layout, named `name`.
QWidget *titledBox(const QString &name, const QString &title, QWidget *content, QWidget *parent);

} // namespace folian
