#pragma once
// "Génération du catalogue": the options of the printed catalogue (a
// classification index or its beginning, a document type, a language, the
// descriptive or the analytic form), its progress with the stop button, and
// the closing message. The generation itself is the core's.

#include "catalogue/generation/cataloguegeneration.h"
#include "data/widgets/formdialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace folian {

class ProgressPanel;
class TFrmData;

class TFrmNoticeCatalogue : public FormDialog
{
    Q_OBJECT
public:
    explicit TFrmNoticeCatalogue(TFrmData &data, QWidget *parent = nullptr);

    QLineEdit *classification() const { return cla_; }
    QComboBox *typeList() const { return typ_; }
    QComboBox *languageList() const { return lan_; }
    QRadioButton *analytic() const { return cat2_; }
    ProgressPanel *progress() const { return panel_; }
    QPushButton *generateButton() const { return btnGenerer_; }
    QPushButton *closeButton() const { return btnFermer_; }
    bool running() const { return running_; }
    const CatalogueResult &lastResult() const { return result_; }

    // The options as the fields give them.
    CatalogueOptions options() const;

public slots:
    // "Générer": the catalogue and its indexes; the screen closes when the
    // run ends, completed or stopped.
    void BtnGenererClick();
    // "...": the classification list.
    void BtnClaClick();
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setRunning(bool on);

    TFrmData &data_;
    QWidget *options_;
    QLineEdit *cla_;
    QComboBox *typ_, *lan_;
    QRadioButton *cat1_, *cat2_;
    ProgressPanel *panel_;
    QPushButton *btnGenerer_, *btnFermer_;
    CatalogueResult result_;
    bool running_ = false;
};

} // namespace folian
