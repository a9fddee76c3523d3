#include "database/template_layout.h"
#include "database/template_window_texts.h"
#include "database/template_zoom.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

TEST(TemplateLayout, GridColumnsComeFromTheStoredLayoutAndGoBackIntoIt)
{
    TTableInfo info;
    info.order = { 5, 2, 3, 4, 9 };
    info.width = { 150, 80, 95, 60, 7 };
    const TTemplateGridColumns columns = TemplateColumnsFromLayout(info);
    EXPECT_EQ(columns.Fields, (std::array<int, 4> { 5, 2, 3, 4 }));
    EXPECT_EQ(columns.Widths, (std::array<int, 4> { 150, 80, 95, 60 }));

    TTableInfo stored;
    stored.order[4] = 11;
    stored.width[4] = 12;
    StoreTemplateColumns(columns, stored);
    const TTableInfo read = TTableInfo::FromBytes(stored.ToBytes());
    EXPECT_TRUE(read.HasCurrentTag());
    EXPECT_EQ(read.order, (std::array<qint32, 5> { 5, 2, 3, 4, 11 }));
    EXPECT_EQ(read.width, (std::array<qint32, 5> { 150, 80, 95, 60, 12 }));

    // A layout that does not name four different shown fields gives the defaults.
    for (const std::array<qint32, 5>& order :
        { std::array<qint32, 5> { 3, 3, 4, 5, 0 }, { 1, 2, 3, 4, 0 }, { 3, 4, 5, 6, 0 } }) {
        info.order = order;
        const TTemplateGridColumns fallback = TemplateColumnsFromLayout(info);
        EXPECT_EQ(fallback.Fields, (std::array<int, 4> { 3, 4, 5, 2 }));
        EXPECT_EQ(fallback.Widths, (std::array<int, 4> { 90, 56, 106, 81 }));
    }
}

TEST(TemplateLayout, SortKeysFollowTheColumnsAndTheSearchNeedsTheNameFirst)
{
    const QVector<int> fields = SortFieldsFromColumnFields({ "MainEquation", "TemplateName", "ID", "CreatedBy" });
    EXPECT_EQ(fields, QVector<int>({ 5, 3, 2 }));
    const TSortKeys keys = TemplateSortKeys(MakeTemplateGridDescriptors(), fields);
    EXPECT_EQ(keys.FieldNumbers, QVector<int>({ 5, 3, 2 }));
    EXPECT_EQ(keys.SortOrders, QVector<int>({ 0, 0, 0 }));
    EXPECT_EQ(keys.CaseInsensitive, QVector<bool>({ true, true, true }));
    EXPECT_EQ(TemplateSortKeys(MakeTemplateGridDescriptors(), { 1 }).CaseInsensitive, QVector<bool>({ false }));

    EXPECT_TRUE(TemplateSearchAllowed("TemplateName"));
    EXPECT_FALSE(TemplateSearchAllowed("CreatedBy"));
    // Titles follow the field, wherever the column stands.
    EXPECT_EQ(TemplateColumnTitleText("CreatedBy"), 381);
    EXPECT_EQ(TemplateColumnTitleText("TemplateName"), 383);
    EXPECT_EQ(TemplateColumnTitleText("CreateDate"), 332);
    EXPECT_EQ(TemplateColumnTitleText("MainEquation"), 382);
    EXPECT_EQ(TemplateColumnTitleText("ID"), 0);
}

TEST(TemplateLayout, SavedPanelSizesAreTakenOnlyWithinTheirRoom)
{
    const struct {
        int saved, minimum, current, neighbour, width, height;
    } cases[] = {
        { 200, 100, 150, 100, 200, 200 }, // within the room
        { 250, 100, 150, 100, 250, 250 }, // exactly the panel and its neighbour
        { 251, 100, 150, 100, 120, 100 }, // larger than the room
        { 99, 100, 150, 100, 120, 100 }, // below the minimum
        { 0, 83, 150, 100, 99, 83 }, // nothing saved: Trunc(83 x 1.2)
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RestoredPanelWidth(c.saved, c.minimum, c.current, c.neighbour), c.width) << c.saved;
        EXPECT_EQ(RestoredPanelHeight(c.saved, c.minimum, c.current, c.neighbour), c.height) << c.saved;
    }
}

class TemplateZoom : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZoomCoefficient = 1.0;
        ZoomPresetIndex = 3;
        ZoomStep = 0.1;
        ZoomPresetFactors = { 1.0f, 0.5f, 0.85f, 1.0f, 1.5f, 2.0f };
    }
    void TearDown() override { SetUp(); }
};

TEST_F(TemplateZoom, StepsStopAtTheBoundsAndTheWindowKeepsItsOwnZoom)
{
    TTemplateZoom zoom;
    ZoomCoefficient = 2.75;
    int steps = 0;
    while (zoom.ZoomIn())
        ++steps;
    EXPECT_EQ(steps, 3); // 2.85, 2.95, 3.0
    EXPECT_DOUBLE_EQ(ZoomCoefficient, 3.0);
    EXPECT_FALSE(zoom.CanZoomIn());
    EXPECT_TRUE(zoom.CanZoomOut());
    EXPECT_EQ(ZoomPresetIndex, 0);
    EXPECT_DOUBLE_EQ(zoom.SavedZoom, 3.0);

    ZoomCoefficient = 1.0;
    steps = 0;
    while (zoom.ZoomOut())
        ++steps;
    EXPECT_EQ(steps, 7);
    EXPECT_DOUBLE_EQ(ZoomCoefficient, 0.3);
    EXPECT_FALSE(zoom.CanZoomOut());
    EXPECT_EQ(ZoomCaption("Templates"), "Templates (30%)");

    // The main window changes the shared zoom; the template window takes its own back.
    ZoomPresetIndex = 2;
    zoom.ApplyPreset();
    EXPECT_NEAR(ZoomCoefficient, 0.85, 1e-6);
    EXPECT_EQ(ZoomCaption("T"), "T (85%)");
    ZoomCoefficient = 1.5;
    ZoomPresetIndex = 4;
    EXPECT_TRUE(zoom.RestoreOwnZoom());
    EXPECT_NEAR(ZoomCoefficient, 0.85, 1e-6);
    EXPECT_EQ(ZoomPresetIndex, 2);
    EXPECT_FALSE(zoom.RestoreOwnZoom());
}

class TemplateTexts : public ::testing::Test {
protected:
    void SetUp() override { CommonInit(); }
    void TearDown() override
    {
        LanguageID = EditionFlag;
        CommonDone();
    }
};

TEST_F(TemplateTexts, EveryTextOfTheWindowExistsInEveryLanguage)
{
    QSet<QString> names;
    QVector<int> numbers = TemplateNavigatorHintTexts();
    numbers << kTemplateWindowCaptionText << 609 << 405 << 1013;
    for (int id = 21700; id <= 21711; ++id)
        numbers << id;
    for (const QString field : { "CreatedBy", "TemplateName", "CreateDate", "MainEquation" })
        numbers << TemplateColumnTitleText(field);
    for (const TWindowText& entry : TemplateWindowTexts()) {
        EXPECT_FALSE(names.contains(entry.ObjectName)) << entry.ObjectName;
        names.insert(entry.ObjectName);
        for (int id : { entry.Caption, entry.Hint })
            if (id)
                numbers << id;
    }
    for (quint8 language : { 0, 1, 2 }) {
        LanguageID = language;
        for (int id : numbers)
            EXPECT_FALSE(GetString(id).isEmpty()) << "text " << id << " in language " << int(language);
    }
}

TEST_F(TemplateTexts, ComposedCaptionsAndTheFooter)
{
    LanguageID = 0;
    for (const TWindowText& entry : TemplateWindowTexts()) {
        const QString name = entry.ObjectName;
        if (name == "ActionBrantel_HomePage") {
            EXPECT_EQ(WindowTextCaption(entry), ProgramName + " " + GetString(804));
            EXPECT_EQ(WindowTextHint(entry), WindowTextCaption(entry));
        } else if (name == "ActionAboutProgram") {
            EXPECT_EQ(WindowTextCaption(entry), GetString(408) + " " + ProgramName);
            EXPECT_TRUE(WindowTextHint(entry).isEmpty());
        } else if (name == "ActionZvyraznitLenNenaplnene") {
            EXPECT_EQ(WindowTextCaption(entry), GetString(65));
            EXPECT_EQ(WindowTextHint(entry), GetString(66));
        } else if (name == "ComboBox_Zoom") {
            EXPECT_TRUE(WindowTextCaption(entry).isEmpty());
            EXPECT_EQ(WindowTextHint(entry), GetString(805));
        }
    }
    EXPECT_EQ(TemplatePageNumberText(), GetString(609) + " %d");
    UpdatePreviewFooterVersion();
    EXPECT_EQ(PreviewFooterVersion, "Orvek2010 (Version: 5.32)");
    EXPECT_EQ(PreviewFooterText(), PreviewFooterVersion + ".new_row." + PreviewFooterNotice);
    EXPECT_FALSE(PreviewFooterNotice.isEmpty());
    LanguageID = 1;
    UpdatePreviewFooterVersion();
    EXPECT_EQ(PreviewFooterVersion, "Orvek2010 (Verzia: 5.32)");
}

} // namespace
