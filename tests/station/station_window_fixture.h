#pragma once

#include "sample_ship_fixture.h"

#include "alarm_list.h"
#include "data_link.h"
#include "event_log.h"
#include "console_clock.h"
#include "station_console.h"
#include "station_window.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <memory>

/// The station's window on the sample ship with its data link down: values are
/// handed to the model directly, as the link would. A fixture that wants a live
/// link brings its own through makeLink(). Fixtures that add to SetUp() call this
/// one first and stop on its fatal failures.
class StationWindowFixture : public SampleShipFixture
{
protected:
    void SetUp() override
    {
        SampleShipFixture::SetUp();
        if (HasFatalFailure())
            return;
        link_ = makeLink();
        ASSERT_NE(link_, nullptr);
        console_ = std::make_unique<StationConsole>(*ship_, *link_, alarmSettings(), ConsoleClock::system());
        window_ = std::make_unique<StationWindow>(*ship_, *console_, *link_, alarmSettings(), true);
        list_ = window_->findChild<AlarmList*>();
        log_ = window_->findChild<EventLog*>();
        ASSERT_TRUE(list_ && log_);
        for (QLineEdit* edit : window_->findChildren<QLineEdit*>())
            QObject::connect(edit, &QLineEdit::textChanged, [this] { fading_ = true; });
    }

    void TearDown() override
    {
        // A line edit fades its clear button in or out when its text is set or
        // emptied, through an animation that no object owns and that deletes
        // itself when it ends: let it end before the window goes.
        if (fading_)
            QTest::qWait(kClearButtonFadeMs);
        SampleShipFixture::TearDown();
    }

    /// The link the window is built on; null fails the set-up.
    virtual std::unique_ptr<DataLink> makeLink() { return unreachableLink(); }

    std::unique_ptr<DataLink> link_;
    std::unique_ptr<StationConsole> console_;
    std::unique_ptr<StationWindow> window_;
    AlarmList* list_ = nullptr;
    EventLog* log_ = nullptr;

private:
    static constexpr int kClearButtonFadeMs = 250;
    bool fading_ = false;
};
