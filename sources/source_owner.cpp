#include "sources/source_owner.h"

#include "engine/cell.h"

namespace orvek {

TCell* OwningQuantityCell(TCell* owner)
{
    TCell* cell = owner;
    while (cell && cell->FCellType == kUncertaintyCell && cell->FParent)
        cell = cell->FParent;
    return cell;
}

bool IsSourceMethodAllowed(TCell* owner, TCell* source, int method)
{
    TCell* quantity = OwningQuantityCell(owner);
    return !quantity || quantity->IsMethodAllowed(source, method);
}

} // namespace orvek
