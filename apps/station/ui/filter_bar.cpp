#include "filter_bar.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>

#include <algorithm>

FilterBar::FilterBar(const QStringList& decks, QWidget* parent)
    : QWidget(parent)
    , deck_(new QComboBox(this))
    , compartment_(new QLineEdit(this))
    , priority_(new QComboBox(this))
    , text_(new QLineEdit(this))
{
    deck_->addItem(QString());
    deck_->addItems(decks);
    priority_->addItem(QString(), -1);
    for (int p = 0; p < alarmpriority::kCount; ++p)
        priority_->addItem(QString(), p);
    compartment_->setClearButtonEnabled(true);
    text_->setClearButtonEnabled(true);
    retranslate();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(deck_);
    layout->addWidget(compartment_);
    layout->addWidget(priority_);
    layout->addWidget(text_, 1);
    connect(deck_, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &FilterBar::changed);
    connect(priority_, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &FilterBar::changed);
    connect(compartment_, &QLineEdit::textChanged, this, &FilterBar::changed);
    connect(text_, &QLineEdit::textChanged, this, &FilterBar::changed);
}

void FilterBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void FilterBar::retranslate()
{
    // The decks' own names come from the ship file and stay as written.
    deck_->setItemText(0, tr("全部甲板"));
    priority_->setItemText(0, tr("全部优先级"));
    for (int p = 0; p < alarmpriority::kCount; ++p)
        priority_->setItemText(p + 1, alarmpriority::name(AlarmPriority(p)));
    compartment_->setPlaceholderText(tr("舱室"));
    text_->setPlaceholderText(tr("搜索"));
}

bool FilterBar::matches(const Subject& subject) const
{
    if (deck_->currentIndex() > 0 && subject.deck != deck_->currentText())
        return false;
    if (!compartment_->text().isEmpty() && !subject.compartment.contains(compartment_->text(), Qt::CaseInsensitive))
        return false;
    const int priority = priority_->currentData().toInt();
    if (priority >= 0 && (!subject.priority || int(*subject.priority) != priority))
        return false;
    return text_->text().isEmpty() || subject.text.contains(text_->text(), Qt::CaseInsensitive);
}

bool FilterBar::isOff() const
{
    return deck_->currentIndex() <= 0 && compartment_->text().isEmpty() && priority_->currentData().toInt() < 0
        && text_->text().isEmpty();
}

void FilterBar::setDeck(const QString& deck)
{
    deck_->setCurrentIndex(deck.isEmpty() ? 0 : std::max(0, deck_->findText(deck)));
}

void FilterBar::setCompartment(const QString& text)
{
    compartment_->setText(text);
}

void FilterBar::setPriority(std::optional<AlarmPriority> priority)
{
    priority_->setCurrentIndex(priority ? priority_->findData(int(*priority)) : 0);
}

void FilterBar::setText(const QString& text)
{
    text_->setText(text);
}
