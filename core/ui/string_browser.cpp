#include "core/ui/string_browser.h"
#include "core/ui/tool_icons.h"

#include "core/string_table.h"
#include "core/ui/edit_strings.h"
#include "core/ui/ui_text.h"
#include "platform/collation.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"
#include "platform/ui/window_placement.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

// The only column names that may reach the SQL text of the list.
const QStringList kTableColumns { QStringLiteral("ID"), QStringLiteral("StringID"), QStringLiteral("English"),
    QStringLiteral("Slovak"), QStringLiteral("Czech") };

// Model columns after the two grid columns; hidden.
constexpr int kIdColumn = 2;

// The title of a language column in the program's language.
QString ColumnTitle(const QString& column)
{
    if (column == QLatin1String("English"))
        return UiText(23800, column);
    if (column == QLatin1String("Slovak"))
        return UiText(23801, column);
    return column;
}

int ColumnWidth(const QString& column)
{
    return column == QLatin1String("English") ? 240 : 253;
}

} // namespace

TfOrvek2::TfOrvek2(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fOrvek2"));
    Q_Strings = new QSqlQueryModel(this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(Q_Strings);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->setVisible(false);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);
    DBGrid1->horizontalHeader()->setSectionsMovable(true);
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->installEventFilter(this);
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionMoved, this, [this] { ColumnMoved(); });
    connect(DBGrid1, &QTableView::doubleClicked, this, [this] { EditCurrentRow(); });

    PopupMenu1 = new QMenu(this);
    ExportStringIDID1 = PopupMenu1->addAction(QStringLiteral("Export <StringID = ID>"));
    ExportStringIDID1->setObjectName(QStringLiteral("ExportStringIDID1"));
    connect(ExportStringIDID1, &QAction::triggered, this, [] {
        QString error;
        if (!ExportStringIDs(&error))
            ShowMessage(error);
    });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(at)); });

    auto button = [this](const char* name, int row) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(NavigatorIcon(row));
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, row] {
            const int count = Q_Strings->rowCount();
            const int current = DBGrid1->currentIndex().row();
            switch (row) {
            case 0:
                MoveTo(0);
                break;
            case 1:
                MoveTo(std::max(current - 1, 0));
                break;
            case 2:
                MoveTo(std::min(current + 1, count - 1));
                break;
            default:
                MoveTo(count - 1);
            }
        });
        return b;
    };
    NavFirst = button("NavFirst", 0);
    NavPrior = button("NavPrior", 1);
    NavNext = button("NavNext", 2);
    NavLast = button("NavLast", 3);
    Panel_RecNo = new QLabel(this);
    Panel_RecNo->setObjectName(QStringLiteral("Panel_RecNo"));
    Panel_RecNo->setFrameShape(QFrame::StyledPanel);
    Panel_RecNo->setMinimumWidth(110);
    Panel_RecNo->setAlignment(Qt::AlignCenter);

    auto* bar = new QHBoxLayout;
    for (QToolButton* b : { NavFirst, NavPrior, NavNext, NavLast })
        bar->addWidget(b);
    bar->addStretch();
    bar->addWidget(Panel_RecNo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(DBGrid1);
    resize(560, 520);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TfOrvek2::Timer1Timer);
}

TfOrvek2::~TfOrvek2()
{
    if (fOrvek2 == this)
        fOrvek2 = nullptr;
}

void TfOrvek2::OpenStringList(int id)
{
    const QString first = columnOrder_.value(0);
    QSqlDatabase db = OpenFolderDatabase(QString::fromLatin1(kStringsConnection), StringTableFolder(), false);
    QStringList select;
    for (const QString& column : columnOrder_ + QStringList { "ID", "StringID", "Czech" })
        if (kTableColumns.contains(column))
            select << QuoteName(column);
    QSqlQuery query(db);
    if (db.isOpen() && kTableColumns.contains(first)) {
        query.prepare(
            QStringLiteral("SELECT %1 FROM Strings ORDER BY %2 COLLATE %3, ID")
                .arg(select.join(QStringLiteral(", ")), QuoteName(first), QString::fromLatin1(kSlovakCollation)));
        query.exec();
    }
    Q_Strings->setQuery(std::move(query));
    while (Q_Strings->canFetchMore())
        Q_Strings->fetchMore();

    QHeaderView* header = DBGrid1->horizontalHeader();
    {
        // The model now carries the columns in the grid's order; the header shows them
        // as they come.
        const QSignalBlocker block(header);
        for (int logical = 0; logical < Q_Strings->columnCount(); ++logical)
            if (header->visualIndex(logical) != logical)
                header->moveSection(header->visualIndex(logical), logical);
    }
    for (int column = 0; column < columnOrder_.size(); ++column)
        Q_Strings->setHeaderData(column, Qt::Horizontal, ColumnTitle(columnOrder_[column]));
    for (int column = 0; column < Q_Strings->columnCount(); ++column)
        DBGrid1->setColumnHidden(column, column >= kIdColumn);
    for (int column = 0; column < columnOrder_.size(); ++column)
        DBGrid1->setColumnWidth(column, ColumnWidth(columnOrder_[column]));

    int row = 0;
    if (id != 0)
        for (int r = 0; r < Q_Strings->rowCount(); ++r)
            if (Q_Strings->index(r, kIdColumn).data().toInt() == id) {
                row = r;
                break;
            }
    MoveTo(row);
    LastShownID = -1;
    Timer1Timer();

    setWindowTitle(ActionCaption);
    NavFirst->setToolTip(GetString(336));
    NavPrior->setToolTip(GetString(337));
    NavNext->setToolTip(GetString(338));
    NavLast->setToolTip(GetString(339));
    if (!Timer1->isActive())
        Timer1->start();
}

void TfOrvek2::MoveTo(int row)
{
    if (row < 0 || row >= Q_Strings->rowCount())
        return;
    const QModelIndex index = Q_Strings->index(row, 0);
    DBGrid1->setCurrentIndex(index);
    DBGrid1->scrollTo(index);
}

int TfOrvek2::CurrentID() const
{
    const QModelIndex current = DBGrid1->currentIndex();
    return current.isValid() ? Q_Strings->index(current.row(), kIdColumn).data().toInt() : 0;
}

QString TfOrvek2::ColumnOrderFromHeader() const
{
    const QHeaderView* header = DBGrid1->horizontalHeader();
    int best = -1, bestVisual = INT_MAX;
    for (int logical = 0; logical < columnOrder_.size(); ++logical)
        if (header->visualIndex(logical) < bestVisual) {
            bestVisual = header->visualIndex(logical);
            best = logical;
        }
    return best >= 0 ? columnOrder_[best] : QString();
}

void TfOrvek2::ColumnMoved()
{
    const QString first = ColumnOrderFromHeader();
    if (first.isEmpty())
        return;
    QStringList order { first };
    for (const QString& column : columnOrder_)
        if (column != first)
            order << column;
    columnOrder_ = order;
    // Reopened after the move has finished, sorted by the new first column.
    QTimer::singleShot(0, this, [this, id = CurrentID()] { OpenStringList(id); });
}

void TfOrvek2::Timer1Timer()
{
    const int id = CurrentID();
    if (id == LastShownID)
        return;
    const int row = DBGrid1->currentIndex().row();
    Panel_RecNo->setText(QStringLiteral("%1/%2").arg(row + 1).arg(Q_Strings->rowCount()));
    LastShownID = id;
}

void TfOrvek2::EditCurrentRow()
{
    const QModelIndex current = DBGrid1->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    const int id = CurrentID();
    const int englishColumn = int(columnOrder_.indexOf(QStringLiteral("English")));
    const int slovakColumn = int(columnOrder_.indexOf(QStringLiteral("Slovak")));
    const QString english = Q_Strings->index(row, englishColumn).data().toString();
    const QString slovak = Q_Strings->index(row, slovakColumn).data().toString();

    TfEditStrings* dialog = fEditStrings;
    std::unique_ptr<TfEditStrings> own;
    if (!dialog) {
        own = std::make_unique<TfEditStrings>(this);
        dialog = own.get();
    }
    dialog->Edit_English->setText(english);
    dialog->Edit_Slovak->setText(slovak);
    const OpenedFrom opened(dialog, this);
    if (dialog->exec() != QDialog::Accepted)
        return;
    const QString newEnglish = dialog->Edit_English->text();
    const QString newSlovak = dialog->Edit_Slovak->text();
    if (newEnglish == english && newSlovak == slovak)
        return;
    QString error;
    if (!UpdateStringTexts(id, newEnglish, newSlovak, &error)) {
        ShowMessage(error);
        return;
    }
    OpenStringList(id);
    StringsChanged = true;
}

bool TfOrvek2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Insert || key == Qt::Key_Delete)
            return true;
        if (key == Qt::Key_Down && DBGrid1->currentIndex().row() >= Q_Strings->rowCount() - 1)
            return true;
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EditCurrentRow();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfOrvek2::done(int result)
{
    Timer1->stop();
    Q_Strings->clear();
    QDialog::done(result);
}

} // namespace orvek
