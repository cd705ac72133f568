#pragma once
// The gateway's web pages: the upload form with the picture, a job's status
// page and the pages of refused requests. Every text from outside (the
// fields, the phone's messages) is escaped.
#include <QByteArray>
#include <QMap>
#include <QSizeF>
#include <QString>

namespace logo {

class LogoGrid;

namespace gateway {

struct Job;
struct UploadPicture;

// The picture as PNG, each pixel an enlarged block of the phones' pixel
// shape (width to height), as Export writes it with a scale of 8.
QByteArray picturePng(const LogoGrid &grid, const QSizeF &pixelShape);

// The page of the upload address: the picture and a form for the recipient's
// number that posts the address's fields back to it. askToken: the form asks
// for the access code as well.
QString uploadFormPage(const UploadPicture &picture, const QMap<QString, QString> &fields,
                       const QSizeF &pixelShape, bool askToken, const QString &pauseMessage);
// A job's state and message; it refreshes itself until the job has ended.
QString jobStatusPage(const Job &job, const QString &message);
// What the API and the status page say about a job: the phone's text once it
// ended, else what it waits for (pauseMessage when the queue is paused).
QString jobMessage(const Job &job, const QString &pauseMessage);
// A refused request: a heading and one paragraph.
QString problemPage(const QString &title, const QString &text);

} // namespace gateway
} // namespace logo
