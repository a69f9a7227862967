#include "host_window.h"

#include "view/deck_scene.h"
#include "view/deck_view_complex.h"

#include <QDockWidget>
#include <QListWidget>
#include <QStatusBar>
#include <QTextCodec>
#include <QTimer>

#include <cstring>

namespace {

constexpr int kRetryMs = 3000;

/// The text a record's value shows: numbers by their type code, text as such.
QString valueText(const stDt& record)
{
    switch (record.nTp & 0xFF) {
    case 4:
        return QString::number(double(record.unDt.f));
    case 0:
        return QString::number(qint64(record.unDt.dw64));
    case 128:
        return QString::number(record.unDt.db);
    case 64:
        return QString::fromLocal8Bit(reinterpret_cast<const char*>(record.unDt.sz),
                                      int(strnlen(reinterpret_cast<const char*>(record.unDt.sz), sizeof record.unDt.sz)));
    default:
        return QString::number(qint32(record.unDt.dw));
    }
}

} // namespace

HostWindow::HostWindow(const QString& deck, const QString& drawing, const QStringList& points, QWidget* parent)
    : QMainWindow(parent)
    , scene_(new DeckScene(this))
    , view_(new DeckViewComplex(this))
    , values_(new QListWidget)
{
    // The scene first, then the view on it; setDeck clears the scene, so a
    // host adds its layers (compartments, sensors, ...) after this call.
    scene_->setDeck(deck, drawing);
    view_->setScene(scene_);
    view_->changeDeck(deck);
    setCentralWidget(view_);

    for (const QString& point : points) {
        rows_.insert(point, new QListWidgetItem(tr("%1: 无数据").arg(point), values_));
    }
    auto* dock = new QDockWidget(tr("数据点"), this);
    dock->setWidget(values_);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    setWindowTitle(deck);

    client_.setRecordHandler(this, [this](stDt* records, int count) { showRecords(records, count); });
    connect(&client_, &Tavimor::stateChanged, this, [this, points](Tavimor::State state) {
        if (state == Tavimor::State::Connected) {
            statusBar()->showMessage(tr("已连接"));
            for (int i = 0; i < points.size(); ++i)
                client_.BookDt(points[i], 0, i + 1 == points.size() ? 1 : 0, nullptr);
        } else if (state == Tavimor::State::Unconnected) {
            statusBar()->showMessage(tr("未连接"));
        }
    });
}

bool HostWindow::follow(const QString& address, quint16 port)
{
    // A lost server is tried again every few seconds.
    auto* retry = new QTimer(this);
    connect(retry, &QTimer::timeout, this, [this, address, port] {
        if (client_.state() == Tavimor::State::Unconnected)
            client_.connectToServer(address, port);
    });
    retry->start(kRetryMs);
    return client_.connectToServer(address, port);
}

void HostWindow::showRecords(stDt* records, int count)
{
    for (int i = 0; i < count; ++i) {
        const stDt& record = records[i];
        static QTextCodec* const gbk = QTextCodec::codecForName("GBK");
        const QString name = gbk->toUnicode(record.szNm, int(strnlen(record.szNm, sizeof record.szNm)));
        if (QListWidgetItem* row = rows_.value(name))
            row->setText(QStringLiteral("%1: %2").arg(name, valueText(record)));
    }
}
