#pragma once
// The typed prefix of a list's incremental search: characters typed in quick
// succession add up (at most 32); a pause of more than 2 seconds starts a new prefix.
// Times come from core/clock, so tests set them.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace orvek {

class TIncrementalSearch {
public:
    static constexpr int MaxLength = 32;
    static constexpr qint64 ResetAfterMs = 2000;

    // Adds a typed character and returns the index of the first entry of Items that
    // begins with the prefix, ignoring case; -1 when none does.
    int Type(QChar c, const QStringList& items);
    void Clear() { text_.clear(); }
    const QString& Text() const { return text_; }

private:
    QString text_;
    QDateTime lastKey_;
};

} // namespace orvek
