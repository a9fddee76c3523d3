#include "core/ui/tool_icons.h"

#include <QAction>
#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QWidget>

namespace orvek {

namespace {

const QString kOwnPrefix = QStringLiteral("orvek-");

// The action (by object name) and its picture. Actions that do one thing in several
// windows or report modes share their picture.
const QHash<QString, QString>& IconTable()
{
    static const QHash<QString, QString> table = {
        // Records and templates.
        { QStringLiteral("ActionNewRecFromTemplateTree"), QStringLiteral("document-new-from-template") },
        { QStringLiteral("ActionNewRecFromNewTree"), QStringLiteral("document-new") },
        { QStringLiteral("ActionNewRecFromFileTree"), QStringLiteral("document-open") },
        { QStringLiteral("ActionUrobitKopiuZaznamu"), QStringLiteral("edit-clone") },
        { QStringLiteral("ActionEditRecord"), QStringLiteral("document-edit") },
        { QStringLiteral("ActionDeleteRecord"), QStringLiteral("edit-delete") },
        { QStringLiteral("ActionMoveSelectedRecordTo"), QStringLiteral("go-next") },
        { QStringLiteral("ActionSearchMeasurement"), QStringLiteral("edit-find") },
        { QStringLiteral("ActionSearchTemplates"), QStringLiteral("edit-find") },
        { QStringLiteral("ActionZobrazitVsetkyMerania"), QStringLiteral("view-list-details") },
        { QStringLiteral("ActionShowAllTemplates"), QStringLiteral("view-list-details") },
        { QStringLiteral("ActionCloseWindowandAddTemplateToDB"), QStringLiteral("dialog-ok-apply") },
        // Folders and groups of folders.
        { QStringLiteral("ActionInsertNewFolder"), QStringLiteral("folder-new") },
        { QStringLiteral("ActionInsertNewSub_folder"), QStringLiteral("folder-add") },
        { QStringLiteral("ActionRenameFolder"), QStringLiteral("edit-rename") },
        { QStringLiteral("ActionDeleteFolder"), QStringLiteral("edit-delete") },
        { QStringLiteral("ActionNewGroupOfFolders"), QStringLiteral("list-add") },
        { QStringLiteral("ActionRenameGroupOfFolders"), QStringLiteral("edit-rename") },
        { QStringLiteral("ActionDeleteGroupOfFolders"), QStringLiteral("list-remove") },
        // Report outputs: each mode's copy, file, preview and print.
        { QStringLiteral("ActionCopyShortReport"), QStringLiteral("edit-copy") },
        { QStringLiteral("ActionCopyFullReport"), QStringLiteral("edit-copy") },
        { QStringLiteral("ActionCopyTemplate"), QStringLiteral("edit-copy") },
        { QStringLiteral("ActionShortReportSaveToFile"), QStringLiteral("document-save-as") },
        { QStringLiteral("ActionFullReportSaveToFile"), QStringLiteral("document-save-as") },
        { QStringLiteral("ActionTemplateSaveAs"), QStringLiteral("document-save-as") },
        { QStringLiteral("ActionShortReportPrintPreview"), QStringLiteral("document-print-preview") },
        { QStringLiteral("ActionReportPrintPreview"), QStringLiteral("document-print-preview") },
        { QStringLiteral("ActionTemplatePrintPreview"), QStringLiteral("document-print-preview") },
        { QStringLiteral("ActionShortReportPrint"), QStringLiteral("document-print") },
        { QStringLiteral("ActionReportPrint"), QStringLiteral("document-print") },
        { QStringLiteral("ActionTemplatePrint"), QStringLiteral("document-print") },
        // The diagram.
        { QStringLiteral("ActionUndo"), QStringLiteral("edit-undo") },
        { QStringLiteral("ActionRedo"), QStringLiteral("edit-redo") },
        { QStringLiteral("ActionStromRozbalit"), QStringLiteral("expand-all") },
        { QStringLiteral("ActionStromZvacsit"), QStringLiteral("zoom-in") },
        { QStringLiteral("ActionStromZmensit"), QStringLiteral("zoom-out") },
        { QStringLiteral("ActionZobrazitVlastnostiBuniek"), QStringLiteral("document-properties") },
        { QStringLiteral("ActionHelpContents"), QStringLiteral("help-contents") },
        { QStringLiteral("ActionShowHideSummaryWindow"), QStringLiteral("view-split-left-right") },
        // The rich-text editor.
        { QStringLiteral("ActionApply"), QStringLiteral("dialog-ok") },
        { QStringLiteral("ActionCancel"), QStringLiteral("dialog-cancel") },
        { QStringLiteral("ActionCopy"), QStringLiteral("edit-copy") },
        { QStringLiteral("ActionPaste"), QStringLiteral("edit-paste") },
        { QStringLiteral("ActionLoadFromFile"), QStringLiteral("document-open") },
        { QStringLiteral("ActionSaveToFile"), QStringLiteral("document-save-as") },
        { QStringLiteral("ActionPrinPreview"), QStringLiteral("document-print-preview") },
        { QStringLiteral("ActionPrint"), QStringLiteral("document-print") },
        { QStringLiteral("ActionFindText"), QStringLiteral("edit-find") },
        { QStringLiteral("ActionFindReplaceText"), QStringLiteral("edit-find-replace") },
        { QStringLiteral("ActionBold"), QStringLiteral("format-text-bold") },
        { QStringLiteral("ActionItalic"), QStringLiteral("format-text-italic") },
        { QStringLiteral("ActionUnderline"), QStringLiteral("format-text-underline") },
        { QStringLiteral("ActionSuperscript"), QStringLiteral("format-text-superscript") },
        { QStringLiteral("ActionSubscript"), QStringLiteral("format-text-subscript") },
        { QStringLiteral("ActionLeft"), QStringLiteral("format-justify-left") },
        { QStringLiteral("ActionCenter"), QStringLiteral("format-justify-center") },
        { QStringLiteral("ActionRight"), QStringLiteral("format-justify-right") },
        // The program's own actions.
        { QStringLiteral("ActionEditovatObsahBunky"), QStringLiteral("orvek-edit-cell") },
        { QStringLiteral("ActionZvyraznitLenNenaplnene"), QStringLiteral("orvek-highlight-unfilled") },
        { QStringLiteral("ActionZvyraznitLenExpirovane"), QStringLiteral("orvek-highlight-expired") },
        { QStringLiteral("ActionShowMaxUncertainty"), QStringLiteral("orvek-max-uncertainty") },
        { QStringLiteral("ActionNeistotaNova"), QStringLiteral("orvek-source-new") },
        { QStringLiteral("ActionNeistotaVymazat"), QStringLiteral("orvek-source-delete") },
        { QStringLiteral("ActionNeistotaAnoNie"), QStringLiteral("orvek-source-toggle") },
        { QStringLiteral("ActionSuhrnVelicin"), QStringLiteral("orvek-summary-quantities") },
        { QStringLiteral("ActionVyberPreReport"), QStringLiteral("orvek-report-selection") },
    };
    return table;
}

void InstallIconTheme()
{
    // Some platforms (the offscreen one among them) search no system folder for themes.
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList system = QStandardPaths::locateAll(
        QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory);
    for (const QString& path : system)
        if (!paths.contains(path))
            paths.append(path);
    QIcon::setThemeSearchPaths(paths);
    // Without a desktop the theme is empty or the bare fallback theme, which holds no
    // action pictures; the program's own pictures are drawn to match this theme.
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("breeze"));
    QIcon::setFallbackThemeName(QStringLiteral("breeze"));
}

} // namespace

QIcon ToolIcon(const QString& name)
{
    static const bool themeInstalled = (InstallIconTheme(), true);
    Q_UNUSED(themeInstalled);
    if (name.startsWith(kOwnPrefix)) {
        const QString file = QStringLiteral(":/orvek-icons/%1.svg").arg(name);
        return QFile::exists(file) ? QIcon(file) : QIcon();
    }
    return QIcon::fromTheme(name);
}

QString ToolIconName(const QString& actionName)
{
    return IconTable().value(actionName);
}

QIcon NavigatorIcon(int step)
{
    static const char* const names[] = { "go-first", "go-previous", "go-next", "go-last" };
    return ToolIcon(QString::fromLatin1(names[qBound(0, step, 3)]));
}

void SetToolIcons(QWidget* window)
{
    const QList<QAction*> actions = window->findChildren<QAction*>();
    for (QAction* action : actions) {
        const QString name = ToolIconName(action->objectName());
        if (name.isEmpty())
            continue;
        action->setIcon(ToolIcon(name));
        action->setProperty("toolIcon", name);
    }
}

} // namespace orvek
