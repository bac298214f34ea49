#pragma once
// "Catalogue Collectif": the union-catalogue import. A partner library's
// UNIMARC file is loaded into the shared catalogue through the record
// import, each record and copy tagged with that library; a record the
// catalogue already holds is not created again, the partner's copies and
// issues are attached to it.

#include "catalogue/unimarc/widgets/frmnoticeimport.h"

class QComboBox;

namespace folian {

class TFrmCatalogue : public TFrmNoticeImport
{
    Q_OBJECT
public:
    explicit TFrmCatalogue(TFrmData &data, QWidget *parent = nullptr);

    QComboBox *libraryList() const { return library_; }
    // Puts the list on the library of this BIB_ID; false when it is not listed.
    bool chooseLibrary(int libraryId);

protected:
    bool importOptions(const QString &path, unimarc::RecordOptions *options) override;
    void showEvent(QShowEvent *event) override;

private:
    void fillLibraries();

    QComboBox *library_;
};

} // namespace folian
