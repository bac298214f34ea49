#include "catalogue/widgets/authoritypickers.h"

#include "catalogue/widgets/frmreferencelists.h"
#include "catalogue/widgets/frmvedette.h"
#include "catalogue/widgets/pickers.h"

#include <memory>

namespace folian {

namespace {

// The title of the list as each caller shows it.
struct Title {
    const char16_t *french;
    const char16_t *arabic;
};

Title headingTitle(int mode)
{
    if (mode == 2 || mode == 4)
        return {u"Sélection vedette matière", u"إختيار رأس موضوع"};
    return {u"Sélection auteur", u"إختيار المؤلف"};
}

Picked choose(TFrmAuthorityList *list, Title title)
{
    const std::unique_ptr<TFrmAuthorityList> owned(list);
    list->setModal(true);
    list->setTitle(QString::fromUtf16(title.french), QString::fromUtf16(title.arabic));
    return list->exec() == QDialog::Accepted ? list->chosen() : Picked();
}

} // namespace

void installAuthorityPickers()
{
    setPicker(PickList::Heading, [](QWidget *parent, TFrmData &data, const PickRequest &r) {
        return choose(new TFrmVedette(data, r.mode, r.text, parent), headingTitle(r.mode));
    });
    setPicker(PickList::Publisher, [](QWidget *parent, TFrmData &data, const PickRequest &r) {
        return choose(new TFrmEditeur(data, r.mode, r.text, parent), {u"Sélection editeur", u"إختيار ناشر"});
    });
    setPicker(PickList::Collection, [](QWidget *parent, TFrmData &data, const PickRequest &r) {
        return choose(new TFrmCollection(data, r.mode, r.text, parent), {u"Sélection collection", u"إختيار السلسلة"});
    });
    setPicker(PickList::SubCollection, [](QWidget *parent, TFrmData &data, const PickRequest &r) {
        return choose(new TFrmSousCollection(data, r.mode, r.text, r.parent, parent),
                      {u"Sélection sous collection", u"إختيار السلسلة الفرعية"});
    });
    setPicker(PickList::Classification, [](QWidget *parent, TFrmData &data, const PickRequest &r) {
        return choose(new TFrmClassification(data, r.mode, r.text, parent),
                      {u"Sélection classification", u"إختيار التصنيف"});
    });
}

} // namespace folian
