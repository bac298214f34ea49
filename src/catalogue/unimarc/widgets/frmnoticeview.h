#pragma once
// A record shown in ISBD (the card with its subjects and abstract) or in
// tagged UNIMARC, chosen with two buttons. The view takes a record number
// (DOC_ID), so that any screen can embed it: the preview window, the
// record form's preview tab.

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace folian {

class TFrmData;

class TFrmNoticeView : public QWidget
{
    Q_OBJECT
public:
    enum class Display { Isbd, Unimarc };

    explicit TFrmNoticeView(TFrmData &data, QWidget *parent = nullptr);

    // Shows the record in the current display; false when it cannot be read.
    bool showRecord(int docId);
    int docId() const { return docId_; }
    Display display() const { return display_; }

    // The page last written ("notice.html" in the user's directory of pages).
    QString pagePath() const { return page_; }
    // The fragment shown.
    QString fragment() const { return fragment_; }
    QTextBrowser *browser() const { return browser_; }

public slots:
    void BtnIsbdClick();
    void BtnUnimarcClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool refresh();

    TFrmData &data_;
    int docId_ = 0;
    Display display_ = Display::Isbd;
    QString page_, fragment_;
    QPushButton *btnIsbd_;
    QPushButton *btnUnimarc_;
    QTextBrowser *browser_;
};

} // namespace folian
