// Host of the edition with tags: uses what only that edition declares.
#include "host_check.h"

#include "entity/deck.h"
#include "entity/region.h"

#include <QCoreApplication>

#ifdef KELVANE_MAINTENANCE
#error "Kelvane::kelvaned passed on the maintenance edition's definition"
#endif

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    harq::Deck deck;
    auto* cabin = new harq::Region;
    cabin->setType(harq::Region::CabinType);
    for (const QPointF corner : {QPointF(0, 0), QPointF(10, 0), QPointF(10, 10), QPointF(0, 10)})
        cabin->addPoint(corner);
    deck.addRegion(cabin);
    cabin->setDeck(&deck);
    check(deck.cabinAtPos(QPointF(5, 5)) == cabin, "cabinAtPos finds the cabin around a point");
    check(deck.cabinAtPos(QPointF(20, 5)) == nullptr, "cabinAtPos finds nothing outside every cabin");

    checkTavimor();
    checkEnglishTranslation();
    return failures();
}
