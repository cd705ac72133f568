#pragma once
// The fields of the web upload address, as the windows build it
// (webupload/webupload.h), and the recipient's number of the gateway's form:
// checked one by one, so that a bad request is answered with the field that
// is wrong.
#include "graphic/logogrid.h"

#include <QMap>
#include <QString>

namespace logo {

struct ProgramProfile;

namespace gateway {

// A picture as the upload address carries it.
struct UploadPicture {
    QString app;        // "qlt" (a group graphic) or "bvn" (an operator logo)
    QString data;       // the data field as given
    QString mcc, mnc;   // one to three digits each
    LogoGrid grid;      // the picture the data field holds

    // The program whose delivery sends it: Quillet for "qlt", Brisvane for "bvn".
    const ProgramProfile &profile() const;
};

// The outcome of a check: the wrong field's name and what is wrong with it,
// or nothing when all is well.
struct FieldProblem {
    QString field;
    QString text;
    bool ok() const { return field.isEmpty(); }
};

// data, mcc, mnc and app; fills picture when they are right.
FieldProblem checkPictureFields(const QString &data, const QString &mcc, const QString &mnc, const QString &app,
                                UploadPicture &picture);
// Every field of the upload address: the picture's, then mode ("send"), ver
// (one to eight digits) and media (one to 32 letters or digits). A missing
// field is wrong as well.
FieldProblem checkUploadFields(const QMap<QString, QString> &fields, UploadPicture &picture);
// The recipient's number: digits only, at most 20, a leading + allowed.
FieldProblem checkRecipient(const QString &to);

// The fields of an address's query or a form's body
// (application/x-www-form-urlencoded: + is a space); the first of a repeated
// name counts.
QMap<QString, QString> parseFormFields(const QByteArray &encoded);

} // namespace gateway
} // namespace logo
