#include "database/record_query.h"
#include "mainwindow/main_actions.h"
#include "mainwindow/main_texts.h"
#include "mainwindow/main_zoom.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

class MainZoom : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZoomCoefficient = 1.0;
        ZoomPresetIndex = 3;
        zoom.Remember();
    }
    void TearDown() override
    {
        ZoomCoefficient = 1.0;
        ZoomPresetIndex = 3;
        ZoomPresetFactors[0] = 1.0f;
        ZoomPresetTexts[0] = "100%";
    }
    TMainZoom zoom;
};

TEST_F(MainZoom, StepsCompareTheExactValueSoAnEighthStepDownShows20Percent)
{
    QStringList captions;
    while (zoom.ZoomOutEnabled) {
        ASSERT_TRUE(zoom.ZoomOut());
        captions << ZoomCaption("M");
    }
    EXPECT_EQ(captions.size(), 8);
    EXPECT_EQ(captions.last(), "M (20%)");
    EXPECT_EQ(captions[6], "M (30%)");
    EXPECT_EQ(ZoomPresetTexts[0], "  20%");
    EXPECT_EQ(ZoomPresetIndex, 0);
    EXPECT_EQ(zoom.FOwnZoom(), ZoomCoefficient);
    EXPECT_FALSE(zoom.ZoomOut());
    EXPECT_TRUE(zoom.ZoomInEnabled);

    ZoomCoefficient = 1.0;
    int steps = 0;
    while (zoom.ZoomInEnabled && steps < 100) {
        ASSERT_TRUE(zoom.ZoomIn());
        ++steps;
    }
    EXPECT_EQ(steps, 20);
    EXPECT_EQ(ZoomCaption("M"), "M (300%)");
    EXPECT_EQ(ZoomPresetTexts[0], "300%");
    EXPECT_TRUE(zoom.ZoomOutEnabled);
}

TEST_F(MainZoom, PresetsAndTheOwnZoomOfTheWindow)
{
    ZoomCoefficient = 1.0;
    zoom.ZoomOut();
    zoom.ZoomOut();
    const double free = ZoomCoefficient;
    // A preset, then the combo's entry 0 again: the last free value comes back.
    ZoomPresetIndex = 4;
    zoom.ApplyPreset();
    EXPECT_EQ(ZoomCoefficient, 1.5);
    EXPECT_EQ(zoom.FOwnZoomPreset(), 4);
    ZoomPresetIndex = 0;
    zoom.ApplyPreset();
    EXPECT_NEAR(ZoomCoefficient, free, 1e-6); // kept as a single-precision factor
    EXPECT_EQ(ZoomCaption("M"), "M (80%)");

    // The template window changed the shared zoom; the main window takes its own back.
    zoom.Remember();
    ZoomCoefficient = 2.0;
    ZoomPresetIndex = 5;
    EXPECT_TRUE(zoom.RestoreOwnZoom());
    EXPECT_EQ(ZoomPresetIndex, 0);
    EXPECT_NEAR(ZoomCoefficient, free, 1e-6); // kept as a single-precision factor
    EXPECT_EQ(ZoomPresetTexts[0], "  80%");
    EXPECT_FALSE(zoom.RestoreOwnZoom());
}

// The enabled or visible state of Name; -1 when not governed.
int StateOf(const QVector<TActionState>& states, const char* name, bool visible = false)
{
    const TActionState* state = FindActionState(states, name);
    if (!state)
        return -2;
    const std::optional<bool>& value = visible ? state->Visible : state->Enabled;
    return value ? int(*value) : -1;
}

TEST(MainActions, EnablingByRightsModeRowsAndSelection)
{
    const struct {
        int rights, mode, rows, selected;
        bool moreGroups, showAll;
        // expected: diagram actions, copy record, folder work, move records, user menus,
        // administrator menu visible, program strings visible, search
        int diagram, copy, folders, move, user, adminMenu, strings, search;
    } cases[] = {
        { 1, 1, 5, 1, false, false, 1, 1, 1, 1, 1, 1, 1, 1 },
        { 2, 1, 5, 3, true, false, 1, 0, 1, 1, 1, 1, 0, 1 },
        { 2, 1, 5, 1, true, true, 1, 1, 0, 0, 1, 1, 0, 1 },
        { 3, 1, 5, 1, false, false, 1, 1, 0, 0, 1, 0, 0, 1 },
        { 3, 2, 5, 1, false, false, 1, -1, 0, 0, 1, 0, 0, 1 },
        { 3, 0, 5, 1, false, false, 0, 0, 0, 0, 1, 0, 0, 1 },
        { 1, 1, 0, 0, false, false, 0, 0, 1, 0, 1, 1, 1, 0 },
        { 0, 0, 0, 0, false, false, 0, 0, 0, 0, 0, 0, 0, 0 },
        { 4, 1, 5, 1, false, false, 1, 1, 0, 0, 0, 0, 0, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("rights %1 mode %2 rows %3 selected %4")
                         .arg(c.rights)
                         .arg(c.mode)
                         .arg(c.rows)
                         .arg(c.selected)
                         .toStdString());
        TMainActionInputs in;
        in.Rights = c.rights;
        in.Mode = c.mode;
        in.QueryOpen = true;
        in.RowCount = c.rows;
        in.SelectedCount = c.selected;
        in.MoreGroupsOfFolders = c.moreGroups;
        in.ShowAllRecords = c.showAll;
        const QVector<TActionState> s = MainActionStates(in);
        for (const char* name : { "ActionEditovatObsahBunky", "ActionStromZmensit", "ComboBox_Zoom", "RichEdit_Rovnice",
                 "menuCopy", "ToolButton_PrintPreview", "ActionExportTreeToFileAs" })
            EXPECT_EQ(StateOf(s, name), c.diagram) << name;
        EXPECT_EQ(StateOf(s, "ActionUrobitKopiuZaznamu"), c.copy);
        EXPECT_EQ(StateOf(s, "ActionInsertNewFolder"), c.folders);
        EXPECT_EQ(StateOf(s, "ActionEnableDisableMultiselection"), c.folders);
        EXPECT_EQ(StateOf(s, "ActionMoveSelectedRecordTo"), c.move);
        EXPECT_EQ(StateOf(s, "aOdhlasenieUzivatela"), c.user);
        EXPECT_EQ(StateOf(s, "aChangeUserPassword"), c.user);
        EXPECT_EQ(StateOf(s, "MenuPomocnik"), c.user);
        EXPECT_EQ(StateOf(s, "menuAdministrator"), c.user);
        EXPECT_EQ(StateOf(s, "menuAdministrator", true), c.adminMenu);
        EXPECT_EQ(StateOf(s, "aHistory", true), c.adminMenu);
        EXPECT_EQ(StateOf(s, "ActionProgramoveStringy", true), c.strings);
        EXPECT_EQ(StateOf(s, "ActionSearchMeasurement"), c.search);
        EXPECT_EQ(StateOf(s, "Panel_Group_of_Folders", true), int(c.moreGroups));
        // The source template, undo and redo, the weighing imports.
        EXPECT_EQ(StateOf(s, "ActionShowSourceTemplateFromDB"), 0);
        EXPECT_EQ(StateOf(s, "ActionUndo"), 0);
        EXPECT_EQ(StateOf(s, "ActionImportDataForRegulationDiagram_Au", true), 0);
    }

    TMainActionInputs in;
    in.Rights = 3;
    in.QueryOpen = true;
    in.RowCount = 1;
    in.FromTemplateID = 4;
    in.OstrevinMode = true;
    in.UndoTableOpen = true;
    in.UndoRowCount = 3;
    const struct {
        int recNo, undo, redo;
    } undoCases[] = { { 3, 1, 0 }, { 2, 1, 1 }, { 1, 1, 1 } };
    for (const auto& u : undoCases) {
        in.UndoRecNo = u.recNo;
        const QVector<TActionState> s = MainActionStates(in);
        EXPECT_EQ(StateOf(s, "ActionUndo"), u.undo) << u.recNo;
        EXPECT_EQ(StateOf(s, "ActionRedo"), u.redo) << u.recNo;
        EXPECT_EQ(StateOf(s, "ActionShowSourceTemplateFromDB"), 1);
        EXPECT_EQ(StateOf(s, "ActionImportDataForRegulationDiagram_Ag", true), 1);
    }
    in.UndoTableOpen = false;
    EXPECT_EQ(StateOf(MainActionStates(in), "ActionRedo"), 0);
}

class MainTexts : public ::testing::Test {
protected:
    void SetUp() override { CommonInit(); }
    void TearDown() override
    {
        LanguageID = EditionFlag;
        CommonDone();
    }
};

TEST_F(MainTexts, EveryObjectHasItsTextInEveryLanguage)
{
    QVector<int> numbers = MainNavigatorHintTexts();
    numbers << kMainWindowCaptionText << 263 << 262 << 264 << 707 << 609 << 405 << 399 << 829;
    for (int id : { 115, 605, 648, 652, 708, 883, 668, 669, 670, 635, 344, 1102 })
        numbers << id;
    for (int id = 22100; id <= 22103; ++id)
        numbers << id;
    QSet<QString> names;
    for (const TWindowText& entry : MainWindowTexts()) {
        EXPECT_FALSE(names.contains(entry.ObjectName)) << entry.ObjectName;
        names.insert(entry.ObjectName);
        for (int id : { entry.Caption, entry.Hint })
            if (id)
                numbers << id;
    }
    TRecordGridDescriptors descriptors = MakeRecordGridDescriptors();
    for (quint8 language : { 0, 1, 2 }) {
        LanguageID = language;
        for (int id : numbers)
            EXPECT_FALSE(GetString(id).isEmpty()) << "text " << id << " in language " << int(language);
        SetRecordGridTitles(descriptors);
        for (int d = 3; d <= 7; ++d)
            EXPECT_FALSE(descriptors[size_t(d)].Title.isEmpty()) << d;
    }
    LanguageID = 0;
    for (const TWindowText& entry : MainWindowTexts()) {
        const QString name = entry.ObjectName;
        if (name == "ActionKestravaTechnicalSupport") {
            EXPECT_EQ(WindowTextHint(entry), ProgramName + " " + GetString(771));
        } else if (name == "ActionAboutProgram") {
            EXPECT_EQ(WindowTextCaption(entry), GetString(408) + " " + ProgramName);
        }
    }
    EXPECT_EQ(MainDialogTexts().ReportFilter, GetString(707) + "|*.rtf");
}

using MainLayout = MainTexts;

TEST_F(MainLayout, StoredColumnOrderWidthsTitlesAndSortFlags)
{
    LanguageID = 0;
    TTableInfo info;
    info.order = { 3, 6, 5, 4, 7 };
    info.width = { 111, 150, 60, 80, 90 };
    TRecordGridDescriptors descriptors = MakeRecordGridDescriptors();
    const TRecordGridColumns columns = RecordColumnsFromLayout(info, &descriptors);
    SetRecordGridTitles(descriptors);
    // Descriptor 3 in position 1: the first column shows SampleID under text 646, with
    // the stored width of position 1.
    const TDefaultFieldRec& first = descriptors[size_t(columns.Order[0])];
    EXPECT_EQ(first.FieldName, "SampleID");
    EXPECT_EQ(first.Title, GetString(646));
    EXPECT_EQ(columns.Widths[0], 111);
    EXPECT_EQ(first.Width, 111);
    EXPECT_EQ(RecordColumnTitle(descriptors, "NazovMerania"), GetString(333));
    EXPECT_TRUE(RecordColumnTitle(descriptors, "ID").isEmpty());

    const TRecordSortFlags flags = BuildSortFlags(descriptors, { 3, 6, 5, 4, 7 });
    EXPECT_EQ(flags.Directions, QVector<int>({ 0, 0, 0, 0, 0 }));
    EXPECT_EQ(flags.CaseFlags, QVector<int>({ 0, -1, -1, -1, -1 }));

    // A column moved by the user, and the layout stored back.
    EXPECT_EQ(RecordSortFieldsFromColumnFields(
                  descriptors, { "NazovMerania", "SampleID", "Datum", "MenoPracovnika", "NazovVzoru" }),
        QVector<int>({ 6, 3, 5, 4, 7 }));
    TTableInfo stored;
    StoreRecordColumns(columns, stored);
    const TTableInfo read = TTableInfo::FromBytes(stored.ToBytes());
    EXPECT_TRUE(read.HasCurrentTag());
    EXPECT_EQ(read.order, info.order);
    EXPECT_EQ(read.width, info.width);

    // A layout naming a descriptor twice or one outside 3 to 7 gives the default.
    for (const std::array<qint32, 5> order : { std::array<qint32, 5> { 3, 3, 5, 4, 7 }, { 2, 6, 5, 4, 7 } }) {
        info.order = order;
        const TRecordGridColumns fallback = RecordColumnsFromLayout(info);
        EXPECT_EQ(fallback.Order, (std::array<int, 5> { 6, 3, 5, 4, 7 }));
        EXPECT_EQ(fallback.Widths, (std::array<int, 5> { 69, 45, 58, 70, 50 }));
    }
}

TEST(MainPanels, WidthFallsBackToTheRoundedMinimum)
{
    const struct {
        int saved, minimum, current, neighbour, expected;
    } cases[] = {
        { 200, 150, 180, 400, 200 }, // fits
        { 100, 150, 180, 400, 180 }, // below the minimum
        { 700, 150, 180, 400, 180 }, // wider than the panel and its neighbour
        { 50, 83, 180, 400, 100 }, // 99.6 rounds up
        { 0, 142, 180, 400, 170 }, // 170.4 rounds down
    };
    for (const auto& c : cases)
        EXPECT_EQ(MainPanelWidth(c.saved, c.minimum, c.current, c.neighbour), c.expected) << c.saved;
}

} // namespace
