#pragma once

#include <QHash>
#include <QString>
#include <QVector>

/// The recent alarm transitions of each sensor item, as a sensor's detail shows
/// them; each item keeps its last kEntries, oldest first.
class ItemHistory
{
public:
    struct Transition {
        qint64 msecs = 0;
        QString text;
    };

    static constexpr int kEntries = 200;

    void record(int id, qint64 msecs, const QString& text);
    /// The transitions of item \a id, oldest first; empty for an item without any.
    QVector<Transition> of(int id) const { return entries_.value(id); }

private:
    QHash<int, QVector<Transition>> entries_;
};
