#include "item_history.h"

void ItemHistory::record(int id, qint64 msecs, const QString& text)
{
    QVector<Transition>& entries = entries_[id];
    entries.append({msecs, text});
    if (entries.size() > kEntries)
        entries.removeFirst();
}
