#include "core/special_edit.h"

namespace orvek {

void ClearSpecialEditFlags()
{
    InsertRequest.fill(false);
}

} // namespace orvek
