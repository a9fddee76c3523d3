#include "core/string_table.h"

namespace orvek {

// Stand-in until the string-table database arrives: no text is known yet.
QString GetString(int, std::initializer_list<FormatArg>) { return QString(); }

QString Format(const QString& pattern, std::initializer_list<FormatArg>) { return pattern; }

}  // namespace orvek
