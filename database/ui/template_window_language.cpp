// The texts of the template window in the current language: the table of which control
// gets which text lives in the logic library; this puts them on the controls.

#include "core/common_vars.h"
#include "core/string_table.h"
#include "database/template_window_texts.h"
#include "database/ui/db_navigator.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "richtext/ui/preview_printer.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

namespace orvek {

namespace {

constexpr int kServiceText = 22110;
constexpr int kListOfQuantitiesText = 224;

} // namespace

void TfOrvekDB::ApplyTextsOrvekDB()
{
    UpdatePreviewFooterVersion();
    PreviewPrinter1->TextOptions.Footer = PreviewFooterText();
    PreviewPrinter1->TextOptions.PageNumText = TemplatePageNumberText();
    setWindowTitle(GetString(kTemplateWindowCaptionText));

    for (const TWindowText& entry : TemplateWindowTexts()) {
        const QString name = QString::fromLatin1(entry.ObjectName);
        const QString caption = WindowTextCaption(entry);
        const QString hint = WindowTextHint(entry);
        QObject* object = findChild<QObject*>(name);
        if (auto* menu = qobject_cast<QMenu*>(object)) {
            if (entry.Caption)
                menu->setTitle(caption);
            if (entry.Hint)
                menu->menuAction()->setToolTip(hint);
        } else if (auto* action = qobject_cast<QAction*>(object)) {
            if (entry.Caption)
                action->setText(caption);
            if (entry.Hint)
                action->setToolTip(hint);
        } else if (object == TabSheet_Struktura || object == TabSheet_Poznamky
            || object == TabSheet_VzorecPreNeistotu) {
            PageControl1->setTabText(PageControl1->indexOf(static_cast<QWidget*>(object)), caption);
        } else if (auto* label = qobject_cast<QLabel*>(object)) {
            label->setText(caption);
        } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
            if (entry.Caption)
                button->setText(caption);
            if (entry.Hint)
                button->setToolTip(hint);
        } else if (auto* widget = qobject_cast<QWidget*>(object)) {
            if (entry.Hint)
                widget->setToolTip(hint);
        }
    }
    // The buttons that show only their action's picture.
    for (const QString& name : TemplateWindowPictureButtons())
        if (auto* button = findChild<QToolButton*>(name))
            button->setText(QString());
    // The service page and menu and the catalogue's item, which the table above does
    // not name.
    menuService->setTitle(GetString(kServiceText));
    PageControl1->setTabText(PageControl1->indexOf(TabSheet_Service), GetString(kServiceText));
    if (auto* list = findChild<QAction*>(QStringLiteral("ActionListOfQuantities")))
        list->setText(GetString(kListOfQuantitiesText));
    DBNavigator_Template->ApplyHints();
    // The drop-down buttons keep their action, whose new text shows; the hint stays the
    // menu's.
    const std::pair<QToolButton*, QMenu*> dropDowns[]
        = { { ToolButton_Copy, menuCopy }, { ToolButton_SaveToFile, menuSaveToFile },
              { ToolButton_PrintPreview, menuPrintPreview }, { ToolButton_Print, menuPrint } };
    for (const auto& [button, menu] : dropDowns) {
        button->setDefaultAction(button->defaultAction());
        button->setToolTip(menu->title());
    }
}

void TfOrvekDB::RefreshTexts()
{
    ApplyTextsOrvekDB();
    RefreshColumnTitles();
}

} // namespace orvek
