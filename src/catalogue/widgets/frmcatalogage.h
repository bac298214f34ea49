#pragma once
// The cataloguing module: record search, records, import, code tables.

#include "data/widgets/frmmodule.h"

#include <QPointer>

namespace folian {

class TFrmNotice;
class TFrmNoticeSearch;
enum class NoticeAdminPage;

class TFrmCatalogage : public TFrmModule
{
    Q_OBJECT
public:
    TFrmCatalogage(TFrmData &data, QWidget *parent = nullptr);

    // "Recherche": the record search.
    void Recherche();
    // "Nouvelle notice": the record form on a new record.
    void NouvelleNotice();
    // The record form on the current row of QNotice. From the record search,
    // the search is kept meanwhile and shown again, with its result, when
    // the form ends.
    void ModifierNotice();
    // "Importation": the UNIMARC import.
    void Importation();
    // Copy cataloguing: records found in other catalogues, imported.
    void CopieNotices();
    // A code table ("Langues", "Pays", ...) in the reference-list screen.
    void ReferenceList(NoticeAdminPage page);
    // The record form the desktop shows, or null.
    TFrmNotice *recordForm() const;
    // The record search the desktop shows, or null.
    TFrmNoticeSearch *recordSearch() const;

protected:
    // Leaving the record form with unsaved work asks first; the form stays
    // when its work could not be saved.
    bool screenClosing(QWidget *screen) override;

private:
    TFrmNotice *openRecordForm();
    // Clears the desktop for another screen, with the search kept during an
    // edit; false when the screen shown keeps unsaved work.
    bool leaveScreen();
    void editEnded();

    QPointer<TFrmNoticeSearch> keptSearch_;
};

} // namespace folian
