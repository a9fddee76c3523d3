#include "mainwindow/ui/list_of_variables_units.h"

#include "core/common_vars.h"
#include "core/logs.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/query_rows_model.h"
#include "database/ui/vx_db_grid.h"
#include "mainwindow/quantity_catalogue.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/dialogs.h"
#include "platform/ui/dialog_buttons.h"
#include "platform/ui/window_placement.h"
#include "richtext/markup_read.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace orvek {

namespace {

// Draws a grid cell's text as mark-up, trimmed and left-aligned, on the cell's own
// background.
class MarkupCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text.trimmed();
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        painter->save();
        painter->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
        painter->setPen(opt.palette.color(
            QPalette::Normal, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        DrawMarkupText(*painter, 0, text, opt.rect.adjusted(2, 0, -2, 0));
        painter->restore();
    }
};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

TVxDBGrid* MakeGrid(QWidget* parent, const char* name, QueryRowsModel* model)
{
    auto* grid = new TVxDBGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setItemDelegate(new MarkupCellDelegate(grid));
    grid->verticalHeader()->setVisible(false);
    // One line of the cells' font, with room for sub- and superscripts.
    grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(QFont(QStringLiteral("MS Sans Serif"), 8)).height() + 8);
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return grid;
}

int CurrentRowOf(const TVxDBGrid* grid, const QueryRowsModel* model)
{
    const QModelIndex index = grid->currentIndex();
    return index.isValid() && index.row() < model->RecordCount() ? index.row() : -1;
}

void SelectRow(TVxDBGrid* grid, int row)
{
    if (row < 0 || row >= grid->model()->rowCount()) {
        grid->setCurrentIndex(QModelIndex());
        return;
    }
    grid->setCurrentIndex(grid->model()->index(row, 0));
    grid->selectRow(row);
}

} // namespace

TfListOfVariablesUnits::TfListOfVariablesUnits(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fListOfVariablesUnits"));
    setSizeGripEnabled(true);
    resize(520, 420);

    Q_Veliciny = new QueryRowsModel(this);
    Q_Veliciny->SetShownFields({ QStringLiteral("Velicina") });
    T_Jednotky = new QueryRowsModel(this);
    T_Jednotky->SetShownFields({ QStringLiteral("Jednotky") });

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);

    Panel_Veliciny = new QWidget(Splitter1);
    Panel_Veliciny->setObjectName(QStringLiteral("Panel_Veliciny"));
    Panel_Veliciny->setMinimumWidth(193);
    VxDBGrid_Velicina = MakeGrid(Panel_Veliciny, "VxDBGrid_Velicina", Q_Veliciny);
    SpeedButton4 = MakeButton(Panel_Veliciny, "SpeedButton4", QStringLiteral("+"));
    SpeedButton_EditovatVelicinu = MakeButton(Panel_Veliciny, "SpeedButton_EditovatVelicinu", QStringLiteral("\u270E"));
    SpeedButton_VymazatVelicinu = MakeButton(Panel_Veliciny, "SpeedButton_VymazatVelicinu", QStringLiteral("\u2715"));
    auto* quantityButtons = new QHBoxLayout;
    quantityButtons->addWidget(SpeedButton4);
    quantityButtons->addWidget(SpeedButton_EditovatVelicinu);
    quantityButtons->addWidget(SpeedButton_VymazatVelicinu);
    quantityButtons->addStretch();
    auto* quantityLayout = new QVBoxLayout(Panel_Veliciny);
    quantityLayout->setContentsMargins(0, 0, 0, 0);
    quantityLayout->addWidget(VxDBGrid_Velicina);
    quantityLayout->addLayout(quantityButtons);

    Panel_Jednotky = new QWidget(Splitter1);
    Panel_Jednotky->setObjectName(QStringLiteral("Panel_Jednotky"));
    Panel_Jednotky->setMinimumWidth(80);
    VxDBGrid_Jednotky = MakeGrid(Panel_Jednotky, "VxDBGrid_Jednotky", T_Jednotky);
    SpeedButton6 = MakeButton(Panel_Jednotky, "SpeedButton6", QStringLiteral("+"));
    SpeedButton_EditovatJednotku = MakeButton(Panel_Jednotky, "SpeedButton_EditovatJednotku", QStringLiteral("\u270E"));
    SpeedButton_VymazatJednotku = MakeButton(Panel_Jednotky, "SpeedButton_VymazatJednotku", QStringLiteral("\u2715"));
    auto* unitButtons = new QHBoxLayout;
    unitButtons->addWidget(SpeedButton6);
    unitButtons->addWidget(SpeedButton_EditovatJednotku);
    unitButtons->addWidget(SpeedButton_VymazatJednotku);
    unitButtons->addStretch();
    auto* unitLayout = new QVBoxLayout(Panel_Jednotky);
    unitLayout->setContentsMargins(0, 0, 0, 0);
    unitLayout->addWidget(VxDBGrid_Jednotky);
    unitLayout->addLayout(unitButtons);
    Splitter1->setStretchFactor(0, 3);
    Splitter1->setStretchFactor(1, 2);

    QDialogButtonBox* bottom
        = OkCancelButtons(this, SpeedButton_OK, "SpeedButton_OK", SpeedButton_Cancel, "SpeedButton_Cancel");
    for (QPushButton* button : { SpeedButton_OK, SpeedButton_Cancel })
        button->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(bottom);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TfListOfVariablesUnits::Timer1Timer);

    connect(SpeedButton4, &QPushButton::clicked, this, &TfListOfVariablesUnits::SpeedButton4Click);
    connect(
        SpeedButton_EditovatVelicinu, &QPushButton::clicked, this, &TfListOfVariablesUnits::VxDBGrid_VelicinaDblClick);
    connect(SpeedButton_VymazatVelicinu, &QPushButton::clicked, this,
        &TfListOfVariablesUnits::SpeedButton_VymazatVelicinuClick);
    connect(SpeedButton6, &QPushButton::clicked, this, &TfListOfVariablesUnits::SpeedButton6Click);
    connect(
        SpeedButton_EditovatJednotku, &QPushButton::clicked, this, &TfListOfVariablesUnits::VxDBGrid_JednotkyDblClick);
    connect(SpeedButton_VymazatJednotku, &QPushButton::clicked, this,
        &TfListOfVariablesUnits::SpeedButton_VymazatJednotkuClick);
    connect(SpeedButton_OK, &QPushButton::clicked, this, &TfListOfVariablesUnits::SpeedButton_OKClick);
    connect(SpeedButton_Cancel, &QPushButton::clicked, this, &TfListOfVariablesUnits::SpeedButton_CancelClick);
    connect(
        VxDBGrid_Velicina, &QAbstractItemView::doubleClicked, this, &TfListOfVariablesUnits::VxDBGrid_VelicinaDblClick);
    connect(
        VxDBGrid_Jednotky, &QAbstractItemView::doubleClicked, this, &TfListOfVariablesUnits::VxDBGrid_JednotkyDblClick);
    for (QWidget* watched : { static_cast<QWidget*>(VxDBGrid_Velicina), static_cast<QWidget*>(VxDBGrid_Jednotky) })
        watched->installEventFilter(this);
    Panel_Veliciny->installEventFilter(this);
    Panel_Jednotky->installEventFilter(this);

    if (DataModule1)
        catalogue_ = std::make_unique<QuantityCatalogue>(*DataModule1);
    RefreshTexts();
}

TfListOfVariablesUnits::~TfListOfVariablesUnits() = default;

void TfListOfVariablesUnits::RefreshTexts()
{
    setWindowTitle(GetString(224));
    SpeedButton_Cancel->setText(GetString(4));
    SpeedButton4->setToolTip(GetString(225));
    SpeedButton_VymazatVelicinu->setToolTip(GetString(226));
    SpeedButton_EditovatVelicinu->setToolTip(GetString(227));
    SpeedButton6->setToolTip(GetString(232));
    SpeedButton_VymazatJednotku->setToolTip(GetString(233));
    SpeedButton_EditovatJednotku->setToolTip(GetString(234));
    Q_Veliciny->SetTitles({ GetString(228) });
    T_Jednotky->SetTitles({ GetString(229) });
}

int TfListOfVariablesUnits::CurrentQuantityRow() const
{
    return CurrentRowOf(VxDBGrid_Velicina, Q_Veliciny);
}

int TfListOfVariablesUnits::CurrentUnitRow() const
{
    return CurrentRowOf(VxDBGrid_Jednotky, T_Jednotky);
}

void TfListOfVariablesUnits::FitColumns()
{
    // The one column fills its grid less the room a vertical scroll bar takes.
    VxDBGrid_Velicina->setColumnWidth(0, qMax(20, VxDBGrid_Velicina->width() - 21));
    VxDBGrid_Jednotky->setColumnWidth(0, qMax(20, VxDBGrid_Jednotky->width() - 21));
}

void TfListOfVariablesUnits::OpenQuantityList()
{
    FCurrentQuantityID = 0;
    if (!catalogue_)
        return;
    QString error;
    if (!catalogue_->Open(&error))
        AppendErrFile(QStringLiteral("List of quantities: ") + error);
    bool loaded = false;
    if (!catalogue_->LoadDeliveredCatalogue(EmptyDatabaseDir, &loaded, &error))
        AppendErrFile(QStringLiteral("List of quantities, delivered catalogue: ") + error);
    catalogue_->OpenQuantityList(*Q_Veliciny);
    SelectRow(VxDBGrid_Velicina, 0);
    FitColumns();
    const int row = CurrentQuantityRow();
    LocateQuantityRecord(row >= 0 ? Q_Veliciny->Value(row, QStringLiteral("ID")).toLongLong() : 0);
    SelectRow(VxDBGrid_Jednotky, 0);
    Timer1Timer();
    Timer1->start();
}

void TfListOfVariablesUnits::ReloadQuantityList()
{
    if (!catalogue_)
        return;
    const int previous = CurrentQuantityRow();
    catalogue_->OpenQuantityList(*Q_Veliciny);
    SelectRow(VxDBGrid_Velicina, qMin(qMax(previous, 0), Q_Veliciny->RecordCount() - 1));
    LocateQuantityInList(FCurrentQuantityID);
}

void TfListOfVariablesUnits::LocateQuantityRecord(qint64 id)
{
    FCurrentQuantityID = id;
    ReloadUnits();
}

void TfListOfVariablesUnits::LocateQuantityInList(qint64 id)
{
    for (int row = 0; row < Q_Veliciny->RecordCount(); ++row)
        if (Q_Veliciny->Value(row, QStringLiteral("ID")).toLongLong() == id) {
            SelectRow(VxDBGrid_Velicina, row);
            VxDBGrid_Velicina->scrollTo(Q_Veliciny->index(row, 0));
            return;
        }
}

void TfListOfVariablesUnits::ReloadUnits(qint64 selectUnitId)
{
    if (!catalogue_)
        return;
    const int previous = CurrentUnitRow();
    catalogue_->OpenUnitList(*T_Jednotky, FCurrentQuantityID);
    int row = selectUnitId > 0 ? -1 : qMin(qMax(previous, 0), T_Jednotky->RecordCount() - 1);
    if (selectUnitId > 0)
        for (int i = 0; i < T_Jednotky->RecordCount(); ++i)
            if (T_Jednotky->Value(i, QStringLiteral("ID")).toLongLong() == selectUnitId)
                row = i;
    SelectRow(VxDBGrid_Jednotky, row);
    FitColumns();
}

void TfListOfVariablesUnits::Timer1Timer()
{
    const int row = CurrentQuantityRow();
    const qint64 id = row >= 0 ? Q_Veliciny->Value(row, QStringLiteral("ID")).toLongLong() : 0;
    if (id != FCurrentQuantityID) {
        LocateQuantityRecord(id);
        SelectRow(VxDBGrid_Jednotky, 0);
    }
    const bool quantityEditable = row >= 0 && Q_Veliciny->Value(row, QStringLiteral("Original")).toInt() == 0;
    SpeedButton_VymazatVelicinu->setEnabled(quantityEditable);
    SpeedButton_EditovatVelicinu->setEnabled(quantityEditable);
    SpeedButton6->setEnabled(FCurrentQuantityID > 0);
    const int unitRow = CurrentUnitRow();
    const bool unitEditable = unitRow >= 0 && T_Jednotky->Value(unitRow, QStringLiteral("Original")).toInt() == 0;
    SpeedButton_VymazatJednotku->setEnabled(unitEditable);
    SpeedButton_EditovatJednotku->setEnabled(unitEditable);
}

bool TfListOfVariablesUnits::AskText(int labelText, const QString& initial, QString& markup, QString& plain)
{
    std::unique_ptr<TfEditSpecialString> own;
    TfEditSpecialString* dialog = fEditSpecialString;
    if (!dialog) {
        own = std::make_unique<TfEditSpecialString>(this);
        dialog = own.get();
    }
    dialog->setWindowTitle(GetString(360));
    dialog->EditName->setText(GetString(labelText));
    dialog->LoadText(initial);
    const OpenedFrom opened(dialog, this);
    if (dialog->exec() != 1)
        return false;
    markup = dialog->FMarkupText;
    plain = dialog->FPlainText;
    return true;
}

void TfListOfVariablesUnits::SpeedButton4Click()
{
    if (!catalogue_)
        return;
    Timer1->stop();
    QString markup, plain;
    const int row = CurrentQuantityRow();
    const QString current = row >= 0 ? Q_Veliciny->Value(row, QStringLiteral("Velicina")).toString() : QString();
    if (AskText(395, QString(), markup, plain) && markup != current) {
        QString message;
        const qint64 id = catalogue_->AddQuantity(markup, plain, &message);
        if (id > 0) {
            LocateQuantityRecord(id);
            ReloadQuantityList();
        } else if (!message.isEmpty()) {
            MessageDlg(message, TMsgDlgType::mtError, mbOK);
        }
    }
    Timer1Timer();
    Timer1->start();
}

void TfListOfVariablesUnits::VxDBGrid_VelicinaDblClick()
{
    if (!catalogue_ || !SpeedButton_EditovatVelicinu->isEnabled())
        return;
    const int row = CurrentQuantityRow();
    if (row < 0)
        return;
    Timer1->stop();
    const qint64 id = Q_Veliciny->Value(row, QStringLiteral("ID")).toLongLong();
    const QString current = Q_Veliciny->Value(row, QStringLiteral("Velicina")).toString();
    QString markup, plain;
    if (AskText(0, current, markup, plain) && markup != current) {
        QString message;
        if (catalogue_->ChangeQuantity(id, markup, plain, &message)) {
            FCurrentQuantityID = id;
            ReloadQuantityList();
        } else if (!message.isEmpty()) {
            MessageDlg(message, TMsgDlgType::mtError, mbOK);
        }
    }
    Timer1Timer();
    Timer1->start();
}

void TfListOfVariablesUnits::SpeedButton_VymazatVelicinuClick()
{
    const int row = CurrentQuantityRow();
    if (!catalogue_ || row < 0 || !SpeedButton_VymazatVelicinu->isEnabled())
        return;
    Timer1->stop();
    const qint64 id = Q_Veliciny->Value(row, QStringLiteral("ID")).toLongLong();
    if (MessageDlg(GetString(397), TMsgDlgType::mtConfirmation, mbYesNo) == mrYes) {
        QString message;
        if (catalogue_->DeleteQuantity(id, &message))
            ReloadQuantityList();
        else if (!message.isEmpty())
            MessageDlg(message, TMsgDlgType::mtError, mbOK);
    }
    Timer1Timer();
    Timer1->start();
}

void TfListOfVariablesUnits::SpeedButton6Click()
{
    if (!catalogue_ || FCurrentQuantityID <= 0)
        return;
    Timer1->stop();
    QString markup, plain;
    if (AskText(396, QString(), markup, plain) && !markup.isEmpty()) {
        QString message;
        const qint64 id = catalogue_->AddUnit(FCurrentQuantityID, markup, &message);
        if (id > 0)
            ReloadUnits(id);
        else if (!message.isEmpty())
            MessageDlg(message, TMsgDlgType::mtError, mbOK);
    }
    Timer1Timer();
    Timer1->start();
}

void TfListOfVariablesUnits::VxDBGrid_JednotkyDblClick()
{
    const int row = CurrentUnitRow();
    if (!catalogue_ || row < 0 || !SpeedButton_EditovatJednotku->isEnabled())
        return;
    Timer1->stop();
    const qint64 id = T_Jednotky->Value(row, QStringLiteral("ID")).toLongLong();
    const QString current = T_Jednotky->Value(row, QStringLiteral("Jednotky")).toString();
    QString markup, plain;
    if (AskText(0, current, markup, plain) && markup != current) {
        QString message;
        if (catalogue_->ChangeUnit(id, markup, &message))
            ReloadUnits(id);
        else if (!message.isEmpty())
            MessageDlg(message, TMsgDlgType::mtError, mbOK);
    }
    Timer1Timer();
    Timer1->start();
}

void TfListOfVariablesUnits::SpeedButton_VymazatJednotkuClick()
{
    const int row = CurrentUnitRow();
    if (!catalogue_ || row < 0 || !SpeedButton_VymazatJednotku->isEnabled())
        return;
    Timer1->stop();
    const qint64 id = T_Jednotky->Value(row, QStringLiteral("ID")).toLongLong();
    if (MessageDlg(GetString(398), TMsgDlgType::mtConfirmation, mbYesNo) == mrYes) {
        QString message;
        if (catalogue_->DeleteUnit(id, &message))
            ReloadUnits();
        else if (!message.isEmpty())
            MessageDlg(message, TMsgDlgType::mtError, mbOK);
    }
    Timer1Timer();
    Timer1->start();
}

void TfListOfVariablesUnits::SpeedButton_OKClick()
{
    const int row = CurrentQuantityRow();
    if (row >= 0) {
        FResultQuantityName = Q_Veliciny->Value(row, QStringLiteral("Velicina")).toString();
        FCurrentQuantityID = Q_Veliciny->Value(row, QStringLiteral("ID")).toLongLong();
        // The unit list may still belong to the previous quantity until the next tick.
        if (T_Jednotky->RecordCount() > 0
            && T_Jednotky->Value(0, QStringLiteral("VelicinaID")).toLongLong() != FCurrentQuantityID)
            ReloadUnits();
        const int unitRow = CurrentUnitRow();
        FResultUnit = unitRow >= 0 ? T_Jednotky->Value(unitRow, QStringLiteral("Jednotky")).toString() : QString();
    } else {
        FResultQuantityName.clear();
        FResultUnit.clear();
    }
    done(1);
}

void TfListOfVariablesUnits::SpeedButton_CancelClick()
{
    done(2);
}

void TfListOfVariablesUnits::done(int result)
{
    Timer1->stop();
    if (catalogue_) {
        QString error;
        if (!catalogue_->Flush(&error))
            AppendErrFile(QStringLiteral("List of quantities: ") + error);
        catalogue_->Close();
    }
    Q_Veliciny->Close();
    T_Jednotky->Close();
    QDialog::done(result);
}

void TfListOfVariablesUnits::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        SpeedButton_CancelClick();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        SpeedButton_OKClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfListOfVariablesUnits::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == VxDBGrid_Velicina || watched == VxDBGrid_Jednotky)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            keyPressEvent(key);
            return true;
        }
    }
    if (event->type() == QEvent::Resize && (watched == Panel_Veliciny || watched == Panel_Jednotky))
        QTimer::singleShot(0, this, [this] { FitColumns(); });
    return QDialog::eventFilter(watched, event);
}

bool QuantityListProvider::PickQuantity(QString& quantityName, QString& unit)
{
    TfListOfVariablesUnits window(QApplication::activeWindow());
    window.SpeedButton_Cancel->setVisible(true);
    window.OpenQuantityList();
    if (window.exec() != 1)
        return false;
    quantityName = window.FResultQuantityName;
    unit = window.FResultUnit;
    return true;
}

void QuantityListProvider::MaintainQuantityList()
{
    TfListOfVariablesUnits window(QApplication::activeWindow());
    window.SpeedButton_Cancel->setVisible(false);
    window.OpenQuantityList();
    window.exec();
}

} // namespace orvek
