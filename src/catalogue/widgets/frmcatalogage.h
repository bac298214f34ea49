#pragma once
// The cataloguing module: record search, records, import, code tables.

#include "data/widgets/frmmodule.h"

namespace folian {

class TFrmNotice;
enum class NoticeAdminPage;

class TFrmCatalogage : public TFrmModule
{
    Q_OBJECT
public:
    TFrmCatalogage(TFrmData &data, QWidget *parent = nullptr);

    // "Nouvelle notice": the record form on a new record.
    void NouvelleNotice();
    // The record form on the current row of QNotice (from the record search).
    void ModifierNotice();
    // "Importation": the UNIMARC import.
    void Importation();
    // A code table ("Langues", "Pays", ...) in the reference-list screen.
    void ReferenceList(NoticeAdminPage page);
    // The record form the desktop shows, or null.
    TFrmNotice *recordForm() const;

protected:
    // Leaving the record form with unsaved work asks first; the form stays
    // when its work could not be saved.
    bool screenClosing(QWidget *screen) override;

private:
    TFrmNotice *openRecordForm();
};

} // namespace folian
