#pragma once
// The preview of a page: its title, and the buttons that print it or hand
// it to the word processor or the spreadsheet. Free-standing over a list
// screen, or hosted in the editions module's desktop.

#include "reports/core/office.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTextBrowser;

namespace folian {

class TFrmHTMLPreview : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmHTMLPreview(QWidget *parent = nullptr);

    // Shows the page under " " + title and remembers it for the buttons;
    // false when the file cannot be read.
    bool PreviewFile(const QString &title, const QString &file);
    QString file() const { return file_; }
    QTextBrowser *browser() const { return browser_; }

    // A free-standing preview of the page, freed when closed.
    static TFrmHTMLPreview *showFile(const QString &title, const QString &file, QWidget *parent = nullptr);

public slots:
    void BtnPrintClick();
    void BtnWordClick();
    void BtnExcelClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void openIn(OfficeProgram program);

    QString file_;
    QLabel *title_;
    QPushButton *btnPrint_;
    QPushButton *btnWord_;
    QPushButton *btnExcel_;
    QTextBrowser *browser_;
};

} // namespace folian
