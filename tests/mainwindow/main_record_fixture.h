#pragma once
// A data module with three records of a small model (y = a + b) and the main window's
// document over them; helpers read the records back as another workstation would.

#include "database/diagram_store.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "mainwindow/main_document.h"
#include "mainwindow/main_tick.h"
#include "platform/db_session.h"
#include "tests/support/user_database_fixture.h"

#include <QBuffer>

namespace orvek::test {

// The diagram text of y = a + b with input a of value A.
inline QString ModelText(const QString& a)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    info.Equation = "y = a + b";
    info.NormalizedEquation = "y=a+b";
    TCell root(nullptr, info, 0, 0, nullptr);
    for (const auto& [symbol, value] : { std::pair { QString("a"), a }, std::pair { QString("b"), QString("2") } }) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.Value = value;
        root.AddChild(q);
    }
    StoreCellComments = true;
    return root.SaveToText() + "\r\n";
}

// Input a of a stored diagram text; "?" when the text does not read.
inline QString ValueOfA(const QString& text)
{
    TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!root.LoadFromDevice(buffer) || root.ChildCount() < 1)
        return "?";
    return root.Child(0)->FValue.Text;
}

class MainRecords : public UserDatabase {
protected:
    void SetUp() override
    {
        UserDatabase::SetUp();
        DataModule1 = module.get();
        eva = AddUser("eva", "heslo1", 3);
        jan = AddUser("jan", "heslo2", 3, 1, 1, QString::fromUtf8("Ján"), QString::fromUtf8("Kráľ"));
        for (const char* a : { "1", "10", "100" })
            ids << AddRecord(ModelText(a));
        CurrentUserID = eva;
        CurrentUserRights = 3;
        CurrentGroupID = 1;
        CurrentRecordID = 0;
        CurrentDiagramKind = false;
        CellTreeChanged = TreeLoadInProgress = false;
        ClearCellCommands();
        DialogScript::Instance().Reset();
        ASSERT_TRUE(document.CreateUndoTable());
    }
    void TearDown() override
    {
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        DialogScript::Instance().Reset();
        document.DropUndoTable();
        FreeCellTree(document.RootCell);
        DataModule1 = nullptr;
        CellTreeChanged = TreeLoadInProgress = false;
        ClearCellCommands();
        UserDatabase::TearDown();
    }
    static int AddRecord(const QString& text)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        EXPECT_TRUE(
            ExecBound(query, "INSERT INTO TreeDB (GroupID, NazovMerania, Strom) VALUES (1, 'meranie', ?)", { text }));
        return query.lastInsertId().toInt();
    }
    static void Exec(const QString& sql, const QVariantList& values)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, sql, values));
    }
    static QString StoredA(int id) { return ValueOfA(Row("TreeDB", id)["Strom"].toString()); }
    static int LockOwner(int id) { return Row("TreeDB", id)["OpenedByUserID"].toInt(); }
    static int HistoryRows(int id)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        return ExecBound(query, "SELECT count(*) FROM History WHERE DiagramID = ?", { id }) && query.next()
            ? query.value(0).toInt()
            : -1;
    }

    // What the record view's loader does: the record's text into the tree and its
    // change counter remembered.
    TRecordLoad Load(int id)
    {
        QString text, error;
        qint64 counter = -1;
        QSqlDatabase db = DataModule1->SessionOrvek().Database(AliasDB, false, &error);
        bool ok = ReadDiagramText(db, "TreeDB", id, text, counter, &error);
        LoadedItemChangeCounter = ok ? counter : -1;
        ok = ok && document.LoadText(text, &error);
        return { ok, error, {} };
    }
    // Shows record ID as the tick does after a grid move.
    void Show(int id)
    {
        CurrentRecordID = id;
        const TRecordLoad load = Load(id);
        document.RecordLoaded(load.Loaded, load.Error);
    }
    // The user changes input a of the shown tree; the tree reports the change.
    void Edit(const QString& value)
    {
        document.RootCell->Child(0)->FValue.Text = value;
        CellTreeChanged = true;
    }
    QString ShownA() const { return document.RootCell ? document.RootCell->Child(0)->FValue.Text : "-"; }

    TMainDocument document;
    int eva = 0, jan = 0;
    QVector<int> ids;
};

} // namespace orvek::test
