#include "i18n/widgets/localise.h"

#include "base/session.h"
#include "i18n/core/translationfile.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>

namespace folian {

namespace {

const char *const kDesignText = "designText";
const char *const kDesignFont = "designFont";
const char *const kDesignTitles = "designTitles";
const char *const kLocalise = "localise";

bool isNestedForm(const QWidget *w, const QWidget *form)
{
    return w != form && (w->isWindow() || w->objectName().startsWith(QLatin1String("Frm")));
}

bool optedOut(const QWidget *w)
{
    const QVariant v = w->property(kLocalise);
    return v.isValid() && !v.toBool();
}

bool isInternal(const QWidget *w) { return w->objectName().startsWith(QLatin1String("qt_")); }

// The views whose columns carry titles.
QAbstractItemView *columnView(QWidget *w)
{
    if (qobject_cast<QTableView *>(w) || qobject_cast<QTreeView *>(w))
        return static_cast<QAbstractItemView *>(w);
    return nullptr;
}

// The caption a control shows, for the kinds that have one.
bool captionOf(const QWidget *w, QString *text)
{
    if (const auto *l = qobject_cast<const QLabel *>(w)) {
        *text = l->text();
        return true;
    }
    if (const auto *b = qobject_cast<const QAbstractButton *>(w)) {
        *text = b->text();
        return true;
    }
    if (const auto *g = qobject_cast<const QGroupBox *>(w)) {
        *text = g->title();
        return true;
    }
    return false;
}

void setCaption(QWidget *w, const QString &text)
{
    if (auto *l = qobject_cast<QLabel *>(w))
        l->setText(text);
    else if (auto *b = qobject_cast<QAbstractButton *>(w))
        b->setText(text);
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        g->setTitle(text);
}

// The page of a tab widget, with its tab widget and index.
QTabWidget *tabOwner(QWidget *page, int *index)
{
    QWidget *stack = page->parentWidget();
    auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
    if (!tabs)
        return nullptr;
    *index = tabs->indexOf(page);
    return *index >= 0 ? tabs : nullptr;
}

QString designCaption(QWidget *w, const QString &current)
{
    if (!w->property(kDesignText).isValid())
        w->setProperty(kDesignText, current);
    return w->property(kDesignText).toString();
}

// The control's caption key when it is a captioned control of the form.
bool isCaptioned(QWidget *w)
{
    if (w->objectName().isEmpty() || isInternal(w) || optedOut(w))
        return false;
    QString text;
    int index = 0;
    if (captionOf(w, &text)) {
        const QVariant design = w->property(kDesignText);
        return !(design.isValid() ? design.toString() : text).isEmpty();
    }
    return tabOwner(w, &index) != nullptr;
}

// The font of a control before any localisation: the one set on it in the
// code, else the one it inherits from its design parent, else the default.
void rememberFont(QWidget *w, const QWidget *form)
{
    if (w->property(kDesignFont).isValid())
        return;
    QFont f;
    if (w->testAttribute(Qt::WA_SetFont))
        f = w->font();
    else if (w != form && w->parentWidget() && w->parentWidget()->property(kDesignFont).isValid())
        f = w->parentWidget()->property(kDesignFont).value<QFont>();
    else
        f = QApplication::font(w);
    w->setProperty(kDesignFont, f);
    w->setProperty("designFontSet", w->testAttribute(Qt::WA_SetFont));
}

void applyFont(QWidget *w)
{
    QFont f = w->property(kDesignFont).value<QFont>();
    ApplyLanguageFont(f);
    w->setFont(f);
}

// Every widget of the form, parents before children, without nested forms.
void walk(QWidget *w, QWidget *form, QList<QWidget *> &out)
{
    out << w;
    for (QObject *o : w->children()) {
        auto *c = qobject_cast<QWidget *>(o);
        if (c && !isNestedForm(c, form))
            walk(c, form, out);
    }
}

void localiseView(QAbstractItemView *view, const QString &section)
{
    QAbstractItemModel *m = view->model();
    if (!m)
        return;
    const int n = m->columnCount();
    QStringList design = view->property(kDesignTitles).toStringList();
    if (design.size() != n) {
        design.clear();
        for (int c = 0; c < n; ++c)
            design << m->headerData(c, Qt::Horizontal).toString();
        view->setProperty(kDesignTitles, design);
    }
    const QString name = view->objectName();
    for (int c = 0; c < n; ++c)
        m->setHeaderData(c, Qt::Horizontal,
                         LanguageFile().caption(section, name + QString::number(c + 1), design.at(c)));
}

QString frenchFamily()
{
    static const QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return family;
}

} // namespace

QString arabicFontFamily()
{
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("Noto Naskh Arabic"))
        ? QStringLiteral("Noto Naskh Arabic")
        : QStringLiteral("Amiri");
    return family;
}

void ApplyLanguageFont(QFont &font)
{
    if (session().ArabicMode) {
        font.setFamilies({arabicFontFamily()});
        font.setPointSize(11);
        return;
    }
    font.setFamilies({frenchFamily()});
    if (font.pointSize() == 11)
        font.setPointSize(8);
}

void LocaliseControl(QWidget *control, QWidget *form)
{
    if (!control || !form || optedOut(control))
        return;
    const QString section = form->objectName();
    rememberFont(control, form);
    if (control == form) {
        applyFont(control);
        const QString design = designCaption(control, control->windowTitle());
        control->setWindowTitle(LanguageFile().caption(section, section, design));
        return;
    }
    if (isInternal(control))
        return;
    if (QAbstractItemView *view = columnView(control)) {
        if (!control->objectName().isEmpty())
            localiseView(view, section);
        return;
    }
    if (control->property("designFontSet").toBool())
        applyFont(control);
    if (control->objectName().isEmpty())
        return;
    QString text;
    int index = 0;
    if (captionOf(control, &text)) {
        const QString design = designCaption(control, text);
        if (design.isEmpty())
            return;
        applyFont(control);
        setCaption(control, LanguageFile().caption(section, control->objectName(), design));
        // Logical alignment only: it follows the layout direction.
        if (auto *l = qobject_cast<QLabel *>(control))
            l->setAlignment(l->alignment() & ~Qt::AlignAbsolute);
    } else if (QTabWidget *tabs = tabOwner(control, &index)) {
        const QString design = designCaption(control, tabs->tabText(index));
        tabs->setTabText(index, LanguageFile().caption(section, control->objectName(), design));
        rememberFont(tabs, form);
        applyFont(tabs);
    }
}

void LocaliseForm(QWidget *form)
{
    if (!form)
        return;
    // Restore what the form itself asked for, not what it inherits: a form
    // localised while its parent paints nothing must not keep painting
    // nothing once the parent paints again.
    const bool forcedOff = form->testAttribute(Qt::WA_ForceUpdatesDisabled);
    form->setUpdatesEnabled(false);
    QList<QWidget *> widgets;
    walk(form, form, widgets);
    // Design fonts first: localising a parent changes what its children inherit.
    for (QWidget *w : std::as_const(widgets))
        if (!optedOut(w))
            rememberFont(w, form);
    for (QWidget *w : std::as_const(widgets))
        LocaliseControl(w, form);
    form->setUpdatesEnabled(!forcedOff);
}

QStringList CaptionKeys(QWidget *form)
{
    QStringList keys;
    if (!form)
        return keys;
    keys << form->objectName();
    QList<QWidget *> widgets;
    walk(form, form, widgets);
    for (QWidget *w : std::as_const(widgets)) {
        if (w == form || w->objectName().isEmpty() || isInternal(w) || optedOut(w))
            continue;
        if (QAbstractItemView *view = columnView(w)) {
            const int n = view->model() ? view->model()->columnCount() : 0;
            for (int c = 1; c <= n; ++c)
                keys << w->objectName() + QString::number(c);
        } else if (isCaptioned(w)) {
            keys << w->objectName();
        }
    }
    return keys;
}

void SetApplicationLanguage(const QString &language)
{
    session().setLanguage(language);
    QApplication::setLayoutDirection(session().ArabicMode ? Qt::RightToLeft : Qt::LeftToRight);
    LoadLanguageFile(session().CurrentLanguage);
}

} // namespace folian
