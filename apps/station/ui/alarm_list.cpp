#include "alarm_list.h"

#include "alarm_filter.h"
#include "alarm_state.h"
#include "alarm_table.h"
#include "filter_bar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// Amber, not red: the notice reports the station's own trouble, not an alarm.
const char kNoticeStyle[] = "background: #FFE8B0; color: #402000; padding: 3px; border: 1px solid #C08000;";

} // namespace

AlarmList::AlarmList(AlarmTable& table, const AlarmState& alarms, const QStringList& decks, QWidget* parent)
    : QWidget(parent)
    , table_(table)
    , alarms_(alarms)
    , filters_(new FilterBar(decks, this))
    , sorted_(new AlarmFilter(table, alarms, *filters_, this))
    , view_(new QTreeView(this))
    , notice_(new QLabel(this))
{
    view_->setModel(sorted_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(AlarmTable::PriorityColumn, Qt::AscendingOrder);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    QHeaderView* header = view_->header();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The long names share what is left and are cut, so the time, last, stays
    // on screen however long a sensor's name is.
    header->setStretchLastSection(false);
    header->setSectionResizeMode(AlarmTable::SensorColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(AlarmTable::ItemColumn, QHeaderView::Stretch);
    // Columns fit the rows in sight: measuring every row again at each change
    // of a list of a thousand alarms would stall the window.
    header->setResizeContentsPrecision(0);
    notice_->setStyleSheet(QLatin1String(kNoticeStyle));
    notice_->setWordWrap(true);
    notice_->hide();

    auto* buttons = new QHBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(filters_);
    layout->addWidget(view_);
    layout->addWidget(notice_);
    layout->addLayout(buttons);
    for (QPushButton*& button : buttons_) {
        button = new QPushButton(this);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    retranslate();
    connect(buttons_[AcknowledgeSelected], &QPushButton::clicked, this,
            [this] { emit acknowledgeRequested(selectedAlarms()); });
    connect(buttons_[AcknowledgeDeck], &QPushButton::clicked, this, [this] {
        if (deck_)
            emit acknowledgeRequested(alarms_.unacknowledged(deck_));
    });
    connect(buttons_[AcknowledgeAll], &QPushButton::clicked, this,
            [this] { emit acknowledgeRequested(alarms_.unacknowledged()); });
    connect(buttons_[Silence], &QPushButton::clicked, this, &AlarmList::silenceRequested);
    connect(buttons_[ShelveSelected], &QPushButton::clicked, this, [this] { emit shelveRequested(selectedAlarms()); });
    connect(buttons_[UnshelveSelected], &QPushButton::clicked, this,
            [this] { emit unshelveRequested(selectedAlarms()); });

    connect(view_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        const int id = table_.idAt(sorted_->mapToSource(index).row());
        if (id >= 0)
            emit alarmActivated(id);
    });
    connect(view_, &QTreeView::customContextMenuRequested, this, &AlarmList::openMenu);
    // One scroll per burst of new rows, once the event loop is back: scrolling
    // lays the whole list out at once, so a scroll per row of a flood of
    // alarms costs the square of their number.
    connect(&table, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int) {
        const bool due = !newest_.isValid();
        newest_ = table_.index(first, 0);
        if (due)
            QTimer::singleShot(0, this, &AlarmList::scrollToNewest);
    });
}

void AlarmList::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        table_.retranslate();
    }
    QWidget::changeEvent(event);
}

void AlarmList::retranslate()
{
    buttons_[AcknowledgeSelected]->setText(tr("确认所选报警"));
    buttons_[AcknowledgeDeck]->setText(tr("确认本甲板"));
    buttons_[AcknowledgeAll]->setText(tr("全部确认"));
    buttons_[Silence]->setText(tr("消音"));
    buttons_[ShelveSelected]->setText(tr("搁置所选..."));
    buttons_[UnshelveSelected]->setText(tr("解除搁置"));
}

void AlarmList::scrollToNewest()
{
    if (newest_.isValid())
        view_->scrollTo(sorted_->mapFromSource(newest_));
    newest_ = QPersistentModelIndex();
}

void AlarmList::showNotice(const QString& text)
{
    notice_->setText(text);
    notice_->setVisible(!text.isEmpty());
}

QString AlarmList::notice() const
{
    return notice_->isHidden() ? QString() : notice_->text();
}

int AlarmList::alarmAtRow(int row) const
{
    return table_.idAt(sorted_->mapToSource(sorted_->index(row, 0)).row());
}

QList<int> AlarmList::selectedAlarms() const
{
    QList<int> ids;
    for (const QModelIndex& index : view_->selectionModel()->selectedRows()) {
        const int id = table_.idAt(sorted_->mapToSource(index).row());
        if (id >= 0)
            ids.append(id);
    }
    return ids;
}

void AlarmList::openMenu(const QPoint& pos)
{
    const int id = table_.idAt(sorted_->mapToSource(view_->indexAt(pos)).row());
    const AlarmState::Alarm* alarm = alarms_.alarm(id);
    if (!alarm)
        return;
    const QList<int> one{id};
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(tr("确认"), this, [this, one] { emit acknowledgeRequested(one); });
    if (alarm->shelved)
        menu->addAction(tr("解除搁置"), this, [this, one] { emit unshelveRequested(one); });
    else
        menu->addAction(tr("搁置..."), this, [this, one] { emit shelveRequested(one); });
    menu->addAction(tr("在图上显示"), this, [this, id] { emit alarmActivated(id); });
    menu->addAction(tr("详细信息..."), this, [this, id] { emit detailRequested(id); });
    menu->popup(view_->viewport()->mapToGlobal(pos));
}
