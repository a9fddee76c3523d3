// Pictures of the folder picker and the history browser for looking at them: written
// only when ORVEK_SHOTS names a folder (run under xvfb-run with QT_QPA_PLATFORM=xcb).

#include "database/self_validation.h"
#include "database/ui/administrator_window.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/history_window.h"
#include "database/ui/input_search_string.h"
#include "database/ui/list_of_folders.h"
#include "database/ui/validation_history.h"
#include "tests/database/ui/folder_tree_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace orvek;

namespace {

class Screenshots : public test::FolderDatabase {
protected:
    void SetUp() override
    {
        folder = qEnvironmentVariable("ORVEK_SHOTS");
        if (folder.isEmpty())
            GTEST_SKIP() << "ORVEK_SHOTS is not set";
        test::FolderDatabase::SetUp();
        CurrentUserRights = 1;
        CurrentGroupID = 1;
        AddFolders({ { "2", "0", "Laboratórium hmotnosti" }, { "3", "2", "Váhy" }, { "4", "3", "Analytické váhy" },
            { "5", "3", "Mostové váhy" }, { "6", "2", "Závažia" }, { "7", "0", "Teplota" }, { "8", "7", "Teplomery" },
            { "9", "8", "Odporové teplomery Pt100" } });
        const char* rows[][6] = {
            { "2026-02-01", "09:30:15.000", "Ján Kráľ", "[cf3]Kalibrácia váh[cf1];rtab[cf2]m[cf1] = 100 g",
                "[cf3]Kalibrácia váh[cf1];rtab[cf2]m[cf1] = 100,002 g" },
            { "2026-03-09", "08:00:00.000", "Eva Nová", "u([cf2]m[cf1]) = 0,5 mg, [cf2]k[cf1] = 2",
                "u([cf2]m[cf1]) = 0,6 mg, [cf2]k[cf1] = 2" },
            { "2026-03-09", "10:12:41.000", "Eva Nová", "Zdroj neistoty: [cf2]opakovateľnosť[cf1]",
                "Zdroj neistoty: [cf2]opakovateľnosť[cf1] (10 meraní), s = 0,12 mg" },
        };
        for (const auto& row : rows)
            OtherExec("INSERT INTO History (GroupID, PracovnikID, DiagramID, Datum, Cas, OriginalValues, NewValues, "
                      "PracovnikMeno, DiagramName) VALUES (1, 2, 7, ?, ?, ?, ?, ?, ?)",
                { row[0], row[1], QString::fromUtf8(row[3]), QString::fromUtf8(row[4]), QString::fromUtf8(row[2]),
                    QString::fromUtf8("Kalibrácia analytických váh") });
    }
    void Save(QWidget& widget, const QString& name)
    {
        QTest::qWait(300);
        widget.grab().save(folder + "/" + name + (LanguageID == 0 ? "-en" : "-sk") + ".png");
    }
    QString folder;
};

} // namespace

TEST_F(Screenshots, FolderPickerAndHistoryBrowser)
{
    for (quint8 language : { 0, 1 }) {
        LanguageID = language;
        {
            TfListOfFolders picker;
            picker.setWindowTitle(language == 0 ? "Move to folder" : QString::fromUtf8("Presunúť do priečinka"));
            picker.IDTable->TableName = "MeasureID1";
            picker.show();
            picker.OpenFolders(0, "TreeDB", "4", "IDDB1");
            Save(picker, "folder-picker");
        }
        {
            TfHistory1 history;
            history.HistorySQL = "SELECT * FROM History WHERE DiagramID = ? ORDER BY Datum, Cas";
            history.HistoryValues = { 7 };
            history.show();
            history.ShowHistory(0, 7);
            Save(history, "history");
        }
        {
            TfEditRecordHead head;
            head.setWindowTitle(language == 0 ? "Copy of the record" : QString::fromUtf8("Kópia záznamu"));
            head.Label_Nazov->setText(language == 0 ? "Name of the measurement" : QString::fromUtf8("Názov merania"));
            head.show();
            Save(head, "record-head");
            TfInputSearchString1 search;
            search.Label_SearchString->setText(
                language == 0 ? "Name of the measurement" : QString::fromUtf8("Názov merania"));
            search.show();
            Save(search, "search");
            auto* validation = new TfValidationHistory;
            validation->show();
            Save(*validation, "validation-history");
            validation->close();
        }
    }
}

// The users window over users of all three rights and an inactive one, and the
// validation history after a run of the self-validation.
TEST_F(Screenshots, UsersWindowAndValidationHistory)
{
    CurrentUserID = 1;
    AddUser("jkral", "abc123", 2, 1, 1, QString::fromUtf8("Ján"), QString::fromUtf8("Kráľ"));
    AddUser("enova", "abc123", 3, 1, 1, "Eva", QString::fromUtf8("Nová"));
    AddUser("pstary", "abc123", 3, 1, 0, "Peter", QString::fromUtf8("Starý"));
    SelfValidationHook = SelfValidation;
    for (quint8 language : { 0, 1 }) {
        LanguageID = language;
        {
            TfAdministrator users;
            users.FillGroupCombos();
            users.show();
            Save(users, "users");
        }
        auto* validation = new TfValidationHistory;
        validation->show();
        validation->Button_Validation->click();
        Save(*validation, "validation-run");
        validation->close();
    }
    SelfValidationHook = nullptr;
}
