#pragma once

class BoundaryLine;
class DamageBoundary;

/// Steps of the shared boundary code that one edition takes and the other does
/// not. Each edition's boundary unit defines them: damage_boundary_tags.cpp and
/// maintenance/damage_boundary_maintenance.cpp. Internal to the library.
class DamageBoundaryEdition
{
public:
    /// From makeMasterBoundary(): kelvaned draws the new family's code.
    static void stampFamily(DamageBoundary& master);
    /// From the segment building: the maintenance edition relays the segment's
    /// requests as the boundary's own signals.
    static void relayRequests(DamageBoundary& boundary, BoundaryLine* line);
};
