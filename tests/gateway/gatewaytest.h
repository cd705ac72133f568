#pragma once
// The gateway's tests: a server on an ephemeral port of this machine with its
// queue in a temporary folder, a sender the test controls, and requests made
// through QNetworkAccessManager as a browser or a script makes them.
#include "gateway/gatewayserver.h"
#include "gateway/jobstore.h"
#include "gateway/phonesender.h"
#include "gateway/queuerunner.h"
#include "gateway/uploadfields.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <memory>

namespace gatewaytest {

struct HttpReply {
    int status = 0;
    QByteArray body;
    QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
    QMap<QByteArray, QByteArray> headers;
};

// One request, waited for; redirects are not followed.
inline HttpReply http(QNetworkAccessManager &nam, const QByteArray &method, const QUrl &url,
                      const QByteArray &body = {}, const QByteArray &contentType = {},
                      const QByteArray &authorization = {})
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!contentType.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    if (!authorization.isEmpty())
        request.setRawHeader("Authorization", authorization);
    QNetworkReply *reply = nam.sendCustomRequest(request, method, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    HttpReply r;
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.body = reply->readAll();
    for (const auto &h : reply->rawHeaderPairs())
        r.headers.insert(h.first.toLower(), h.second);
    reply->deleteLater();
    return r;
}

// A phone that records each job and, unless told to wait, ends it at once
// with the next outcome (sent when none is left).
class FakeSender : public logo::gateway::PhoneSender {
public:
    void send(const logo::gateway::UploadPicture &picture, const QString &number) override
    {
        pictures << picture;
        numbers << number;
        if (holdJobs)
            return;
        const bool ok = outcomes.isEmpty() ? true : outcomes.takeFirst();
        QTimer::singleShot(0, this, [this, ok] { emit finished(ok, ok ? QStringLiteral("Data sent.")
                                                                       : QStringLiteral("Can't send SMS.")); });
    }
    void finish(bool ok, const QString &text) { emit finished(ok, text); }

    QList<logo::gateway::UploadPicture> pictures;
    QStringList numbers;
    QList<bool> outcomes;
    bool holdJobs = false;
};

// The server on a queue file, with the fake phone or a sender of the test's.
struct Gateway {
    explicit Gateway(const QString &dbPath, const logo::gateway::GatewayLimits &limits = {},
                     const QString &token = {}, logo::gateway::PhoneSender *sender = nullptr)
    {
        opened = store.open(dbPath);
        phone = sender ? sender : &fake;
        runner = std::make_unique<logo::gateway::QueueRunner>(store, *phone);
        server = std::make_unique<logo::gateway::GatewayServer>(store, *runner);
        server->setLimits(limits);
        server->setToken(token);
        port = server->listen(QHostAddress::LocalHost, 0);
        runner->kick();
    }
    QUrl url(const QString &path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)); }
    HttpReply get(const QString &path) { return http(nam, "GET", url(path)); }
    HttpReply postJson(const QString &path, const QByteArray &body, const QByteArray &auth = {})
    {
        return http(nam, "POST", url(path), body, "application/json", auth);
    }

    bool opened = false;
    logo::gateway::JobStore store;
    FakeSender fake;
    logo::gateway::PhoneSender *phone = nullptr;
    std::unique_ptr<logo::gateway::QueueRunner> runner;
    std::unique_ptr<logo::gateway::GatewayServer> server;
    quint16 port = 0;
    QNetworkAccessManager nam;
};

} // namespace gatewaytest
