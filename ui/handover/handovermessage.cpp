// The hand-over message on its own, without sockets or windows: what the
// receiving instance makes of bytes from outside.
#include "handover/handover.h"

#include <QStringDecoder>

namespace logo {

namespace {

const QByteArray kHeader = "HANDOVER 1\n";
const QByteArray kRaise = "RAISE\n";
const QByteArray kOpen = "OPEN ";
const QByteArray kToken = "TOKEN ";

// Start-up ids and activation tokens are short printable ASCII without spaces.
bool isToken(const QByteArray &token)
{
    if (token.isEmpty() || token.size() > InstanceHandOver::MaxToken)
        return false;
    for (const char c : token)
        if (c <= ' ' || c > '~')
            return false;
    return true;
}

} // namespace


QByteArray InstanceHandOver::encode(const QString &path, const QByteArray &token)
{
    QByteArray message = kHeader;
    if (isToken(token))
        message += kToken + token + '\n';
    if (path.isEmpty())
        return message + kRaise;
    const QByteArray bytes = path.toUtf8();
    return message + kOpen + QByteArray::number(bytes.size()) + '\n' + bytes;
}

InstanceHandOver::Parse InstanceHandOver::decode(const QByteArray &bytes, QString *path, QByteArray *token)
{
    // A prefix of the expected text is incomplete, anything else invalid.
    auto expect = [](const QByteArray &text, const QByteArray &wanted) {
        if (text.size() < wanted.size())
            return wanted.startsWith(text) ? Parse::Incomplete : Parse::Invalid;
        return text.startsWith(wanted) ? Parse::Open : Parse::Invalid;
    };
    if (const Parse header = expect(bytes, kHeader); header != Parse::Open)
        return header;
    QByteArray rest = bytes.mid(kHeader.size());
    if (rest.isEmpty())
        return Parse::Incomplete;
    if (rest.front() == kToken.front()) {
        if (const Parse line = expect(rest, kToken); line != Parse::Open)
            return line;
        const qsizetype eol = rest.indexOf('\n');
        if (eol < 0)
            return rest.size() - kToken.size() > MaxToken ? Parse::Invalid : Parse::Incomplete;
        const QByteArray given = rest.mid(kToken.size(), eol - kToken.size());
        if (!isToken(given))
            return Parse::Invalid;
        if (token)
            *token = given;
        rest = rest.mid(eol + 1);
        if (rest.isEmpty())
            return Parse::Incomplete;
    }
    if (rest.front() == kRaise.front()) {
        const Parse raise = expect(rest, kRaise);
        return raise != Parse::Open ? raise : rest.size() == kRaise.size() ? Parse::Raise : Parse::Invalid;
    }
    if (const Parse open = expect(rest, kOpen); open != Parse::Open)
        return open;
    const qsizetype eol = rest.indexOf('\n', kOpen.size());
    if (eol < 0)
        return rest.size() - kOpen.size() > 10 ? Parse::Invalid : Parse::Incomplete;
    const QByteArray count = rest.mid(kOpen.size(), eol - kOpen.size());
    bool ok = false;
    const qlonglong length = count.toLongLong(&ok);
    if (!ok || length <= 0 || length > MaxMessage || count != QByteArray::number(length))
        return Parse::Invalid;
    const QByteArray body = rest.mid(eol + 1);
    if (body.size() != length)
        return body.size() < length ? Parse::Incomplete : Parse::Invalid;
    // The path must be well-formed UTF-8 without NUL characters.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(body);
    if (utf8.hasError() || text.contains(QChar(0)))
        return Parse::Invalid;
    *path = text;
    return Parse::Open;
}

} // namespace logo
