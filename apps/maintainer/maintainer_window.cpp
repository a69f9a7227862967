#include "maintainer_window.h"

#include "deck_page.h"
#include "drawing_aid.h"
#include "edit_command.h"

#include "config/sensor_config.h"
#include "graphics/boundary_line.h"
#include "graphics/damage_boundary.h"
#include "maintenance/damage_boundary_layer.h"
#include "maintenance/maintenance_command.h"
#include "maintenance/position_icon_graphic.h"
#include "maintenance/region_path_graphic.h"
#include "view/deck_scene.h"
#include "view/deck_view_complex.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QCloseEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

#include <utility>

namespace {

const int kPlaceholderIconSize = 32;

/// Stands in for a sensor icon that the icon folder does not have.
QPixmap placeholderIcon()
{
    QPixmap pixmap(kPlaceholderIconSize, kPlaceholderIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xE0, 0x80, 0x00));
    painter.drawEllipse(pixmap.rect().adjusted(2, 2, -2, -2));
    return pixmap;
}

/// A list entry: the name, and the code that tells entries of one name apart.
QString labelOf(const QString& name, const QString& code)
{
    return QStringLiteral("%1  [%2]").arg(name, code);
}

} // namespace

MaintainerWindow::MaintainerWindow(ShipDocument* document, const QString& output, bool backup, QWidget* parent)
    : QMainWindow(parent)
    , document_(document)
    , output_(output)
    , backup_(backup)
    , view_(new DeckViewComplex(this))
    , command_(new MaintenanceCommand(this))
    , undo_(new QUndoStack(this))
{
    setWindowTitle(tr("船舶文件维护 - %1[*]").arg(document->path()));
    setCentralWidget(view_);
    for (const ShipDocument::Deck& deck : document->decks()) {
        auto* page = new DeckPage(deck, *document, this);
        pages_.push_back(page);
        connectLayer(page);
    }

    // Before the command sees the press, so a click that ends a task does not also choose a segment.
    connect(view_, &DeckViewComplex::mousePressed, this, &MaintainerWindow::chooseSegment);
    connect(view_, &DeckViewComplex::mousePressed, command_, &MaintenanceCommand::onMousePressEvent);
    connect(view_, &DeckViewComplex::mouseDoubleClicked, command_, &MaintenanceCommand::onMouseDoubleClickEvent);
    connect(view_, &DeckViewComplex::keyPressed, command_, &MaintenanceCommand::onKeyPressEvent);
    connect(command_, &MaintenanceCommand::stateChanged, view_, &DeckViewComplex::onMaintenanceStateChanged);
    aid_ = new DrawingAid(view_, statusBar(), *document_, this);
    connect(command_, &MaintenanceCommand::stateChanged, aid_, &DrawingAid::onStateChanged);

    buildPanel();
    buildEditMenu();
    buildActions();
    QList<MaintainerState::Family> families;
    for (const ShipDocument::Boundary& boundary : document_->boundaries()) {
        MaintainerState::Family family{boundary, {}};
        for (int i = 0; i < boundary.copies.size(); ++i)
            family.copyOutlines.append(boundary.outline);
        families.append(family);
    }
    rebuildBoundaries(families);
    current_ = state();
    connect(undo_, &QUndoStack::cleanChanged, this, [this](bool clean) { setWindowModified(!clean); });
    showDeck(0);
}

MaintainerWindow::~MaintainerWindow()
{
    // Boundaries of one deck may be slaves of another deck's masters: the
    // families are dissolved before the scenes go.
    removeAllBoundaries();
}

void MaintainerWindow::buildPanel()
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    decks_ = new QComboBox;
    decks_->setObjectName(QStringLiteral("decks"));
    for (const DeckPage* page : pages_)
        decks_->addItem(page->deck().name);
    compartments_ = new QListWidget;
    compartments_->setObjectName(QStringLiteral("compartments"));
    sensors_ = new QListWidget;
    sensors_->setObjectName(QStringLiteral("sensors"));
    layout->addWidget(decks_);
    layout->addWidget(compartments_);
    layout->addWidget(sensors_);
    auto* dock = new QDockWidget(tr("甲板"), this);
    dock->setObjectName(QStringLiteral("panel"));
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setWidget(panel);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    connect(decks_, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &MaintainerWindow::showDeck);
}

void MaintainerWindow::buildActions()
{
    QToolBar* bar = addToolBar(tr("维护"));
    bar->setObjectName(QStringLiteral("tools"));
    const auto add = [&](const char* name, const QString& text, const QKeySequence& key, auto slot) {
        QAction* action = bar->addAction(text, this, slot);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
    };
    add("placeSensor", tr("放置传感器"), QKeySequence(Qt::CTRL | Qt::Key_1), [this] { placeSensor(); });
    add("redrawCompartment", tr("重画舱室轮廓"), QKeySequence(Qt::CTRL | Qt::Key_2), [this] { redrawCompartment(); });
    add("newFireBoundary", tr("新建防火边界"), QKeySequence(Qt::CTRL | Qt::Key_3), [this] { newBoundary(false); });
    add("newSmokeBoundary", tr("新建防烟边界"), QKeySequence(Qt::CTRL | Qt::Key_4), [this] { newBoundary(true); });
    bar->addSeparator();
    add("copyUp", tr("复制到上层甲板"), QKeySequence(Qt::CTRL | Qt::Key_Up),
        [this] { raiseOnSegment(&BoundaryLine::copyToUp); });
    add("copyDown", tr("复制到下层甲板"), QKeySequence(Qt::CTRL | Qt::Key_Down),
        [this] { raiseOnSegment(&BoundaryLine::copyToDown); });
    add("redrawBoundary", tr("重画边界"), QKeySequence(Qt::CTRL | Qt::Key_R),
        [this] { raiseOnSegment(&BoundaryLine::editBoundary); });
    add("removeBoundary", tr("删除边界"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
        [this] { raiseOnSegment(&BoundaryLine::removeBoundary); });
    bar->addSeparator();
    QAction* snap = bar->addAction(tr("吸附"));
    snap->setObjectName(QStringLiteral("snapToCorners"));
    snap->setToolTip(tr("画轮廓时把靠近舱室顶点的点吸附到顶点上"));
    snap->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    snap->setCheckable(true);
    connect(snap, &QAction::toggled, this, [this](bool on) { aid_->setSnapping(on); });
    bar->addSeparator();
    add("save", tr("保存"), QKeySequence::Save, [this] { save(); });
}

void MaintainerWindow::buildEditMenu()
{
    QMenu* menu = menuBar()->addMenu(tr("编辑"));
    // Any task under way ends first: a drawing must not outlive the state it started from.
    QAction* undo = menu->addAction(tr("撤销"), this, [this] {
        beginTask();
        undo_->undo();
    });
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction* redo = menu->addAction(tr("重做"), this, [this] {
        beginTask();
        undo_->redo();
    });
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcuts(QKeySequence::Redo);
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(undo_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(undo_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(undo_, &QUndoStack::undoTextChanged, undo, [undo](const QString& edit) {
        undo->setText(edit.isEmpty() ? tr("撤销") : tr("撤销 %1").arg(edit));
    });
    connect(undo_, &QUndoStack::redoTextChanged, redo, [redo](const QString& edit) {
        redo->setText(edit.isEmpty() ? tr("重做") : tr("重做 %1").arg(edit));
    });
}

bool MaintainerWindow::isModified() const
{
    return !undo_->isClean();
}

QList<const DamageBoundary*> MaintainerWindow::masterBoundaries() const
{
    QList<const DamageBoundary*> out;
    for (const DeckPage* page : pages_) {
        for (const DamageBoundary* boundary : page->layer()->boundaries()) {
            if (boundary->isMaster())
                out.append(boundary);
        }
    }
    return out;
}

MaintainerState MaintainerWindow::state(const DamageBoundary* leaving) const
{
    MaintainerState out;
    out.placement = document_->placement();
    for (const DeckPage* page : pages_) {
        for (const DamageBoundary* master : page->layer()->boundaries()) {
            if (!master->isMaster() || master == leaving)
                continue;
            MaintainerState::Family family;
            family.record = masters_.value(master);
            family.record.deck = page->deck().id;
            family.record.outline = master->boundaryPath();
            family.record.copies.clear();
            for (const DeckPage* other : pages_) {
                for (const DamageBoundary* copy : other->layer()->boundaries()) {
                    if (copy->master() == master && copy != leaving) {
                        family.record.copies.append(other->deck().id);
                        family.copyOutlines.append(copy->boundaryPath());
                    }
                }
            }
            out.boundaries.append(family);
        }
    }
    return out;
}

void MaintainerWindow::restore(const MaintainerState& state)
{
    document_->setPlacement(state.placement);
    for (const ShipDocument::Sensor& sensor : state.placement.sensors)
        pageOf(sensor.deck)->moveSensor(sensor.id, sensor.position);
    for (const ShipDocument::Compartment& compartment : state.placement.compartments)
        pageOf(compartment.deck)->setOutline(compartment.id, compartment.outline);
    rebuildBoundaries(state.boundaries);
    current_ = state;
}

void MaintainerWindow::rebuildBoundaries(const QList<MaintainerState::Family>& families)
{
    chosen_ = nullptr;
    aid_->highlight(nullptr);
    removeAllBoundaries();
    masters_.clear();
    for (const MaintainerState::Family& family : families) {
        DamageBoundary* master = pageOf(family.record.deck)->layer()->addMasterBoundary(family.record.outline);
        masters_.insert(master, family.record);
        for (int i = 0; i < family.record.copies.size(); ++i) {
            DamageBoundary* copy = pageOf(family.record.copies[i])->layer()->addSlaveBoundary(master);
            if (family.copyOutlines[i] != family.record.outline)
                copy->makeBoundary(family.copyOutlines[i], false);
        }
    }
}

void MaintainerWindow::removeAllBoundaries()
{
    rebuilding_ = true;
    for (DeckPage* page : pages_) {
        const QList<DamageBoundary*> boundaries = page->layer()->boundaries();
        for (DamageBoundary* boundary : boundaries) {
            if (boundary->isMaster())
                page->layer()->removeBoundary(boundary);
        }
    }
    rebuilding_ = false;
}

void MaintainerWindow::recordEdit(const QString& text, const DamageBoundary* leaving)
{
    MaintainerState after = state(leaving);
    undo_->push(new EditCommand(text, current_, after, [this](const MaintainerState& s) { restore(s); }));
    current_ = std::move(after);
}

void MaintainerWindow::connectLayer(DeckPage* page)
{
    DamageBoundaryLayer* layer = page->layer();
    connect(layer, &DamageBoundaryLayer::copyToUp, this, [this](DamageBoundary* b) { copyBoundary(b, 1); });
    connect(layer, &DamageBoundaryLayer::copyToDown, this, [this](DamageBoundary* b) { copyBoundary(b, -1); });
    connect(layer, &DamageBoundaryLayer::editBoundary, this, &MaintainerWindow::redrawBoundary);
    connect(layer, &DamageBoundaryLayer::prepareRemoveBoundary, this, &MaintainerWindow::removeSlaves);
}

void MaintainerWindow::showDeck(int index)
{
    if (index < 0 || index >= static_cast<int>(pages_.size()))
        return;
    beginTask();
    chosen_ = nullptr;
    aid_->highlight(nullptr);
    if (decks_->currentIndex() != index)
        decks_->setCurrentIndex(index);
    DeckPage* page = pages_[index];
    view_->setScene(page->scene());
    view_->changeDeck(page->deck().name);
    aid_->setDeck(page->deck().id);

    compartments_->clear();
    for (const ShipDocument::Compartment& compartment : document_->compartmentsOn(page->deck().id)) {
        auto* item = new QListWidgetItem(labelOf(compartment.name, compartment.code), compartments_);
        item->setData(Qt::UserRole, compartment.id);
    }
    sensors_->clear();
    for (const ShipDocument::Sensor& sensor : document_->sensorsOn(page->deck().id)) {
        auto* item = new QListWidgetItem(labelOf(sensor.name, sensor.code), sensors_);
        item->setData(Qt::UserRole, sensor.id);
    }
}

DeckPage* MaintainerWindow::currentPage() const
{
    return pages_[decks_->currentIndex()];
}

DeckPage* MaintainerWindow::pageOf(quint64 deck) const
{
    for (DeckPage* page : pages_) {
        if (page->deck().id == deck)
            return page;
    }
    return nullptr;
}

DamageBoundary* MaintainerWindow::chosenBoundary() const
{
    return chosen_ ? dynamic_cast<DamageBoundary*>(chosen_->parentItem()) : nullptr;
}

void MaintainerWindow::beginTask()
{
    if (command_->state() != IDLE)
        command_->setState(IDLE);
}

void MaintainerWindow::deleteWhenIdle(QGraphicsObject* graphic)
{
    connect(command_, &MaintenanceCommand::stateChanged, graphic, [graphic](MaintenanceCommandState state) {
        if (state == IDLE)
            graphic->deleteLater();
    });
}

void MaintainerWindow::chooseSegment(QMouseEvent* event)
{
    if (command_->state() != IDLE || event->button() != Qt::LeftButton || event->modifiers() != Qt::NoModifier)
        return;
    chosen_ = nullptr;
    for (QGraphicsItem* item : view_->items(event->pos())) {
        if (auto* line = qgraphicsitem_cast<BoundaryLine*>(item)) {
            chosen_ = line;
            break;
        }
    }
    aid_->highlight(chosen_);
    if (chosen_)
        report(tr("已选择边界"));
}

void MaintainerWindow::raiseOnSegment(void (BoundaryLine::*request)())
{
    if (!chosen_) {
        report(tr("请先在图上点击选择一条边界"));
        return;
    }
    beginTask();
    BoundaryLine* line = chosen_;
    emit(line->*request)();
}

void MaintainerWindow::placeSensor()
{
    const quint64 id = selected(sensors_);
    DeckPage* page = currentPage();
    for (const ShipDocument::Sensor& sensor : document_->sensorsOn(page->deck().id)) {
        if (sensor.id != id)
            continue;
        beginTask();
        auto* icon = new PositionIconGraphic;
        page->scene()->addItem(icon);
        const QPixmap pixmap = sensor.icon().isEmpty() ? QPixmap() : SensorConfig::instance().icon(sensor.icon());
        icon->setIcon(pixmap.isNull() ? placeholderIcon() : pixmap, sensor.position);
        connect(command_, &MaintenanceCommand::stateChanged, icon, &PositionIconGraphic::onMaintenanceStateChanged);
        connect(icon, &PositionIconGraphic::newPoint, this, [this, page, id, name = sensor.name](QPointF picked) {
            const QPointF pos = ShipDocument::rounded(picked);
            if (!document_->setSensorPosition(id, pos)) {
                refuse(document_->error());
                return;
            }
            page->moveSensor(id, pos);
            recordEdit(tr("放置传感器 %1").arg(name));
            report(tr("传感器 %1 已放置").arg(name));
        });
        deleteWhenIdle(icon);
        command_->onPositioning();
        return;
    }
    report(tr("请先选择一个传感器"));
}

void MaintainerWindow::redrawCompartment()
{
    const quint64 id = selected(compartments_);
    DeckPage* page = currentPage();
    for (const ShipDocument::Compartment& compartment : document_->compartmentsOn(page->deck().id)) {
        if (compartment.id != id)
            continue;
        beginTask();
        auto* graphic = new RegionPathGraphic;
        page->scene()->addItem(graphic);
        graphic->setPath(compartment.outline);
        connect(command_, &MaintenanceCommand::stateChanged, graphic, &RegionPathGraphic::onMaintenanceStateChanged);
        connect(graphic, &RegionPathGraphic::newPath, this, [this, page, id, name = compartment.name](QPolygonF drawn) {
            const QPolygonF path = ShipDocument::rounded(aid_->snapped(drawn));
            if (!document_->setCompartmentOutline(id, path)) {
                refuse(document_->error());
                return;
            }
            page->setOutline(id, path);
            recordEdit(tr("重画舱室 %1 的轮廓").arg(name));
            report(tr("舱室 %1 的轮廓已更新").arg(name));
        });
        deleteWhenIdle(graphic);
        command_->onPath();
        return;
    }
    report(tr("请先选择一个舱室"));
}

void MaintainerWindow::newBoundary(bool smoke)
{
    beginTask();
    DeckPage* page = currentPage();
    auto* graphic = new RegionPathGraphic;
    page->scene()->addItem(graphic);
    connect(command_, &MaintenanceCommand::stateChanged, graphic, &RegionPathGraphic::onMaintenanceStateChanged);
    connect(graphic, &RegionPathGraphic::newPath, this, [this, page, smoke](QPolygonF drawn) {
        const QPolygonF path = ShipDocument::rounded(aid_->snapped(drawn));
        if (path.size() < ShipData::kMinCorners) {
            refuse(tr("边界至少需要 %1 个点").arg(ShipData::kMinCorners));
            return;
        }
        ShipDocument::Boundary record;
        record.smoke = smoke;
        masters_.insert(page->layer()->addMasterBoundary(path), record);
        recordEdit(smoke ? tr("新建防烟边界") : tr("新建防火边界"));
        report(tr("边界已创建"));
    });
    deleteWhenIdle(graphic);
    command_->onPath();
}

void MaintainerWindow::copyBoundary(DamageBoundary* boundary, int step)
{
    const auto here = std::find_if(pages_.cbegin(), pages_.cend(),
                                   [&](const DeckPage* page) { return page->layer()->boundaries().contains(boundary); });
    const auto there = here - pages_.cbegin() + step;
    if (here == pages_.cend() || there < 0 || there >= static_cast<int>(pages_.size())) {
        refuse(step > 0 ? tr("上方没有甲板") : tr("下方没有甲板"));
        return;
    }
    pages_[there]->layer()->copyBoundaryFrom(boundary);
    recordEdit(tr("复制边界到 %1").arg(pages_[there]->deck().name));
    report(tr("边界已复制到 %1").arg(pages_[there]->deck().name));
}

void MaintainerWindow::redrawBoundary(DamageBoundary* boundary)
{
    const QPolygonF old = boundary->boundaryPath();
    boundary->setMaintenanceCommand(command_);
    boundary->onResetBoundary();
    // A drawing abandoned or too short would leave the boundary without an
    // outline, which the file cannot hold: the old outline comes back instead,
    // and the idle drawing goes.
    QPointer<DamageBoundary> guard(boundary);
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(command_, &MaintenanceCommand::stateChanged, this, [this, guard, old, once](MaintenanceCommandState s) {
        if (s != IDLE)
            return;
        disconnect(*once);
        if (!guard)
            return;
        if (!guard->lines().isEmpty()) {
            recordEdit(tr("重画边界"));
            return;
        }
        for (QGraphicsItem* child : guard->childItems()) {
            if (auto* graphic = qgraphicsitem_cast<RegionPathGraphic*>(child))
                graphic->deleteLater();
        }
        guard->makeBoundary(old, guard->isMaster());
        report(tr("边界未重画，保留原轮廓"));
    });
    command_->onPath();
}

void MaintainerWindow::removeSlaves(DamageBoundary* boundary)
{
    if (rebuilding_)
        return;
    recordEdit(tr("删除边界"), boundary);
    masters_.remove(boundary);
    if (!boundary->isMaster())
        return;
    // Part of the one edit just recorded.
    rebuilding_ = true;
    for (DeckPage* page : pages_) {
        const QList<DamageBoundary*> boundaries = page->layer()->boundaries();
        for (DamageBoundary* slave : boundaries) {
            if (slave->master() == boundary)
                page->layer()->removeBoundary(slave);
        }
    }
    rebuilding_ = false;
}

bool MaintainerWindow::save()
{
    beginTask();
    using Entry = std::pair<const DamageBoundary*, ShipDocument::Boundary>;
    std::vector<Entry> entries;
    const QList<const DamageBoundary*> masters = masterBoundaries();
    const QList<MaintainerState::Family> families = state().boundaries;
    for (int i = 0; i < families.size(); ++i) {
        const MaintainerState::Family& family = families[i];
        // The file keeps one outline per family.
        for (int j = 0; j < family.copyOutlines.size(); ++j) {
            if (family.copyOutlines[j] != family.record.outline) {
                refuse(tr("未保存: %1 上的边界副本与主边界轮廓不同，文件无法记录；请重新复制主边界或把副本复制回主边界")
                           .arg(pageOf(family.record.copies[j])->deck().name));
                return false;
            }
        }
        entries.emplace_back(masters[i], family.record);
    }
    // Boundaries from the file in the order of their ids, then the new ones deck by deck.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::make_pair(a.second.id == 0, a.second.id) < std::make_pair(b.second.id == 0, b.second.id);
    });
    QList<ShipDocument::Boundary> records;
    for (const Entry& entry : entries)
        records.append(entry.second);
    document_->setBoundaries(records);
    for (size_t i = 0; i < entries.size(); ++i)
        masters_[entries[i].first].id = document_->boundaries()[static_cast<int>(i)].id;
    if (!document_->save(output_, backup_)) {
        refuse(tr("未保存: %1").arg(document_->error()));
        return false;
    }
    // The backup keeps the file as it was before this session, not an earlier save of it.
    backup_ = false;
    // The fresh ids belong to the state the next edit starts from.
    current_ = state();
    undo_->setClean();
    report(tr("已保存到 %1").arg(output_));
    return true;
}

void MaintainerWindow::closeEvent(QCloseEvent* event)
{
    if (!isModified()) {
        event->accept();
        return;
    }
    const auto answer = QMessageBox::question(this, windowTitle(), tr("船舶文件已修改，是否保存？"),
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && save()))
        event->accept();
    else
        event->ignore();
}

quint64 MaintainerWindow::selected(QListWidget* list) const
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->data(Qt::UserRole).toULongLong() : 0;
}

void MaintainerWindow::report(const QString& message)
{
    statusBar()->setStyleSheet(QString());
    statusBar()->showMessage(message);
}

void MaintainerWindow::refuse(const QString& message)
{
    // Red until the next message, so that a refusal or a failed save cannot
    // pass for the success that usually follows the same action.
    statusBar()->setStyleSheet(QStringLiteral("QStatusBar { background: #C00000; color: white; font-weight: bold; }"));
    statusBar()->showMessage(message);
    QApplication::beep();
}
