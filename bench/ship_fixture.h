#pragma once

// A large deck built as a host builds one, from the sample ship's styles and
// drawing: sensors with state items on a grid, compartments tiling the deck.

#include <QRectF>
#include <QString>

#include <memory>

class DeckScene;

namespace harq {
class Deck;
}

namespace benchship {

/// Loads the sample ship's region, sensor and damage styles.
void loadSampleStyles();

/// Writes the sample main deck's drawing, enlarged so that a few thousand
/// sensor icons stand apart, into `folder`; returns the file's path.
QString writeDeckDrawing(const QString& folder);
/// The drawing's rectangle in scene units.
QRectF deckArea();

/// The deck the display, start-up and value-path benchmarks build: a large
/// ship's deck.
constexpr int kSensors = 2000;
constexpr int kCompartments = 300;

/// The tag of sensor `i`'s state item.
QString stateTag(int i);

/// A deck of `sensors` fire detectors (one state item each) on a grid and
/// `compartments` cabins tiling the area. With `offerAll` every sensor is
/// offered to every compartment, as the host guide describes; otherwise only
/// to the compartments whose bounding rectangle holds it.
std::unique_ptr<harq::Deck> buildDeck(int sensors, int compartments, bool offerAll);

/// Shows `deck` on `scene` as the station does: the drawing, a reaction region
/// per compartment, a mark sensor graphic with a blinking animation per sensor.
void showDeck(DeckScene& scene, harq::Deck& deck, const QString& drawing);

} // namespace benchship
