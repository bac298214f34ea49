#pragma once
// The import of UNIMARC records ("Importation des notices"): a file, the
// duplicate check, the progress with its stop button, and the log of the
// duplicates and failures, from which duplicates can be integrated after
// all, and which can be saved as text or printed. The union-catalogue import
// is the same screen for another library's records (TFrmCatalogue).

#include "catalogue/unimarc/importfile.h"
#include "data/widgets/screen.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace folian {

class ProgressPanel;
class TFrmData;

class TFrmNoticeImport : public QWidget, public KeyboardTarget
{
    Q_OBJECT
public:
    explicit TFrmNoticeImport(TFrmData &data, QWidget *parent = nullptr);

    bool Keyboard(QWidget *control, QKeyEvent *event) override;

    QLineEdit *fileField() const { return edtFile_; }
    QPushButton *importButton() const { return btnImport_; }
    QCheckBox *duplicateCheck() const { return ctrl_; }
    QListWidget *logList() const { return log_; }
    ProgressPanel *progress() const { return panel_; }
    const QList<unimarc::ImportLogLine> &logLines() const { return lines_; }
    const unimarc::ImportCounts &lastCounts() const { return counts_; }
    bool running() const { return running_; }

    // Saves the log as text into `path`; false (and says why) when it cannot.
    bool saveLog(const QString &path);

public slots:
    void BtnSelectFileClick();
    // "Importer": imports the whole file (nothing happens when it does not exist).
    void BtnImportClick();
    // "Intégrer": imports the checked duplicates after all.
    void BtnIntegrerClick();
    void BtnSaveClick();
    void BtnPrintClick();
    void CbAllClick(bool checked);

protected:
    // How a screen built on this one differs: its name and caption, and
    // whether the operator chooses the duplicate check and integrates the
    // duplicates (our own library) or not (another library's records, which
    // are always checked and attached to the record they duplicate).
    struct Setup {
        const char *formName;
        const char *caption;
        bool duplicateControl;
    };
    TFrmNoticeImport(TFrmData &data, const Setup &setup, QWidget *parent);

    // The layout of the options, where a screen adds rows of its own above the file.
    QVBoxLayout *optionLayout() const { return optionLayout_; }
    // The options of an import of `path`; false when nothing may happen
    // (the screen has said why). Ours: the file must exist.
    virtual bool importOptions(const QString &path, unimarc::RecordOptions *options);

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    TFrmData &data_;

private:
    void setRunning(bool on);
    void showLog();
    void updateButtons();

    const bool duplicateControl_;
    QVBoxLayout *optionLayout_;
    QLineEdit *edtFile_;
    QPushButton *btnSelectFile_;
    QCheckBox *ctrl_;
    QPushButton *btnImport_;
    QCheckBox *cbAll_;
    QListWidget *log_;
    QPushButton *btnIntegrer_;
    QPushButton *btnSave_;
    QPushButton *btnPrint_;
    ProgressPanel *panel_;
    QWidget *options_;
    QList<unimarc::ImportLogLine> lines_;
    unimarc::ImportCounts counts_;
    QString logFile_;  // the file the log's offsets refer to
    bool running_ = false;
};

// The screen as the cataloguing module hosts it ("Importation").
QWidget *createNoticeImportScreen(TFrmData &data);

} // namespace folian
