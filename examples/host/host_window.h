#pragma once

#include "Tavimor.h"

#include <QHash>
#include <QMainWindow>

class DeckScene;
class DeckViewComplex;
class QListWidget;
class QListWidgetItem;

/// The smallest useful host of the toolkit: one deck drawing in a DeckScene
/// shown by a DeckViewComplex, and the values of a few data points followed
/// through Tavimor beside it.
class HostWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// Shows \a drawing as the deck \a deck and lists \a points, not yet followed.
    HostWindow(const QString& deck, const QString& drawing, const QStringList& points, QWidget* parent = nullptr);

    /// Connects to the data server at \a address:\a port and books the points once
    /// connected, again after every reconnection. False for an address that is not numeric.
    bool follow(const QString& address, quint16 port);

    DeckScene* scene() const { return scene_; }

private:
    void showRecords(stDt* records, int count);

    DeckScene* scene_;
    DeckViewComplex* view_;
    QListWidget* values_;
    QHash<QString, QListWidgetItem*> rows_;
    Tavimor client_;
};
