#include "widgets/deliverycontroller.h"

#include "desktop/programcontext.h"
#include "desktop/waitcursor.h"
#include "graphic/logodocument.h"
#include "infrared/irdelivery.h"
#include "infrared/irmessage.h"
#include "phone/phonebookjob.h"
#include "phone/seriallink.h"
#include "phone/smsdelivery.h"
#include "sms/networkcode.h"
#include "widgets/optionsdialog.h"
#include "widgets/readingdialog.h"
#include "widgets/senddialog.h"
#include "widgets/sendingdialog.h"
#include "widgets/storedialog.h"

#include <QTimer>

namespace logo {

namespace {

// Starts job once the dialog's own event loop runs, so that a job that ends
// at once (a port that does not open) can hide the dialog again, and shows
// the dialog until the job's end has hidden it.
void runWhileShown(QDialog &dialog, DeliveryJob &job)
{
    QTimer::singleShot(0, &job, [&dialog, &job] {
        if (dialog.isVisible())
            job.start();
    });
    dialog.exec();
}

} // namespace

DeliveryController::DeliveryController(LogoDocument &doc, ProgramContext &context, QWidget *window, PhoneLink *link,
                                       TickSource *ticks)
    : QObject(window),
      m_doc(doc),
      m_context(context),
      m_window(window),
      m_link(link ? link : new SerialLink(this)),
      m_ticks(ticks ? ticks : new TimerTicks(1000, this)),
      m_engine(new AtEngine(*m_link, *m_ticks, this))
{
}

DeliveryController::~DeliveryController()
{
    // Dialogs of a window that is already gone were deleted with it.
    delete m_send.data();
    delete m_reading.data();
    delete m_store.data();
    delete m_sending.data();
    delete m_options.data();
}

// The dialogs are made when first wanted, not with the window: most starts
// never open one.
SendDialog *DeliveryController::sendDialog()
{
    if (!m_send) {
        m_send = new SendDialog(m_context.prompt, m_context.title(), &m_phonebook, m_window);
        connect(m_send, &SendDialog::phonebookWanted, this, &DeliveryController::loadPhonebookCache);
        connect(m_send, &SendDialog::phonebookReadRequested, this, &DeliveryController::readPhonebook);
    }
    return m_send;
}

StoreDialog *DeliveryController::storeDialog()
{
    if (!m_store)
        m_store = new StoreDialog(m_window);
    return m_store;
}

SendingDialog *DeliveryController::sendingDialog()
{
    if (!m_sending)
        m_sending = new SendingDialog(m_window);
    return m_sending;
}

ReadingDialog *DeliveryController::readingDialog()
{
    if (!m_reading)
        m_reading = new ReadingDialog(m_window);
    return m_reading;
}

OutgoingPicture DeliveryController::picture() const
{
    return {&m_doc.profile(), m_doc.grid(), m_doc.currentMCC(), m_doc.currentMNC()};
}

void DeliveryController::showJobEnd(JobOutcome outcome, const QString &text)
{
    logo::showJobEnd(m_context.prompt, m_doc.profile().productName, outcome, text);
}

// ------------------------------------------------------------------ sending and storing

void DeliveryController::sendPicture()
{
    deliverSms(SmsKind::Send);
}

void DeliveryController::storePicture()
{
    deliverSms(SmsKind::Store);
}

void DeliveryController::deliverSms(SmsKind kind)
{
    m_context.runMarks.setBusy(true);
    runSms(kind);
    m_context.runMarks.setBusy(false);
}

void DeliveryController::runSms(SmsKind kind)
{
    if (!pictureMayGo(m_doc, m_context.prompt, DeliveryPath::SmartMessage))
        return;
    SettingsStore &settings = m_context.settings;
    const QString section = m_context.section();
    if (!checkSendSettings(kind, readSendSettings(settings, section), m_context.prompt, m_doc.profile().productName))
        return;
    int kept = 0;
    if (kind == SmsKind::Send) {
        const std::optional<QString> number = askDestination(lastDestination(settings, section));
        if (!number)
            return;
        saveDestination(settings, section, *number);
    } else {
        kept = storeCount(settings, section);
        if (!askToStore(storeNumberText(m_doc.profile(), kept)))
            return;
    }
    const SendSettings sendSettings = readSendSettings(settings, section);
    SmsJob job(kind, smsPdu(kind, picture(), sendSettings), sendSettings.link, *m_engine, m_context.prompt);
    connect(&job, &DeliveryJob::finished, this, &DeliveryController::showJobEnd);
    followJob(job, true);
    if (kind == SmsKind::Store)
        advanceStoreCount(settings, section, kept);
}

std::optional<QString> DeliveryController::askDestination(const QString &lastUsed)
{
    const QPointer<SendDialog> dialog = sendDialog();
    dialog->setLastUsedNumber(lastUsed);
    if (dialog->exec() != QDialog::Accepted || !dialog)
        return std::nullopt;
    return dialog->number();
}

bool DeliveryController::askToStore(const QString &numberText)
{
    StoreDialog *dialog = storeDialog();
    dialog->setNumberText(numberText);
    return dialog->exec() == QDialog::Accepted;
}

void DeliveryController::followJob(DeliveryJob &job, bool cancellable)
{
    const QPointer<SendingDialog> dialog = sendingDialog();
    dialog->follow(&job, cancellable);
    runWhileShown(*dialog, job);
    if (dialog)
        dialog->follow(nullptr, true);
}

// ------------------------------------------------------------------ phonebook

void DeliveryController::loadPhonebookCache()
{
    m_phonebook.setRead(
        logo::loadPhonebookCache(m_phonebook, phonebookCacheFound(m_context.appFolder, m_doc.profile()), m_context.prompt));
}

void DeliveryController::readPhonebook()
{
    const QPointer<ReadingDialog> dialog = readingDialog();
    const PhonebookSettings settings =
        readPhonebookSettings(m_context.settings, phonebookCacheToWrite(m_context.appFolder, m_doc.profile()));
    PhonebookJob job(m_phonebook, settings, *m_engine, m_context.prompt);
    connect(&job, &DeliveryJob::finished, this, &DeliveryController::showJobEnd);
    dialog->follow(&job);
    runWhileShown(*dialog, job);
    if (dialog)
        dialog->follow(nullptr);
}

// ------------------------------------------------------------------ infrared

QByteArray DeliveryController::irMessage() const
{
    const OutgoingPicture p = picture();
    return buildIrMessage(*p.profile, p.grid, p.mcc, p.mnc);
}

void DeliveryController::sendByInfrared()
{
    m_context.runMarks.setBusy(true);
    runUpload();
    m_context.runMarks.setBusy(false);
}

void DeliveryController::runUpload()
{
    if (!pictureMayGo(m_doc, m_context.prompt, DeliveryPath::Infrared))
        return;
    const IrSettings settings = readIrSettings(m_context.settings);
    if (!checkIrSettings(settings, m_context.prompt, m_doc.profile().productName))
        return;
    WaitCursor wait;
    IrUploadJob job(irMessage(), settings);
    connect(&job, &DeliveryJob::finished, this, &DeliveryController::showJobEnd);
    followJob(job, false);
}

// ------------------------------------------------------------------ options

void DeliveryController::setBranding(bool smsHidden, bool storeHidden, bool irHidden)
{
    m_hidden[0] = smsHidden;
    m_hidden[1] = storeHidden;
    m_hidden[2] = irHidden;
    if (m_options)
        m_options->applyBranding(smsHidden, storeHidden, irHidden);
}

OptionsDialog *DeliveryController::optionsDialog()
{
    if (!m_options) {
        m_options = new OptionsDialog(m_context, *m_engine, m_window);
        m_options->applyBranding(m_hidden[0], m_hidden[1], m_hidden[2]);
    }
    return m_options;
}

void DeliveryController::showOptions()
{
    m_context.runMarks.setBusy(true);
    optionsDialog()->exec();
    m_context.runMarks.setBusy(false);
}

} // namespace logo
