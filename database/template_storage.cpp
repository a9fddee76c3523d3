#include "database/template_storage.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/file_utils.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/text_pieces.h"
#include "database/data_module.h"
#include "database/diagram_row_counters.h"
#include "database/diagram_store.h"
#include "database/folder_groups.h"
#include "database/template_query.h"
#include "database/tv_record_list.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "engine/equation_info.h"
#include "engine/evaluation.h"
#include "engine/expression.h"
#include "engine/model_file.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace orvek {

namespace {

constexpr int kModelFileFilterText = 263;

const QString kTemplateTable = QStringLiteral("TemplateDB");

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Every serialisation and load of a template keeps comments and values, without asking.
void SetSerialisationSwitches()
{
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
}

QString StoredText(TCell& root)
{
    SetSerialisationSwitches();
    return root.SaveToText() + QStringLiteral("\r\n");
}

// The list's main equation: symbol " = " expression. A cell's equation already holds its
// left side ("l = ls + d"), and is then shown as it stands rather than as "l = l = ...".
QString JoinMainEquation(const QString& symbol, const QString& equation)
{
    const int equals = equation.indexOf(QLatin1Char('='));
    if (equals > 0 && !symbol.isEmpty() && equation.left(equals).trimmed() == symbol.trimmed())
        return equation.trimmed();
    return symbol + QStringLiteral(" = ") + equation;
}

QString MainEquationOf(const TCell& root)
{
    return JoinMainEquation(root.FSymbol.Text, root.FEquation);
}

// The value of a "Key=value;" line: the key and the final character removed, the lock
// suffix stripped, trimmed.
QString KeyLineValue(const QString& line, qsizetype keyLength)
{
    QString value = line.mid(keyLength);
    value.chop(1);
    StripLockSuffix(value);
    return value.trimmed();
}

bool IsModelFileName(const QString& fileName)
{
    return fileName.toUpper().endsWith(QLatin1String(".STM"));
}

} // namespace

bool AddTemplateRow(
    QSqlDatabase& db, const TTemplateTarget& target, const TNewTemplate& item, int& newId, QString* error)
{
    newId = 0;
    if (!IsFolderColumn(target.FolderColumn)) {
        SetError(error, QStringLiteral("%1 is not a folder column").arg(target.FolderColumn));
        return false;
    }
    int id = 0;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(query,
                    QStringLiteral("INSERT INTO TemplateDB (GroupID, PracovnikID, CreatedBy, CreateDate, "
                                   "MainEquation, TemplateName, OpenedByUserID, Poznamky, Strom, ")
                        + QuoteName(target.FolderColumn) + QStringLiteral(") VALUES (?, ?, ?, ?, ?, ?, 0, '', ?, ?)"),
                    { target.GroupID, target.UserID, item.CreatedBy, Today().toString(QStringLiteral("yyyy-MM-dd")),
                        item.MainEquation, item.TemplateName, item.Strom,
                        target.FolderID.isEmpty() ? QStringLiteral("0") : target.FolderID },
                    workError))
                return false;
            id = LastInsertId(db, query).toInt();
            return id > 0;
        },
        error);
    if (ok)
        newId = id;
    return ok;
}

QString ReadMainEquation(QIODevice& device)
{
    static const QString equationKey = QStringLiteral("Equation=");
    static const QString symbolKey = QStringLiteral("VarSumbol=");
    QString equation, symbol;
    bool haveEquation = false, haveSymbol = false;
    while (!(haveEquation && haveSymbol) && !device.atEnd()) {
        const QString line = QString::fromUtf8(device.readLine()).trimmed();
        if (!haveEquation && line.startsWith(equationKey)) {
            equation = KeyLineValue(line, equationKey.size());
            haveEquation = true;
        } else if (!haveSymbol && line.startsWith(symbolKey)) {
            symbol = KeyLineValue(line, symbolKey.size());
            haveSymbol = true;
        }
    }
    return JoinMainEquation(symbol, equation);
}

bool ReadMainEquation(const QString& fileName, QString& text)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    text = ReadMainEquation(file);
    return true;
}

std::unique_ptr<TCell> PrazdnyStrom(
    const TPrenosInfoDoNovejBunky& equationCellInfo, const TInfo_o_bunkach_typu_velicina& quantities)
{
    ++CellIdCounter;
    TPrenosInfoDoNovejBunky rootInfo;
    rootInfo.CellType = kEquationCell;
    rootInfo.CellName = equationCellInfo.CellName;
    rootInfo.CellComment = equationCellInfo.CellComment;
    rootInfo.Symbol = equationCellInfo.Symbol;
    rootInfo.QuantityName = equationCellInfo.QuantityName;
    rootInfo.UnitText = equationCellInfo.UnitText;
    rootInfo.Equation = equationCellInfo.Equation;
    rootInfo.NormalizedEquation = equationCellInfo.NormalizedEquation;
    rootInfo.CorrelationMatrix = equationCellInfo.CorrelationMatrix;
    rootInfo.Coverage = equationCellInfo.Coverage;
    rootInfo.CoverageFactor = equationCellInfo.CoverageFactor;
    rootInfo.Active = 1;
    auto root = std::make_unique<TCell>(nullptr, rootInfo, DiagramOriginY, DiagramOriginX, nullptr);

    const int count = std::min(quantities.Count, TInfo_o_bunkach_typu_velicina::Capacity);
    for (int i = 1; i <= count; ++i) {
        const TInfo_o_bunke_typu_velicina& entry = quantities[i];
        TPrenosInfoDoNovejBunky info;
        info.CellType = kQuantityCell;
        info.CellName = entry.CellName;
        info.CellComment = entry.CellComment;
        info.Symbol = entry.Symbol;
        info.QuantityName = entry.QuantityName;
        info.UnitText = entry.UnitText;
        info.ValueType = entry.ValueType;
        info.Active = 1;
        TCell* quantity = root->AddChild(info);
        if (entry.ValueType != 0)
            continue;
        TPrenosInfoDoNovejBunky source;
        source.CellType = kUncertaintyCell;
        source.CellName = GetString(112) + QStringLiteral(" ") + GetString(303) + QStringLiteral(" ") + entry.Symbol;
        source.Active = 1;
        ClearUncertaintyInput(source.UncertaintyInput);
        quantity->AddChild(source);
    }
    return root;
}

bool NewTemplateRecords(const TNewEquationDialogData& data, TPrenosInfoDoNovejBunky& equationCellInfo,
    TInfo_o_bunkach_typu_velicina& quantities)
{
    quantities.Count = 0;
    for (const TNewEquationDialogData::QuantityRow& row : data.Rows) {
        if (row.Symbol.trimmed().isEmpty())
            continue;
        if (quantities.Count == TInfo_o_bunkach_typu_velicina::Capacity)
            break;
        TInfo_o_bunke_typu_velicina& entry = quantities[++quantities.Count];
        entry = TInfo_o_bunke_typu_velicina();
        entry.Symbol = row.Symbol;
        entry.UnitText = row.Unit;
        entry.QuantityName = row.QuantityName;
        entry.CellName = row.QuantityName.isEmpty() ? row.Symbol : row.QuantityName;
        entry.ValueType = row.ValueType;
    }
    if (quantities.Count == 0)
        return false;
    equationCellInfo = TPrenosInfoDoNovejBunky();
    equationCellInfo.CellType = kEquationCell;
    equationCellInfo.CellName = data.CellName;
    equationCellInfo.CellComment = data.CellComment;
    equationCellInfo.Symbol = data.Symbol;
    equationCellInfo.QuantityName = data.QuantityName;
    equationCellInfo.UnitText = data.UnitText;
    equationCellInfo.Coverage = data.Coverage;
    equationCellInfo.CoverageFactor = data.CoverageFactor;
    equationCellInfo.Equation = data.Equation;
    RemoveBlanks(data.Equation, equationCellInfo.NormalizedEquation);
    equationCellInfo.CorrelationMatrix = data.CorrelationMatrix;
    equationCellInfo.Active = 1;
    return true;
}

bool AddTreeAsTemplate(QSqlDatabase& db, const TTemplateTarget& target, TCell& root, int& newId, QString* error)
{
    TNewTemplate item;
    item.CreatedBy = CurrentUserName;
    item.TemplateName = root.FCellName.Text;
    item.MainEquation = MainEquationOf(root);
    item.Strom = StoredText(root);
    return AddTemplateRow(db, target, item, newId, error);
}

QString TemplateNameOfFile(const QString& fileName, TImportNaming naming)
{
    QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    if (naming == TImportNaming::BlanksForUnderscores)
        name.replace(QLatin1Char('_'), QLatin1Char(' '));
    return name;
}

bool ImportModelFile(QSqlDatabase& db, const TTemplateTarget& target, const QString& createdBy, const QString& fileName,
    const QString& templateName, TImportNaming naming, int& newId, QString* error)
{
    newId = 0;
    QString plainName;
    if (!UnscrambleModelFileToTemp(fileName, plainName, error))
        return false;

    TNewTemplate item;
    item.CreatedBy = createdBy;
    item.TemplateName = templateName.isEmpty() ? TemplateNameOfFile(fileName, naming) : templateName;
    bool ok = false;
    {
        QFile plain(plainName);
        if (plain.open(QIODevice::ReadOnly)) {
            item.Strom = QString::fromUtf8(plain.readAll());
            ok = plain.error() == QFileDevice::NoError;
        }
        if (!ok)
            SetError(error, plain.errorString());
    }
    // The file is read into a scratch tree first: a file that is not a whole diagram is
    // refused before anything is written. The load must not leave its marks on the
    // program's state.
    if (ok) {
        SetSerialisationSwitches();
        const bool sourceKeys = SourceKeysLoaded;
        const int cellIds = CellIdCounter;
        TCell scratch(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
        QString loadError;
        if (!item.Strom.contains(QLatin1String("BeginCell="))) {
            ok = false;
            loadError = GetString(21802);
        } else {
            ok = scratch.LoadFromFile(plainName, &loadError);
        }
        if (!ok)
            SetError(error, loadError);
        SourceKeysLoaded = sourceKeys;
        CellIdCounter = cellIds;
    }
    if (ok && !ReadMainEquation(plainName, item.MainEquation)) {
        ok = false;
        SetError(error, QStringLiteral("Cannot read %1").arg(plainName));
    }
    QFile::remove(plainName);
    return ok && AddTemplateRow(db, target, item, newId, error);
}

QString TImportResult::MessageText() const
{
    if (Added == 0 && Failed.isEmpty())
        return QString();
    QString text = GetString(21800, { Added });
    for (const TImportFailure& failure : Failed)
        text += QStringLiteral("\n") + GetString(21801, { QFileInfo(failure.FileName).fileName(), failure.Reason });
    return text;
}

TImportResult ImportModelFiles(QSqlDatabase& db, const TTemplateTarget& target, const QString& createdBy,
    const QStringList& fileNames, const QString& caption)
{
    TImportResult result;
    MessageWindowService* progress = fileNames.size() > 2 ? MessageWindow() : nullptr;
    if (progress) {
        progress->ShowBatch(caption, false);
        progress->SetupProgress(true, 1, int(fileNames.size()));
    }
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        const QString& fileName = fileNames[i];
        if (progress)
            progress->StepProgress(int(i) + 1);
        if (!IsModelFileName(fileName)) {
            result.NotModelFiles << fileName;
            continue;
        }
        int id = 0;
        QString reason;
        if (ImportModelFile(db, target, createdBy, fileName, QString(), TImportNaming::KeepUnderscores, id, &reason)) {
            ++result.Added;
            if (result.FirstID == 0)
                result.FirstID = id;
        } else {
            result.Failed << TImportFailure { fileName, reason };
        }
    }
    if (progress)
        progress->HideBatch();
    return result;
}

QString CopyNameProposal(const QString& templateName)
{
    return templateName + QStringLiteral(" (") + GetString(880) + QStringLiteral(")");
}

bool CopyTemplateAsNew(QSqlDatabase& db, const TTemplateTarget& target, TCell& root, const QString& createdBy,
    const QString& name, int& newId, QString* error)
{
    TNewTemplate item;
    item.CreatedBy = createdBy;
    item.Strom = StoredText(root);
    item.TemplateName = name;
    item.MainEquation = MainEquationOf(root);
    return AddTemplateRow(db, target, item, newId, error);
}

THeadEditOutcome WriteTemplateHead(
    QSqlDatabase& db, int templateId, const QDate& createDate, const QString& templateName, QString* error)
{
    THeadEditOutcome outcome = THeadEditOutcome::Failed;
    Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(query, QStringLiteral("SELECT 1 FROM TemplateDB WHERE ID = ?"), { templateId }, workError))
                return false;
            if (!query.next()) {
                outcome = THeadEditOutcome::Missing;
                return false;
            }
            if (IsTemplateUsedByRecords(db, templateId)) {
                outcome = THeadEditOutcome::InUse;
                return false;
            }
            if (!ExecBound(query, QStringLiteral("UPDATE TemplateDB SET CreateDate = ?, TemplateName = ? WHERE ID = ?"),
                    { createDate.toString(QStringLiteral("yyyy-MM-dd")), templateName, templateId }, workError))
                return false;
            outcome = THeadEditOutcome::Written;
            return true;
        },
        error);
    return outcome;
}

TDeleteResult DeleteTemplates(
    QSqlDatabase& db, const QList<int>& ids, bool inBin, const QString& folderColumn, int userId)
{
    TDeleteResult result;
    if (!IsFolderColumn(folderColumn)) {
        result.Error = QStringLiteral("%1 is not a folder column").arg(folderColumn);
        return result;
    }
    QStringList folderColumns;
    for (const QString& column : ColumnNames(db, kTemplateTable))
        if (IsFolderColumn(column))
            folderColumns << QuoteName(column) + QStringLiteral(" = '1'");
    TDeleteResult work;
    result.Ok = Post(
        db,
        [&](QString* workError) {
            work = TDeleteResult();
            QSqlQuery query(db);
            for (const int id : ids) {
                if (!ExecBound(query,
                        QStringLiteral("SELECT OpenedByUserID, ") + QuoteName(folderColumn)
                            + QStringLiteral(" FROM TemplateDB WHERE ID = ?"),
                        { id }, workError))
                    return false;
                if (!query.next()) {
                    ++work.Missing;
                    continue;
                }
                const int owner = query.value(0).toInt();
                const QString folder = query.value(1).toString();
                if (!inBin) {
                    if (!ExecBound(query,
                            QStringLiteral("UPDATE TemplateDB SET ") + folderColumns.join(QStringLiteral(", "))
                                + QStringLiteral(" WHERE ID = ?"),
                            { id }, workError))
                        return false;
                    ++work.Moved;
                    continue;
                }
                if (folder != QLatin1String(kDeletedFolder) || (owner != 0 && owner != userId)
                    || IsTemplateUsedByRecords(db, id)) {
                    work.Kept << id;
                    continue;
                }
                if (!ExecBound(query, QStringLiteral("DELETE FROM TemplateDB WHERE ID = ?"), { id }, workError))
                    return false;
                ++work.Deleted;
            }
            return true;
        },
        &result.Error);
    if (result.Ok) {
        work.Ok = true;
        result = work;
    }
    return result;
}

QString DeleteForGoodQuestion(int count)
{
    return count == 1 ? GetString(335) : GetString(869, { count });
}

QString KeptTemplatesText(int selected, int kept)
{
    return GetString(882, { selected, kept });
}

TMoveResult MoveTemplatesToFolder(
    QSqlDatabase& db, const QList<int>& ids, const QString& folderColumn, const QString& folderId)
{
    TMoveResult result;
    if (!IsFolderColumn(folderColumn)) {
        result.Error = QStringLiteral("%1 is not a folder column").arg(folderColumn);
        return result;
    }
    int moved = 0, skipped = 0;
    result.Ok = Post(
        db,
        [&](QString* workError) {
            moved = skipped = 0;
            QSqlQuery query(db);
            if (!PrepareQuery(query, QStringLiteral("UPDATE TemplateDB SET ") + QuoteName(folderColumn)
                    + QStringLiteral(" = ? WHERE ID = ?"))) {
                SetError(workError, query.lastError().text());
                return false;
            }
            for (const int id : ids) {
                query.bindValue(0, folderId);
                query.bindValue(1, id);
                if (!query.exec()) {
                    SetError(workError, query.lastError().text());
                    return false;
                }
                if (query.numRowsAffected() == 1)
                    ++moved;
                else
                    ++skipped;
            }
            return true;
        },
        &result.Error);
    if (result.Ok) {
        result.Moved = moved;
        result.Skipped = skipped;
    }
    return result;
}

int FindValidationTemplate(QSqlDatabase& db, int groupId, const QString& name)
{
    QSqlQuery query(db);
    if (!ExecBound(query,
            QStringLiteral("SELECT ID FROM TemplateDB WHERE CreatedBy = ? AND upper(TemplateName) = ? AND GroupID = ? "
                           "ORDER BY ID LIMIT 1"),
            { kValidationCreator, name.toUpper(), groupId })
        || !query.next())
        return 0;
    return query.value(0).toInt();
}

bool EnsureValidationFolder(QSqlDatabase& db, int groupId, QString& folderId, QString* error)
{
    const QString table = TemplateFolderTable(groupId);
    const QString description = GetString(919);
    QString found;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(
                    query, QStringLiteral("SELECT ID, OwnerID, Description FROM ") + QuoteName(table), {}, workError))
                return false;
            QStringList ids;
            QString firstId, firstOwner;
            while (query.next()) {
                const QString id = query.value(0).toString();
                if (query.value(2).toString() == description && found.isEmpty())
                    found = id;
                if (firstId.isEmpty() || id < firstId) {
                    firstId = id;
                    firstOwner = query.value(1).toString();
                }
                ids << id;
            }
            if (!found.isEmpty())
                return true;
            found = NextFreeID(ids, DeclaredFieldSize(db, table, QStringLiteral("ID")));
            if (found.isEmpty()) {
                SetError(workError, QStringLiteral("%1 has no free folder number").arg(table));
                return false;
            }
            return ExecBound(query,
                QStringLiteral("INSERT INTO ") + QuoteName(table)
                    + QStringLiteral(" (ID, OwnerID, Description) VALUES (?, ?, ?)"),
                { found, firstOwner, description }, workError);
        },
        error);
    if (ok)
        folderId = found;
    return ok;
}

bool RunQuantitySummary(TCell& root)
{
    QuantitySummaryService* summary = QuantitySummary();
    if (!summary)
        return false;
    QuantityList.Clear();
    root.BuildQuantityList();
    summary->LoadQuantityTable(EditMode);
    bool changed = false;
    if (summary->ShowModal()) {
        for (int i = 1; i <= QuantityList.Count; ++i) {
            QuantityEntry& entry = QuantityList[i];
            if (entry.Cell && entry.Cell->FCellType < kUncertaintyCell && entry.Cell->FValue.Text != entry.ValueText) {
                entry.Cell->FValue.Text = entry.ValueText;
                changed = true;
            }
        }
    }
    QuantityList.Clear();
    if (changed) {
        try {
            root.Calculate();
        } catch (const std::exception&) {
            // The evaluation reported its own errors; the new values are kept.
        }
        CellTreeChanged = true;
    }
    return changed;
}

QString DiagramFileFilter(const QString& extension)
{
    QString filter = GetString(kModelFileFilterText);
    if (filter.isEmpty())
        filter = QStringLiteral("Model files (*.stm)|*.stm");
    return filter.replace(QStringLiteral("*.stm"), QStringLiteral("*.") + extension);
}

bool ExportTreeToFile(
    TCell& root, const QString& templateName, const QString& caption, QString* writtenFile, const QString& filter)
{
    if (!IsValidFileName(templateName) && MessageDlg(GetString(670), TMsgDlgType::mtWarning, mbYes | mbCancel) != mrYes)
        return false;
    FileDialogRequest request;
    request.caption = caption;
    request.filter = filter.isEmpty() ? DiagramFileFilter(QStringLiteral("stm")) : filter;
    request.initialDir = TreesDir;
    request.defaultExt = QStringLiteral("stm");
    request.fileName = SanitizeFileName(templateName);
    if (!SaveFileDialog(request) || request.fileName.isEmpty())
        return false;
    const QFileInfo chosen(request.fileName);
    if (!chosen.absoluteDir().exists()) {
        MessageDlg(GetString(669, { chosen.absolutePath() }), TMsgDlgType::mtError, mbCancel);
        return false;
    }
    if (!IsValidFileName(chosen.fileName())) {
        MessageDlg(GetString(668, { chosen.fileName() }), TMsgDlgType::mtError, mbCancel);
        return false;
    }
    TreesDir = chosen.absolutePath();
    QString error;
    SetSerialisationSwitches();
    if (!WriteScrambledModelFile(chosen.absoluteFilePath(), root.SaveToText(), &error)) {
        MessageDlg(GetString(21807, { chosen.absoluteFilePath(), error }), TMsgDlgType::mtError, mbOK);
        return false;
    }
    if (writtenFile)
        *writtenFile = chosen.absoluteFilePath();
    return true;
}

QString ExamplesFallbackFolder(QSqlDatabase& db, int groupId, int languageId)
{
    const QString table = TemplateFolderTable(groupId);
    QSqlQuery query(db);
    if (!ExecBound(query,
            QStringLiteral("SELECT ID FROM ") + QuoteName(table) + QStringLiteral(" WHERE Description = ? ORDER BY ID"),
            { GetString(927) })
        || !query.next())
        return QString();
    bool number = false;
    const int examples = query.value(0).toString().toInt(&number);
    if (!number)
        return QString();
    const QString target = QString::number(examples + (languageId == 1 ? 2 : 1));
    if (!ExecBound(
            query, QStringLiteral("SELECT 1 FROM ") + QuoteName(table) + QStringLiteral(" WHERE ID = ?"), { target })
        || !query.next())
        return QString();
    return target;
}

} // namespace orvek
