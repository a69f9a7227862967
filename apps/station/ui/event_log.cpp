#include "event_log.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr std::size_t kKeptLines = 5000;
const char kStampFormat[] = "yyyy-MM-dd hh:mm:ss";

} // namespace

EventLog::EventLog(const QStringList& decks, QWidget* parent)
    : QWidget(parent)
    , deck_(new QComboBox(this))
    , compartment_(new QLineEdit(this))
    , priority_(new QComboBox(this))
    , text_(new QLineEdit(this))
    , shown_(new QPlainTextEdit(this))
{
    shown_->setReadOnly(true);
    shown_->setMaximumBlockCount(int(kKeptLines));
    deck_->addItem(tr("全部甲板"));
    deck_->addItems(decks);
    priority_->addItem(tr("全部优先级"), -1);
    for (int p = 0; p < alarmpriority::kCount; ++p)
        priority_->addItem(alarmpriority::name(AlarmPriority(p)), p);
    compartment_->setPlaceholderText(tr("舱室"));
    compartment_->setClearButtonEnabled(true);
    text_->setPlaceholderText(tr("搜索"));
    text_->setClearButtonEnabled(true);

    auto* filters = new QHBoxLayout;
    filters->addWidget(deck_);
    filters->addWidget(compartment_);
    filters->addWidget(priority_);
    filters->addWidget(text_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(filters);
    layout->addWidget(shown_);
    connect(deck_, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &EventLog::refilter);
    connect(priority_, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &EventLog::refilter);
    connect(compartment_, &QLineEdit::textChanged, this, &EventLog::refilter);
    connect(text_, &QLineEdit::textChanged, this, &EventLog::refilter);
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
    deck_->setCurrentIndex(deck.isEmpty() ? 0 : std::max(0, deck_->findText(deck)));
}

void EventLog::setCompartmentFilter(const QString& text)
{
    compartment_->setText(text);
}

void EventLog::setPriorityFilter(std::optional<AlarmPriority> priority)
{
    priority_->setCurrentIndex(priority ? priority_->findData(int(*priority)) : 0);
}

void EventLog::setTextFilter(const QString& text)
{
    text_->setText(text);
}

bool EventLog::passes(const Entry& entry) const
{
    if (deck_->currentIndex() > 0 && entry.context.deck != deck_->currentText())
        return false;
    if (!compartment_->text().isEmpty() && !entry.context.compartment.contains(compartment_->text(), Qt::CaseInsensitive))
        return false;
    const int priority = priority_->currentData().toInt();
    if (priority >= 0 && (!entry.context.priority || int(*entry.context.priority) != priority))
        return false;
    return text_->text().isEmpty() || entry.line.contains(text_->text(), Qt::CaseInsensitive);
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
