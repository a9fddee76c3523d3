#pragma once
// A numbered text of the string table for a window's caption, or Fallback while the
// table has none (a window built before the table is readable, or in a test without
// it).

#include "core/string_table.h"

namespace orvek {

inline QString UiText(int id, const QString& fallback)
{
    const QString text = GetString(id);
    return text.isEmpty() ? fallback : text;
}

} // namespace orvek
