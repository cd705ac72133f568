#include "gateway/gatewaypages.h"

#include "desktop/profile.h"
#include "gateway/jobstore.h"
#include "gateway/uploadfields.h"
#include "picture/pictureimage.h"
#include "picture/pngfile.h"

#include <QImage>

namespace logo::gateway {

namespace {

// Escaped for text and for attribute values in double quotes; the windows'
// CR LF line breaks become <br>.
QString esc(const QString &text)
{
    QString html = text.toHtmlEscaped();
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return html;
}

QString page(const QString &title, const QString &body, bool refresh = false)
{
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">") +
           (refresh ? QStringLiteral("<meta http-equiv=\"refresh\" content=\"2\">") : QString()) +
           QStringLiteral("<meta name=\"viewport\" content=\"width=device-width\"><title>") + esc(title) +
           QStringLiteral("</title><style>body{font-family:sans-serif;margin:2em;color:#333}"
                          "img{image-rendering:pixelated;border:1px solid #999}"
                          ".note{color:#a40}</style></head><body>\n<h1>") +
           esc(title) + QStringLiteral("</h1>\n") + body + QStringLiteral("\n</body></html>\n");
}

} // namespace

QByteArray picturePng(const LogoGrid &grid, const QSizeF &pixelShape)
{
    return encodePng(exportImage(grid, exportPixelSize(8, pixelShape)));
}

QString uploadFormPage(const UploadPicture &picture, const QMap<QString, QString> &fields,
                       const QSizeF &pixelShape, bool askToken, const QString &pauseMessage)
{
    const ProgramProfile &profile = picture.profile();
    QString body = QStringLiteral("<p><img alt=\"the picture\" src=\"data:image/png;base64,") +
                   QString::fromLatin1(picturePng(picture.grid, pixelShape).toBase64()) + QStringLiteral("\"></p>\n");
    if (&profile == &ProgramProfile::brisvane())
        body += QStringLiteral("<p>Operator logo for the network %1 %2.</p>\n").arg(esc(picture.mcc), esc(picture.mnc));
    else
        body += QStringLiteral("<p>Group graphic.</p>\n");
    if (!pauseMessage.isEmpty())
        body += QStringLiteral("<p class=\"note\">") + esc(pauseMessage) + QStringLiteral("</p>\n");
    body += QStringLiteral("<form method=\"post\" action=\"/wireless/sendsms.phtml\">\n");
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        if (it.key() == QLatin1String("to") || it.key() == QLatin1String("token"))
            continue;
        body += QStringLiteral("<input type=\"hidden\" name=\"%1\" value=\"%2\">\n").arg(esc(it.key()), esc(it.value()));
    }
    body += QStringLiteral("<p><label>Recipient's number (international, digits only): "
                           "<input name=\"to\" id=\"to\" inputmode=\"tel\" maxlength=\"21\" "
                           "pattern=\"\\+?[0-9]{1,20}\" required></label></p>\n");
    if (askToken)
        body += QStringLiteral("<p><label>Access code: <input name=\"token\" id=\"token\" type=\"password\" "
                               "required></label></p>\n");
    body += QStringLiteral("<p><button type=\"submit\" id=\"send\">Send</button></p>\n</form>");
    return page(profile.productName + QStringLiteral(" - send as SMS"), body);
}

QString jobMessage(const Job &job, const QString &pauseMessage)
{
    switch (job.state) {
    case JobState::Queued:
        return pauseMessage.isEmpty() ? QStringLiteral("Waiting for the phone.") : pauseMessage;
    case JobState::Sending:
        return QStringLiteral("Sending ...");
    case JobState::Interrupted:
        return QStringLiteral("The server stopped while this job was being sent; the phone may have sent it. "
                              "Retry it to send it again.");
    case JobState::Sent:
    case JobState::Failed:
        break;
    }
    return job.message;
}

QString jobStatusPage(const Job &job, const QString &message)
{
    const bool waiting = job.state == JobState::Queued || job.state == JobState::Sending;
    const QString body = QStringLiteral("<p>State: <b id=\"state\">%1</b></p>\n<p id=\"message\">%2</p>")
                             .arg(stateName(job.state), esc(message));
    return page(QStringLiteral("Job %1").arg(job.id), body, waiting);
}

QString problemPage(const QString &title, const QString &text)
{
    return page(title, QStringLiteral("<p id=\"problem\">") + esc(text) + QStringLiteral("</p>"));
}

} // namespace logo::gateway
