#include "database/ec_data_link.h"

#include "platform/db_session.h"

namespace orvek {

TECDataLink::TECDataLink() = default;

TECDataLink::~TECDataLink()
{
    if (active_ && dataSet_)
        Unhook();
    context_.reset();
}

TDataSetNotifyEvent& TECDataLink::Event(Slot slot)
{
    FolderTableCursor& d = *dataSet_;
    switch (slot) {
    case kBeforeInsert:
        return d.BeforeInsert;
    case kAfterInsert:
        return d.AfterInsert;
    case kBeforeEdit:
        return d.BeforeEdit;
    case kAfterEdit:
        return d.AfterEdit;
    case kBeforePost:
        return d.BeforePost;
    case kAfterPost:
        return d.AfterPost;
    case kBeforeCancel:
        return d.BeforeCancel;
    case kAfterCancel:
        return d.AfterCancel;
    case kBeforeDelete:
        return d.BeforeDelete;
    case kAfterDelete:
    case kSlotCount:
        break;
    }
    return d.AfterDelete;
}

void TECDataLink::SetDataSet(FolderTableCursor* dataSet)
{
    if (dataSet_ == dataSet)
        return;
    const bool wasActive = active_;
    if (active_ && dataSet_)
        Unhook();
    active_ = false;
    context_.reset();
    dataSet_ = dataSet;
    if (wasActive)
        ActiveChanged(false);
    if (!dataSet)
        return;
    context_ = std::make_unique<QObject>();
    QObject* context = context_.get();
    QObject::connect(dataSet, &FolderTableCursor::ActiveChanged, context, [this] { UpdateActive(); });
    QObject::connect(dataSet, &FolderTableCursor::Scrolled, context, [this] {
        if (active_)
            DataSetScrolled();
    });
    QObject::connect(dataSet, &FolderTableCursor::DataSetChanged, context, [this] {
        if (active_)
            DataSetChanged();
    });
    QObject::connect(dataSet, &FolderTableCursor::FieldChanged, context, [this](const QString& field) {
        if (active_)
            RecordFieldChanged(field);
    });
    QObject::connect(dataSet, &FolderTableCursor::StateChanged, context, [this] {
        if (active_)
            EditingChanged();
    });
    // A cursor destroyed under the link: nothing of it may be touched any more.
    QObject::connect(dataSet, &QObject::destroyed, context, [this] {
        kept_ = {};
        keptKeyTaken_ = {};
        watcher_.reset();
        const bool was = active_;
        active_ = false;
        if (was)
            ActiveChanged(false);
    });
    UpdateActive();
}

void TECDataLink::UpdateActive()
{
    const bool active = dataSet_ && dataSet_->Active();
    if (active == active_)
        return;
    if (active)
        Hook();
    else
        Unhook();
    active_ = active;
    ActiveChanged(active);
}

void TECDataLink::Hook()
{
    for (int i = 0; i < kSlotCount; ++i) {
        const Slot slot = Slot(i);
        TDataSetNotifyEvent& event = Event(slot);
        kept_[i] = event;
        event = [this, slot](FolderTableCursor& dataSet) {
            if (kept_[slot])
                kept_[slot](dataSet);
            switch (slot) {
            case kBeforeInsert:
                DoBeforeInsert();
                break;
            case kAfterInsert:
                DoAfterInsert();
                break;
            case kBeforeEdit:
                DoBeforeEdit();
                break;
            case kAfterEdit:
                DoAfterEdit();
                break;
            case kBeforePost:
                DoBeforePost();
                break;
            case kAfterPost:
                DoAfterPost();
                break;
            case kBeforeCancel:
                DoBeforeCancel();
                break;
            case kAfterCancel:
                DoAfterCancel();
                break;
            case kBeforeDelete:
                DoBeforeDelete();
                break;
            case kAfterDelete:
            case kSlotCount:
                DoAfterDelete();
                break;
            }
        };
    }
    keptKeyTaken_ = dataSet_->OnKeyTaken;
    dataSet_->OnKeyTaken = [this](FolderTableCursor& dataSet) {
        const QString key = keptKeyTaken_ ? keptKeyTaken_(dataSet) : QString();
        return key.isEmpty() ? KeyTaken() : key;
    };
    const QString connection = dataSet_->ConnectionName();
    if (!connection.isEmpty()) {
        watcher_ = std::make_unique<TableChangeWatcher>(
            connection, QStringList { dataSet_->TableName }, ChangeCheckInterval);
        QObject::connect(
            watcher_.get(), &TableChangeWatcher::TableChanged, watcher_.get(), [this] { TableChangedElsewhere(); });
    }
}

void TECDataLink::Unhook()
{
    watcher_.reset();
    if (!dataSet_)
        return;
    for (int i = 0; i < kSlotCount; ++i) {
        Event(Slot(i)) = kept_[i];
        kept_[i] = {};
    }
    dataSet_->OnKeyTaken = keptKeyTaken_;
    keptKeyTaken_ = {};
}

void TECDataLink::CheckForChanges()
{
    if (watcher_)
        watcher_->Poll();
}

} // namespace orvek
