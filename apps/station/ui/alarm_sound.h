#pragma once

#include "alarm_priority.h"

#include <QObject>
#include <QTemporaryDir>

#include <array>
#include <optional>

class AlarmState;
class QSoundEffect;
class QTimer;

/// The audible alert: while an active alarm awaits acknowledgement (neither
/// shelved nor suppressed), the tone of the most urgent such priority plays in
/// a loop. Each priority has its own tone, generated at start as a WAV file and
/// played through Qt Multimedia: emergency a fast two-tone warble, alarm three
/// short beeps, warning two, caution one long low beep.
///
/// Silencing stops the tone without acknowledging anything; unacknowledged
/// alarms sound again after the configured time, or at once when a new alarm
/// is raised. Muted (for training) the announcement is followed but nothing plays.
/// Where the machine has no audio device the effects report an error and stay
/// silent; what is being announced is still known.
class AlarmSound : public QObject
{
    Q_OBJECT

public:
    AlarmSound(const AlarmState& alarms, int resoundSeconds, bool muted, QObject* parent = nullptr);
    ~AlarmSound() override;

    /// Stops the tone until the resound time has passed or a new alarm comes.
    void silence();
    /// The priority being announced; none while nothing is due or silenced.
    std::optional<AlarmPriority> announcing() const { return announcing_; }
    /// The WAV file of \a priority's tone.
    QString toneFile(AlarmPriority priority) const;
    /// What sounds, as the announcement says it.
    QString announcement() const;

signals:
    /// The announcement changed; \a text says what sounds (or would, when muted).
    void announcementChanged(const QString& text);

protected:
    bool event(QEvent* event) override;

private:
    void writeTones();
    void refresh();

    const AlarmState& alarms_;
    QTemporaryDir tones_;
    std::array<QSoundEffect*, alarmpriority::kCount> effects_{};
    QTimer* resound_;
    std::optional<AlarmPriority> announcing_;
    bool silenced_ = false;
    bool muted_;
};
