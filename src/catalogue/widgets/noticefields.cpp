#include "catalogue/widgets/noticefields.h"

#include "base/session.h"
#include "data/core/dataset.h"
#include "data/widgets/fieldbinder.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace folian {

namespace {
QString fieldCaption(const QString &caption)
{
    QString c = caption.trimmed();
    if (c.endsWith(u':'))
        c.chop(1);
    return c.trimmed();
}
} // namespace

QFormLayout *fieldForm(QWidget *w)
{
    auto *f = new QFormLayout(w);
    f->setContentsMargins(0, 0, 0, 0);
    f->setVerticalSpacing(3);
    f->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return f;
}

QLabel *addFieldRow(QFormLayout *form, const QString &column, const QString &caption, QWidget *field)
{
    auto *label = new QLabel(caption, form->parentWidget());
    label->setObjectName(QStringLiteral("Lbl") + column);
    label->setBuddy(field);
    field->setObjectName(column);
    form->addRow(label, field);
    return label;
}

QLineEdit *addLine(QFormLayout *form, FieldBinder &binder, const QString &column, const QString &caption)
{
    auto *edit = new QLineEdit(form->parentWidget());
    addFieldRow(form, column, caption, edit);
    binder.bind(edit, column);
    binder.setCaption(column, fieldCaption(caption));
    acceptAnyLength(edit);
    return edit;
}

void acceptAnyLength(QLineEdit *edit) { edit->setMaxLength(32767); }

QPlainTextEdit *addText(QFormLayout *form, FieldBinder &binder, const QString &column, const QString &caption)
{
    auto *edit = new QPlainTextEdit(form->parentWidget());
    edit->setTabChangesFocus(true);
    addFieldRow(form, column, caption, edit);
    binder.bind(edit, column);
    binder.setCaption(column, fieldCaption(caption));
    return edit;
}

SheetButtons sheetButtons(QWidget *sheet, const QString &postName, const QString &postCaption)
{
    SheetButtons b{namedButton(postName, postCaption, sheet),
                   namedButton(QStringLiteral("BtnCancel"), QStringLiteral("Annuler"), sheet), new QHBoxLayout};
    b.row->addStretch(1);
    b.row->addWidget(b.post);
    b.row->addWidget(b.cancel);
    return b;
}

void openLookup(Dataset *lookup)
{
    const QString sql = QStringLiteral("SELECT * FROM ") + lookup->table();
    if (!lookup->isOpen() || lookup->sql() != sql || lookup->state() != Dataset::State::Browse)
        lookup->open(sql);  // a failure leaves the list empty
}

void fillLookupList(QComboBox *list, Dataset *lookup, const QString &keyColumn, const QString &labelPrefix,
                    bool frenchOnly)
{
    QString label = labelPrefix + QStringLiteral("_LIBELLE");
    if (!frenchOnly)
        label += session().LanguageSuffix;
    FieldBinder::fillList(list, lookup, keyColumn, label, true);
}

QComboBox *addList(QFormLayout *form, FieldBinder &binder, const QString &column, const QString &caption,
                   Dataset *lookup, const QString &keyColumn, const QString &labelPrefix, bool frenchOnly)
{
    auto *list = new QComboBox(form->parentWidget());
    fillLookupList(list, lookup, keyColumn, labelPrefix, frenchOnly);
    addFieldRow(form, column, caption, list);
    binder.bind(list, column);
    binder.setCaption(column, fieldCaption(caption));
    return list;
}

} // namespace folian
