// The boundary's members and steps that only the maintenance edition has.
#include "graphics/damage_boundary.h"

#include "graphics/boundary_line.h"
#include "graphics/damage_boundary_edition.h"
#include "maintenance/maintenance_command.h"
#include "maintenance/region_path_graphic.h"
#include "object_link.h"

#include <QGraphicsScene>

#include <memory>

DamageBoundary::DamageBoundary(harq::Deck* deck, QGraphicsItem* parent)
    : QGraphicsItem(parent)
    , deck_(deck)
{
}

void DamageBoundary::makeBoundary(QPolygonF path, bool master)
{
    buildSegments(std::move(path), master);
}

void DamageBoundary::setMaintenanceCommand(MaintenanceCommand* command)
{
    command_ = command;
}

void DamageBoundary::prepareRemove()
{
    dissolveFamily();
}

void DamageBoundary::onResetBoundary()
{
    // A drawing abandoned earlier gives way to the new one.
    delete redrawing_;
    redrawing_ = new RegionPathGraphic(this);
    redrawing_->setPath(QPolygonF());
    clearPath();
    connect(redrawing_, &RegionPathGraphic::newPath, this, &DamageBoundary::finishRedrawing);
    if (!command_)
        return;
    connect(command_, &MaintenanceCommand::stateChanged, redrawing_, &RegionPathGraphic::onMaintenanceStateChanged);
    // An abandoned drawing stays in place, showing nothing, but takes no part in
    // the maintainer's next task: it would rebuild this boundary from an outline
    // drawn for something else.
    MaintenanceCommand* command = command_;
    RegionPathGraphic* drawing = redrawing_;
    auto started = std::make_shared<bool>(false);
    connect(command_, &MaintenanceCommand::stateChanged, drawing, [command, drawing, started](MaintenanceCommandState state) {
        if (state == PATH)
            *started = true;
        else if (*started && (state == IDLE || state == POSITIONING))
            command->disconnect(drawing);
    });
}

void DamageBoundary::connectRequests(BoundaryLine* line)
{
    connect(line, &BoundaryLine::removeBoundary, this, [this] { emit removeBoundary(this); });
    connect(line, &BoundaryLine::copyToUp, this, [this] { emit copyToUp(this); });
    connect(line, &BoundaryLine::copyToDown, this, [this] { emit copyToDown(this); });
    connect(line, &BoundaryLine::editBoundary, this, [this] { emit editBoundary(this); });
}

void DamageBoundary::finishRedrawing(const QPolygonF& path)
{
    makeBoundary(path, isMaster());
    // The drawing is still announcing the accepted outline: it leaves the plan
    // now and goes once the emission is over.
    RegionPathGraphic* drawing = redrawing_;
    redrawing_ = nullptr;
    if (!drawing)
        return;
    // Whatever the command announces next belongs to another drawing.
    drawing->disconnect(this);
    if (command_)
        command_->disconnect(drawing);
    kelvane::detachAndDelete(drawing, kelvane::Deletion::Later);
}

// The family code exists in the edition with tags only.
void DamageBoundaryEdition::stampFamily(DamageBoundary&) {}

void DamageBoundaryEdition::relayRequests(DamageBoundary& boundary, BoundaryLine* line)
{
    boundary.connectRequests(line);
}
