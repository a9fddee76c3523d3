#pragma once
// A column of a database window's grid as the window describes it: its title, the
// field it shows, how the list sorts by it and its width.

#include <QString>
#include <QStringList>

namespace orvek {

struct TDefaultFieldRec {
    QString Title;
    QString FieldName;
    int SortOrder = 0; // 0 ascending, 1 descending
    bool CaseInsensitive = false;
    int Width = 0;
    QStringList Values;
};

} // namespace orvek
