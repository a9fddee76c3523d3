#include "engine/cell_clipboard.h"

#include "core/clipboard_text.h"
#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/diagram_text.h"
#include "engine/model_file.h"
#include "platform/dialogs.h"

#include <QTemporaryFile>

namespace orvek {

namespace {

// Keeps the paste switches and removes the temporary file whatever the load does.
class PasteScope {
public:
    PasteScope()
        : loadValues_(LoadValuesOnPaste)
        , ask_(AskOnPaste)
        , reading_(ReadingClipboardPaste)
    {
        ReadingClipboardPaste = true;
    }
    ~PasteScope()
    {
        LoadValuesOnPaste = loadValues_;
        AskOnPaste = ask_;
        ReadingClipboardPaste = reading_;
    }
    PasteScope(const PasteScope&) = delete;
    PasteScope& operator=(const PasteScope&) = delete;

private:
    bool loadValues_, ask_, reading_;
};

enum class PasteMode { AsChild, Replace };

// Reads the file into a scratch cell, values included and without the value question,
// and puts back every global the reading touches. OpensCell tells whether the text
// holds a cell at all (otherwise a load leaves the cell untouched).
bool LoadsWhole(const QString& fileName, bool& opensCell, QString& error)
{
    const bool loadValues = LoadValuesOnPaste, ask = AskOnPaste, sourceKeys = SourceKeysLoaded,
               continuation = CommentContinuation;
    const int idCounter = CellIdCounter;
    const auto chartType = ChartType;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    const QString fresh = QStringLiteral("\x01");
    TPrenosInfoDoNovejBunky info;
    info.CellName = fresh;
    bool ok = false;
    {
        TCell scratch(nullptr, info, 0, 0, nullptr);
        ok = scratch.LoadFromFile(fileName, &error);
        opensCell = scratch.FCellName.Text != fresh || scratch.ChildCount() > 0;
    }
    LoadValuesOnPaste = loadValues;
    AskOnPaste = ask;
    SourceKeysLoaded = sourceKeys;
    CommentContinuation = continuation;
    CellIdCounter = idCounter;
    ChartType = chartType;
    return ok;
}

void Paste(TCell& cell, PasteMode mode)
{
    if (TreeEvaluationRunning)
        return;
    QString text = GetClipboardText();
    const QString marker = CellsMarker();
    if (text.isEmpty() || !text.startsWith(marker))
        return;
    text.remove(0, marker.size() + 2);
    if (text.startsWith(' '))
        text.remove(0, 1);

    PasteScope scope;
    if (mode == PasteMode::AsChild) {
        LoadValuesOnPaste = true;
        AskOnPaste = false;
    }
    if (text.startsWith(kTagDiagramFromTemplates)) {
        text.remove(0, kTagDiagramFromTemplates.size() + 1);
        if (mode == PasteMode::Replace) {
            LoadValuesOnPaste = true;
            AskOnPaste = false;
        }
    } else if (text.startsWith(kTagDiagramFromMainDB)) {
        text.remove(0, kTagDiagramFromMainDB.size() + 1);
        if (mode == PasteMode::Replace) {
            LoadValuesOnPaste = true;
            AskOnPaste = true;
        }
    }

    QTemporaryFile file(TemporaryFolder() + "XXXXXXXX.STM");
    const QByteArray bytes = (text + "\r\n").toUtf8();
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        ShowMessage(QStringLiteral("Cannot write a temporary file: %1").arg(file.errorString()));
        return;
    }
    QString error;
    bool ok = false;
    if (mode == PasteMode::AsChild) {
        ok = cell.LoadChildFromFile(file.fileName(), &error);
    } else {
        // The pasted subtree replaces the cell's own: its children do not join the old
        // ones. The cell is emptied only for a text that loads whole, so that a damaged
        // paste leaves it as it was.
        bool opensCell = false;
        if (!LoadsWhole(file.fileName(), opensCell, error)) {
            ShowMessage(error);
            return;
        }
        if (!opensCell)
            return;
        cell.DeleteAllChildren();
        ok = cell.LoadFromFile(file.fileName(), &error);
    }
    cell.FReloaded = true;
    if (!ok)
        ShowMessage(error);
}

} // namespace

QString CellsMarker()
{
    return ClipboardCellsMarker.isEmpty() ? QStringLiteral("Orvek2000Info") : ClipboardCellsMarker;
}

QString CellClipboardText(const QString& tag, TCell& cell)
{
    QString text = CellsMarker() + ' ' + QString::number(cell.FCellType) + ' ';
    if (!tag.isEmpty())
        text += tag + ' ';
    return text + cell.SaveToText();
}

bool CopyCellTreeToClipboard(const QString& tag, TCell& cell)
{
    return SetClipboardText(CellClipboardText(tag, cell));
}

void TCell::PasteAsChild()
{
    Paste(*this, PasteMode::AsChild);
}

void TCell::PasteReplace()
{
    Paste(*this, PasteMode::Replace);
}

} // namespace orvek
