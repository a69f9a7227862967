#include "event_log.h"

#include "filter_bar.h"

#include <QDateTime>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr std::size_t kKeptLines = 5000;
const char kStampFormat[] = "yyyy-MM-dd hh:mm:ss";

} // namespace

EventLog::EventLog(const QStringList& decks, QWidget* parent)
    : QWidget(parent)
    , filters_(new FilterBar(decks, this))
    , shown_(new QPlainTextEdit(this))
{
    shown_->setReadOnly(true);
    shown_->setMaximumBlockCount(int(kKeptLines));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(filters_);
    layout->addWidget(shown_);
    connect(filters_, &FilterBar::changed, this, &EventLog::refilter);
}

void EventLog::log(const QString& text, const Context& context)
{
    logAt(QDateTime::currentDateTime(), text, context);
}

void EventLog::logAt(const QDateTime& at, const QString& text, const Context& context)
{
    Entry entry{QStringLiteral("%1  %2").arg(at.toString(QLatin1String(kStampFormat)), text), context};
    if (passes(entry)) {
        // Lines logged in one go (an alarm flood) reach the text in one edit:
        // an edit per line lays the document out again each time.
        if (unshown_.isEmpty())
            QTimer::singleShot(0, this, [this] { showPending(); });
        unshown_.append(entry.line);
    }
    entries_.push_back(std::move(entry));
    if (entries_.size() > kKeptLines)
        entries_.pop_front();
}

QString EventLog::toPlainText() const
{
    QStringList lines;
    for (const Entry& entry : entries_)
        lines.append(entry.line);
    return lines.join(QLatin1Char('\n'));
}

QString EventLog::shownText() const
{
    showPending();
    return shown_->toPlainText();
}

void EventLog::showPending() const
{
    if (unshown_.isEmpty())
        return;
    shown_->appendPlainText(unshown_.join(QLatin1Char('\n')));
    unshown_.clear();
}

void EventLog::setDeckFilter(const QString& deck)
{
    filters_->setDeck(deck);
}

void EventLog::setCompartmentFilter(const QString& text)
{
    filters_->setCompartment(text);
}

void EventLog::setPriorityFilter(std::optional<AlarmPriority> priority)
{
    filters_->setPriority(priority);
}

void EventLog::setTextFilter(const QString& text)
{
    filters_->setText(text);
}

bool EventLog::passes(const Entry& entry) const
{
    return filters_->matches({entry.context.deck, entry.context.compartment, entry.context.priority, entry.line});
}

void EventLog::refilter()
{
    unshown_.clear();
    QStringList lines;
    for (const Entry& entry : entries_) {
        if (passes(entry))
            lines.append(entry.line);
    }
    shown_->setPlainText(lines.join(QLatin1Char('\n')));
    shown_->moveCursor(QTextCursor::End);
}
