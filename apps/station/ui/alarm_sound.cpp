#include "alarm_sound.h"

#include "alarm_state.h"

#include <QDataStream>
#include <QEvent>
#include <QFile>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <cmath>
#include <vector>

namespace {

constexpr int kSampleRate = 22050;
constexpr double kAmplitude = 0.4 * 32767;
constexpr int kMsPerSecond = 1000;
constexpr double kTwoPi = 6.283185307179586;

/// A tone: \a frequency Hz for \a onMs, then \a offMs of silence.
struct Beep {
    double frequency;
    int onMs;
    int offMs;
};

std::vector<Beep> patternOf(AlarmPriority priority)
{
    switch (priority) {
    case AlarmPriority::Emergency:
        return {{988, 120, 0}, {740, 120, 0}, {988, 120, 0}, {740, 120, 0}, {988, 120, 0}, {740, 120, 400}};
    case AlarmPriority::Alarm: return {{880, 150, 100}, {880, 150, 100}, {880, 150, 900}};
    case AlarmPriority::Warning: return {{660, 200, 150}, {660, 200, 1800}};
    case AlarmPriority::Caution: break;
    }
    return {{440, 500, 3500}};
}

QByteArray samples(const std::vector<Beep>& pattern)
{
    QByteArray pcm;
    QDataStream out(&pcm, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (const Beep& beep : pattern) {
        const int on = beep.onMs * kSampleRate / kMsPerSecond;
        for (int i = 0; i < on; ++i)
            out << qint16(std::lround(kAmplitude * std::sin(kTwoPi * beep.frequency * i / kSampleRate)));
        for (int i = 0; i < beep.offMs * kSampleRate / kMsPerSecond; ++i)
            out << qint16(0);
    }
    return pcm;
}

bool writeWav(const QString& path, const QByteArray& pcm)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    constexpr quint16 kChannels = 1;
    constexpr quint16 kBits = 16;
    constexpr quint32 kFormatSize = 16;
    constexpr quint16 kPcm = 1;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + pcm.size());
    out.writeRawData("WAVEfmt ", 8);
    out << kFormatSize << kPcm << kChannels << quint32(kSampleRate)
        << quint32(kSampleRate * kChannels * kBits / 8) << quint16(kChannels * kBits / 8) << kBits;
    out.writeRawData("data", 4);
    out << quint32(pcm.size());
    out.writeRawData(pcm.constData(), pcm.size());
    return out.status() == QDataStream::Ok;
}

} // namespace

AlarmSound::AlarmSound(const AlarmState& alarms, int resoundSeconds, bool muted, QObject* parent)
    : QObject(parent)
    , alarms_(alarms)
    , resound_(new QTimer(this))
    , muted_(muted)
{
    resound_->setSingleShot(true);
    resound_->setInterval(resoundSeconds * kMsPerSecond);
    connect(resound_, &QTimer::timeout, this, [this] {
        silenced_ = false;
        refresh();
    });
    writeTones();
    connect(&alarms, &AlarmState::alarmRaised, this, [this] {
        // A new alarm ends a silence: the operator has not heard this one yet.
        silenced_ = false;
        resound_->stop();
        refresh();
    });
    connect(&alarms, &AlarmState::alarmChanged, this, &AlarmSound::refresh);
    refresh();
}

AlarmSound::~AlarmSound() = default;

QString AlarmSound::toneFile(AlarmPriority priority) const
{
    return tones_.filePath(QStringLiteral("priority-%1.wav").arg(int(priority)));
}

void AlarmSound::writeTones()
{
    if (muted_)
        return;
    for (int p = 0; p < alarmpriority::kCount; ++p) {
        const auto priority = AlarmPriority(p);
        // Without a folder or a file the priority simply stays silent.
        if (!tones_.isValid() || !writeWav(toneFile(priority), samples(patternOf(priority))))
            continue;
        auto* effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(toneFile(priority)));
        effect->setLoopCount(QSoundEffect::Infinite);
        effects_.at(std::size_t(p)) = effect;
    }
}

void AlarmSound::silence()
{
    silenced_ = true;
    resound_->start();
    refresh();
}

void AlarmSound::refresh()
{
    const std::optional<AlarmPriority> due = silenced_ ? std::nullopt : alarms_.mostUrgentToAnnounce();
    if (due == announcing_)
        return;
    if (announcing_) {
        if (QSoundEffect* playing = effects_.at(std::size_t(*announcing_)))
            playing->stop();
    }
    announcing_ = due;
    if (due) {
        if (QSoundEffect* effect = effects_.at(std::size_t(*due)))
            effect->play();
    }
    emit announcementChanged(announcement());
}

QString AlarmSound::announcement() const
{
    if (announcing_)
        return muted_ ? tr("声响 (静音): %1").arg(alarmpriority::name(*announcing_))
                      : tr("声响: %1").arg(alarmpriority::name(*announcing_));
    return silenced_ ? tr("已消音") : QString();
}

bool AlarmSound::event(QEvent* event)
{
    // Sent on by the window this belongs to, as to every child of it.
    if (event->type() == QEvent::LanguageChange)
        emit announcementChanged(announcement());
    return QObject::event(event);
}
