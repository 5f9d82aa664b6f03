#include "QuoteReader.h"

#include "WebSession.h"

#include <QUrl>

namespace {

QString problemOf(const WebFetchResult &result, const QuoteReader::Limits &limits)
{
    using Failure = WebFetchResult::Failure;
    switch (result.failure) {
    case Failure::None:
        break;
    case Failure::NotWeb:
        return QStringLiteral("not an http or https address");
    case Failure::TimedOut:
        return QStringLiteral("no answer within %1 s").arg(limits.totalMs / 1000.0);
    case Failure::TooLarge:
        return QStringLiteral("the answer is larger than %1 bytes").arg(limits.maximumBytes);
    case Failure::TooManyRedirects:
        return QStringLiteral("more than %1 redirects").arg(limits.maximumRedirects);
    case Failure::RefusedRedirect:
        return QStringLiteral("redirected to %1").arg(result.detail);
    case Failure::Status:
        return QStringLiteral("HTTP status %1").arg(result.status);
    case Failure::Network:
        return result.detail;
    case Failure::Stopped:
        return QStringLiteral("the pass was ended");
    }
    return {};
}

} // namespace

QuoteReader::QuoteReader(Limits limits, const std::atomic<bool> &stop, const QString &webModule)
    : mLimits(limits)
    , mStop(stop)
    , mSession(webModule.isEmpty() ? WebSession::open() : WebSession::open(webModule))
{
}

QuoteReader::~QuoteReader() = default;

QuoteReader::Result QuoteReader::read(const QString &address)
{
    WebFetchRequest request;
    request.url = QUrl(address, QUrl::StrictMode);
    request.maximumBytes = mLimits.maximumBytes;
    request.totalMs = mLimits.totalMs;
    request.maximumRedirects = mLimits.maximumRedirects;
    request.failingStatus = 300;
    if (!mSession)
        return {std::nullopt, QStringLiteral("the web module is not available")};
    const WebFetchResult result = mSession->fetch(request, mStop);
    if (!result.succeeded())
        return {std::nullopt, problemOf(result, mLimits)};
    return {result.bytes, {}};
}
