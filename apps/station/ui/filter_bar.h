#pragma once

#include "alarm_priority.h"

#include <QStringList>
#include <QWidget>

#include <optional>

class QComboBox;
class QLineEdit;

/// The filters above the event log and the alarm list: deck, compartment (part
/// of its name), priority and free text, each off until the operator sets it.
/// Whatever is filtered asks matches() with what it knows of one entry.
class FilterBar : public QWidget
{
    Q_OBJECT

public:
    /// What one entry concerns; an entry without a deck or priority passes
    /// those filters only while they are off.
    struct Subject {
        QString deck;
        QString compartment;
        std::optional<AlarmPriority> priority;
        /// What the text filter searches, case-insensitively.
        QString text;
    };

    /// \a decks are offered in the deck filter, in this order.
    explicit FilterBar(const QStringList& decks, QWidget* parent = nullptr);

    bool matches(const Subject& subject) const;
    /// True while every filter is off (everything matches).
    bool isOff() const;

    /// An empty \a deck (or one not offered) shows every deck.
    void setDeck(const QString& deck);
    void setCompartment(const QString& text);
    void setPriority(std::optional<AlarmPriority> priority);
    void setText(const QString& text);

signals:
    void changed();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QComboBox* deck_;
    QLineEdit* compartment_;
    QComboBox* priority_;
    QLineEdit* text_;
};
