#pragma once
// The preview window of a record ("Aperçu notice"): the record view in a
// dialog, opened on the ISBD display.

#include <QDialog>

namespace folian {

class TFrmData;
class TFrmNoticeView;

class TFrmNoticePreview : public QDialog
{
    Q_OBJECT
public:
    TFrmNoticePreview(TFrmData &data, QWidget *parent = nullptr);

    TFrmNoticeView *view() const { return view_; }
    bool showRecord(int docId);

    // Opens the window on the record; it is freed when closed.
    static TFrmNoticePreview *preview(TFrmData &data, int docId, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    TFrmNoticeView *view_;
};

} // namespace folian
