#pragma once
// The authorities module: headings, publishers, collections, sub-collections,
// classification indices.

#include "data/widgets/frmmodule.h"

namespace folian {

class TFrmAutorite : public TFrmModule
{
    Q_OBJECT
public:
    TFrmAutorite(TFrmData &data, QWidget *parent = nullptr);

    void Vedettes();
    void Editeurs();
    void Collections();
    void SousCollections();
    void Classifications();

private:
    // Hosts a list under "Autorités - <title>" and shows its table's count in the status bar.
    void open(QWidget *list, const QString &table, const QString &frTitle, const QString &arTitle);
};

} // namespace folian
