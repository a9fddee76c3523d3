#include "sources/incremental_search.h"

#include "core/clock.h"

namespace orvek {

int TIncrementalSearch::Type(QChar c, const QStringList& items)
{
    const QDateTime now = Now();
    if (!lastKey_.isValid() || lastKey_.msecsTo(now) > ResetAfterMs || lastKey_ > now)
        text_.clear();
    lastKey_ = now;
    if (text_.size() < MaxLength)
        text_ += c;
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i].startsWith(text_, Qt::CaseInsensitive))
            return int(i);
    return -1;
}

} // namespace orvek
