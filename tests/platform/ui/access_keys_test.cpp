#include "platform/ui/access_keys.h"
#include "platform/ui/window_placement.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace orvek {
namespace {

// Every item of Menu with a text has a key, and no two share one.
void ExpectKeyedOnce(const QWidget& menu)
{
    QSet<QChar> keys;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator() || action->text().isEmpty())
            continue;
        const QChar key = AccessKey(action->text());
        EXPECT_FALSE(key.isNull()) << action->text().toStdString();
        EXPECT_FALSE(keys.contains(key)) << action->text().toStdString();
        keys.insert(key);
    }
}

class AccessKeys : public ::testing::Test {
protected:
    void SetUp() override { qApp->installEventFilter(&conventions); }
    void TearDown() override { qApp->removeEventFilter(&conventions); }
    WindowConventions conventions;
};

TEST(AccessKeyText, MarksAreReadAndRemovedAsQtShowsThem)
{
    const struct {
        const char* text;
        char key;
        const char* shown;
    } cases[] = {
        { "&File", 'F', "File" },
        { "Save &as", 'A', "Save as" },
        { "Tom && Jerry", 0, "Tom & Jerry" },
        { "R&&D &report", 'R', "R&D report" },
        { "plain", 0, "plain" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AccessKey(QString::fromLatin1(c.text)), c.key ? QChar(c.key) : QChar()) << c.text;
        EXPECT_EQ(WithoutAccessKey(QString::fromLatin1(c.text)), QString::fromLatin1(c.shown)) << c.text;
    }
}

TEST_F(AccessKeys, MenuItemsGetKeysUniqueInEachMenuTheyStandIn)
{
    QMenuBar bar;
    QMenu* file = bar.addMenu(QStringLiteral("File"));
    QMenu* format = bar.addMenu(QStringLiteral("Format"));
    bar.addMenu(QStringLiteral("Fonts && colours")); // a text written with a literal '&'
    auto* shared = new QAction(QStringLiteral("Print"), &bar);
    file->addActions({ new QAction(QStringLiteral("Paste"), file), new QAction(QStringLiteral("Save & close"), file),
        new QAction(QStringLiteral("Pr&operties"), file), shared });
    file->addSeparator();
    format->addActions({ new QAction(QStringLiteral("Page"), format), shared,
        new QAction(QString::fromUtf8("\xC4\x8C\xC3\xADslo"), format) }); // "Číslo"
    QMenu context;
    context.addActions(
        { new QAction(QStringLiteral("Zoom in"), &context), new QAction(QStringLiteral("Zoom out"), &context) });
    QApplication::processEvents();

    for (const QWidget* menu : std::initializer_list<const QWidget*> { &bar, file, format, &context }) {
        SCOPED_TRACE(menu->metaObject()->className());
        ExpectKeyedOnce(*menu);
    }
    EXPECT_EQ(WithoutAccessKey(bar.actions()[2]->text()), QStringLiteral("Fonts && colours"));
    EXPECT_EQ(WithoutAccessKey(file->actions()[1]->text()), QStringLiteral("Save & close"));
    EXPECT_EQ(file->actions()[2]->text(), QStringLiteral("Pr&operties")); // its own key kept
    EXPECT_EQ(format->actions()[2]->text(), QString::fromUtf8("\xC4\x8C\xC3\xAD&slo")); // a Latin letter first

    // New texts (another language) get keys again; texts not changed keep theirs.
    const QString paste = file->actions()[0]->text();
    file->actions()[1]->setText(QStringLiteral("Uložiť"));
    file->setTitle(QStringLiteral("Súbor"));
    QApplication::processEvents();
    EXPECT_EQ(file->actions()[0]->text(), paste);
    ExpectKeyedOnce(bar);
    ExpectKeyedOnce(*file);
}

TEST_F(AccessKeys, EachItemKeepsItsFirstFreeLetterAndOnlyAnItemLeftWithoutTakesAnothersLetter)
{
    QMenuBar bar;
    for (const char* title : { "File", "Measurement", "View", "Edit", "Validation", "Main administrator", "Help" })
        bar.addMenu(QString::fromLatin1(title));
    QMenu crowded;
    // "Ab" takes A and "Bc" B; "AB" finds none free, so "Ab" moves on to B and "Bc" to C.
    crowded.addActions({ new QAction(QStringLiteral("Ab"), &crowded), new QAction(QStringLiteral("Bc"), &crowded),
        new QAction(QStringLiteral("AB"), &crowded) });
    QApplication::processEvents();
    QString keys;
    for (const QAction* action : bar.actions())
        keys += AccessKey(action->text());
    EXPECT_EQ(keys, QStringLiteral("FMVEAIH"));
    keys.clear();
    for (const QAction* action : crowded.actions())
        keys += AccessKey(action->text());
    EXPECT_EQ(keys, QStringLiteral("BCA"));
}

TEST_F(AccessKeys, TheLabelsOfFieldsTakeTheFieldAsBuddyWithAKeyUniqueWhereItWorks)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* name = new QLineEdit;
    auto* unit = new QComboBox;
    form->addRow(QStringLiteral("Name:"), name);
    form->addRow(QStringLiteral("Number:"), unit);
    layout->addLayout(form);
    auto* pages = new QTabWidget;
    QLabel* onPage[2] = {};
    QLineEdit* fieldOnPage[2] = {};
    for (int i = 0; i < 2; ++i) {
        auto* page = new QWidget;
        auto* grid = new QGridLayout(page);
        onPage[i] = new QLabel(QStringLiteral("Note"));
        fieldOnPage[i] = new QLineEdit;
        grid->addWidget(onPage[i], 0, 0);
        grid->addWidget(fieldOnPage[i], 0, 1);
        pages->addTab(page, QStringLiteral("Page %1").arg(i));
    }
    layout->addWidget(pages);
    auto* caption = new QLabel(QStringLiteral("A caption with nothing to name"));
    layout->addWidget(caption);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("&Notes"), QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    auto* nameLabel = qobject_cast<QLabel*>(form->labelForField(name));
    auto* unitLabel = qobject_cast<QLabel*>(form->labelForField(unit));
    EXPECT_EQ(nameLabel->buddy(), name);
    EXPECT_EQ(unitLabel->buddy(), unit);
    // The button has N: the labels take their next free letters.
    EXPECT_EQ(nameLabel->text(), QStringLiteral("N&ame:"));
    EXPECT_EQ(unitLabel->text(), QStringLiteral("N&umber:"));
    // The pages' labels may share a key with each other, not with the window's.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(onPage[i]->buddy(), fieldOnPage[i]);
        EXPECT_EQ(onPage[i]->text(), QStringLiteral("N&ote"));
    }
    EXPECT_EQ(caption->buddy(), nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("A caption with nothing to name"));

    // Alt with the key moves to the field.
    QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
    EXPECT_TRUE(unit->hasFocus());

    // A new text gets its key at the next showing.
    dialog.hide();
    nameLabel->setText(QStringLiteral("Názov:"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(nameLabel->text(), QStringLiteral("Ná&zov:"));
}

} // namespace
} // namespace orvek
