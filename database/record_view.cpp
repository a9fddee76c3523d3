#include "database/record_view.h"

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "core/services.h"
#include "database/data_module.h"
#include "database/diagram_row_counters.h"
#include "database/session.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace orvek {

TRecordView::TRecordView(DatabaseSession* session)
    : RecordGridDescriptors(MakeRecordGridDescriptors())
    , session_(session)
    , query_(session)
{
    query_.DatabaseName = AliasDB;
    query_.UsePrivateAnswerFolder(QStringLiteral("RecordList"));
}

TRecordView::~TRecordView()
{
    Close();
}

void TRecordView::Close()
{
    query_.Close();
    currentRow_ = -1;
}

void TRecordView::BuildTreeQuery()
{
    if (CurrentFolderID.isEmpty())
        CurrentFolderID = QString::fromLatin1(kUnassignedFolder);
    TRecordViewRequest request;
    request.UserRights = CurrentUserRights;
    request.CurrentUserID = CurrentUserID;
    request.ShownOwnerID = ShownOwnerID;
    request.GroupID = CurrentGroupID;
    request.ViewMode = RecordViewMode;
    request.FolderID = CurrentFolderID;
    request.FolderColumn = FolderColumn;
    request.SearchActive = SearchActive;
    request.SearchField = ColumnFields.value(0);
    request.SearchKind = SearchKind;
    request.SearchText = SearchText;
    int owner = ShownOwnerID;
    if (BuildRecordStatement(request, TreeSQL, &owner))
        ShownOwnerID = owner;
    // The status bar names whose records the list shows.
    if (MainWindowService* window = MainWindow()) {
        const std::array<QString, 4> texts = CurrentStatusBarTexts(ShownOwnerID);
        window->SetStatusBarTexts(QStringList(texts.begin(), texts.end()));
    }
}

bool TRecordView::ApplyTreeQuery(QString* error)
{
    Close();
    if (TreeSQL.Sql.isEmpty())
        return false;
    query_.SQL = TreeSQL.Sql;
    query_.Params = TreeSQL.Values;
    return query_.Open(error);
}

void TRecordView::RefreshGrid(int recordID)
{
    MainTimerPause pause;
    RecordGridSortFields = RecordSortFieldsFromColumnFields(RecordGridDescriptors, ColumnFields);
    MainWindowService* window = MainWindow();
    if (RowCount() == 0) {
        GridRecordCount = 0;
        currentRow_ = -1;
        if (window) {
            window->ClearDiagram();
            window->ResetUndo();
            window->RefreshEquationsPage();
        }
    } else {
        const TSortKeys keys = RecordSortKeys(RecordGridDescriptors, RecordGridSortFields);
        int sorted = 0;
        if (!keys.FieldNumbers.isEmpty())
            query_.SortAnswerTable(
                int(keys.FieldNumbers.size()), keys.FieldNumbers, keys.SortOrders, keys.CaseInsensitive, sorted);
        GridRecordCount = RowCount();
        int id = recordID;
        currentRow_ = LocateRecord(id);
        if (currentRow_ < 0)
            currentRow_ = 0;
    }
    SearchEnabled = RecordSearchAllowed(ColumnFields.value(0));
}

void TRecordView::RefreshRecordView()
{
    MainTimerPause pause;
    MainWindowService* window = MainWindow();
    // The shown record is left through the timer's own path, so its lock is released
    // and a modified or undone state is saved instead of being dropped.
    if (window) {
        if (window->FModified())
            window->SaveRecordDiagram();
        window->RequestRecordReload();
    }
    BuildTreeQuery();
    ApplyTreeQuery();
    RefreshGrid(0);
}

int TRecordView::LocateRecord(int& recordID)
{
    const int count = RowCount();
    if (recordID == 0) {
        if (count == 0)
            return -1;
        recordID = RowID(0);
        return 0;
    }
    for (int row = 0; row < count; ++row)
        if (RowID(row) == recordID)
            return row;
    return -1;
}

QString TRecordView::FolderOfRecord(int recordID)
{
    if (!IsFolderColumn(FolderColumn) || !session_)
        return QString();
    QSqlDatabase db = session_->Database(AliasDB);
    QSqlQuery query(db);
    if (db.isOpen()
        && ExecBound(query,
            QStringLiteral("SELECT ") + QuoteName(FolderColumn) + QStringLiteral(" FROM TreeDB WHERE ID = ?"),
            { recordID })
        && query.next())
        return query.value(0).toString();
    return QString();
}

int TRecordView::RowCount()
{
    return query_.RowCount();
}

QVariant TRecordView::Field(int row, int field)
{
    return query_.Field(row, field);
}

} // namespace orvek
