#pragma once
// The AT engine on a fake link with ticks the test calls, and the steps of a
// send job queued on it: what the engine's tests start from.
#include "common/phonefakes.h"
#include "phone/atengine.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace phonetest {

struct EngineFixture : ::testing::Test {
    FakeLink link;
    ManualTicks ticks;
    logo::AtEngine engine{link, ticks};
    QSignalSpy finished{&engine, &logo::AtEngine::finished};
    QSignalSpy progress{&engine, &logo::AtEngine::progress};
    QSignalSpy beeps{&engine, &logo::AtEngine::beep};

    // The five steps of a send job, as the jobs queue them.
    void queueSendSteps(int port = 3)
    {
        engine.clearSteps();
        const QString com = QStringLiteral("Can't talk to COM%1").arg(port);
        engine.queueStep("AT\r", logo::ReplyCode::Ok, 0, com + ".");
        engine.queueStep("ATZ\r", logo::ReplyCode::Ok, 5, com + " driver.");
        engine.queueStep("AT+CMGF=0\r", logo::ReplyCode::Ok, 20, "Can't set params.");
        engine.queueStep("AT+CMGS=154\r", logo::ReplyCode::Prompt, 40, "Can't initiate sending.");
        engine.queueStep("0791PDU\x1a", logo::ReplyCode::Ok, 55, "Can't send SMS.");
        engine.setLinkPort(port, "/dev/fake");
    }
    void startSend()
    {
        queueSendSteps();
        ASSERT_TRUE(engine.startJob());
    }
    // A tick as the timer would deliver it: only while the engine wants one.
    void tick()
    {
        ASSERT_TRUE(ticks.isActive()) << "no tick was due";
        engine.tick();
    }
    int step() const { return engine.state().currentStep; }
    QString endMessage() const { return finished.isEmpty() ? QString() : finished.last().at(1).toString(); }
    logo::JobOutcome endOutcome() const
    {
        return finished.isEmpty() ? logo::JobOutcome(-1) : finished.last().at(0).value<logo::JobOutcome>();
    }
};

} // namespace phonetest
