#pragma once

class DeckViewComplex;

/// Steps of the shared view code that one edition takes and the other does not.
/// Each edition's unit defines them: deck_view_complex_tags.cpp and
/// maintenance/deck_view_complex_maintenance.cpp. Internal to the library.
class DeckViewComplexEdition
{
public:
    /// From the constructor with a scene: kelvaned follows pan, pinch and tap.
    static void grabTouchGestures(DeckViewComplex& view);
};
