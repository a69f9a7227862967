#pragma once

#include "alarm_priority.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <optional>

class FilterBar;
class QDateTime;
class QPlainTextEdit;

/// A time-stamped, read-only log of what happened at the station, with filters
/// above it: deck, compartment (part of its name), priority and free text. An
/// entry may name the deck, compartment and priority it concerns; an entry
/// without a deck or priority passes those filters only when they are off.
class EventLog : public QWidget
{
    Q_OBJECT

public:
    /// What an entry concerns, for the filters.
    struct Context {
        QString deck;
        QString compartment;
        std::optional<AlarmPriority> priority;
    };

    /// \a decks are offered in the deck filter, in this order.
    explicit EventLog(const QStringList& decks = {}, QWidget* parent = nullptr);

    /// Appends \a text with the current date and time in front.
    void log(const QString& text, const Context& context = {});
    /// Appends \a text stamped with \a at, as read back from the history.
    void logAt(const QDateTime& at, const QString& text, const Context& context = {});
    /// Every entry kept, filtered or not, one a line.
    QString toPlainText() const;
    /// The entries the filters let through, as shown.
    QString shownText() const;

    void setDeckFilter(const QString& deck);
    void setCompartmentFilter(const QString& text);
    void setPriorityFilter(std::optional<AlarmPriority> priority);
    void setTextFilter(const QString& text);

private:
    struct Entry {
        QString line;
        Context context;
    };

    bool passes(const Entry& entry) const;
    void refilter();
    /// Appends the lines still waiting to the text shown.
    void showPending() const;

    std::deque<Entry> entries_;
    FilterBar* filters_;
    QPlainTextEdit* shown_;
    /// Lines that pass the filters, logged since the event loop last ran.
    mutable QStringList unshown_;
};
