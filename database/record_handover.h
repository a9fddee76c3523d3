#pragma once
// The hand-over values of the template window's last close with OK: the template the
// new record comes from and the head the user typed for it. The window fills them (with
// CompleteHandOver) together with the transfer file; the record list reads them when it
// appends the record.

#include "database/template_handover.h"

namespace orvek {

inline THandOverFields TemplateWindowHandOver;

} // namespace orvek
