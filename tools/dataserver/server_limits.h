#pragma once

#include "writer_rules.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

class QCommandLineOption;
class QCommandLineParser;
class QString;

/**
 * What one server grants its clients, so that no client, nor any number of
 * them, can take the server's memory, descriptors or log. Each limit has a
 * command-line option; the defaults suit several stations with a ship of a few
 * thousand points.
 */
struct ServerLimits {
    /// Clients served at once; a further client is accepted and closed at once.
    int maxClients = 256;
    /// Names one client may have booked at once; further bookings are refused.
    int maxBookings = 4096;
    /// Points one client may create by writing names that have no value yet.
    int maxWrittenPoints = 1024;
    /// Points created by writing the server keeps in all, whoever wrote them;
    /// beyond it the oldest that no client books is forgotten.
    int maxCreatedPoints = 16384;
    /// Name prefixes (GBK bytes, --keep) whose points created by writing are
    /// never forgotten to make room: they count in maxCreatedPoints, and when
    /// only kept and booked points remain a new point is refused. None by default.
    QList<QByteArray> keptPrefixes;
    /// Bytes waiting to be sent to a client before it is closed as not reading.
    qint64 maxUnsentBytes = 1 << 20;
    /// Milliseconds a client may stay silent before it is closed; 0 never closes.
    int idleTimeoutMs = 0;
    /// Which client addresses may write which names (--writers); unrestricted by default.
    WriterRules writers;

    /// Descriptors kept for the server itself (standard streams, the listening
    /// socket, the event loop's wake-up, the connection being accepted).
    static constexpr int kReservedDescriptors = 16;

    /// Clients the soft descriptor limit leaves room for: the limit minus kReservedDescriptors.
    static int descriptorRoom();
    /// The options that set the limits and the writers file, with their defaults in the help text.
    static QList<QCommandLineOption> options();
    /// Defaults lowered to the descriptor room, then the options of `parser`. On a
    /// value the server cannot honour, false with `error` naming the option.
    bool read(const QCommandLineParser& parser, QString* error);
};
