#pragma once
// Sends or stores a document's picture the way the menu commands do once
// their dialog has been answered: the settings read, the job built from the
// picture and run on the engine to its end, its message shown, the store
// counter advanced. For the tests of the jobs on their links; the commands'
// checks and dialogs are the delivery controller's tests.
#include "graphic/logodocument.h"
#include "phone/smsdelivery.h"

#include <QEventLoop>
#include <QTimer>

namespace phonetest {

inline logo::JobOutcome runSmsJob(logo::SmsKind kind, const logo::LogoDocument &doc, logo::Prompt &prompt,
                                  logo::SettingsStore &settings, logo::AtEngine &engine,
                                  const QString &number = QStringLiteral("491711234567"))
{
    const QString section = doc.profile().settingsSection;
    if (kind == logo::SmsKind::Send)
        logo::saveDestination(settings, section, number);
    const int kept = logo::storeCount(settings, section);
    const logo::SendSettings s = logo::readSendSettings(settings, section);
    const logo::OutgoingPicture picture{&doc.profile(), doc.grid(), doc.currentMCC(), doc.currentMNC()};
    logo::SmsJob job(kind, logo::smsPdu(kind, picture, s), s.link, engine, prompt);
    QEventLoop loop;
    QObject::connect(&job, &logo::DeliveryJob::finished, [&](logo::JobOutcome outcome, const QString &text) {
        logo::showJobEnd(prompt, doc.profile().productName, outcome, text);
        loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);    // a stuck job fails, not hangs
    job.start();
    if (job.isRunning())
        loop.exec();
    if (kind == logo::SmsKind::Store)
        logo::advanceStoreCount(settings, section, kept);
    return job.outcome();
}

} // namespace phonetest
