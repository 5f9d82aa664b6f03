#include "WindowAnswers.h"

#include "AnswerRecord.h"
#include "QOR_StringUtils.h"
#include "SearchTextFolding.h"

#include <QCoreApplication>

const QString WindowAnswers::PreferenceKey = QStringLiteral("AnswersWindows");

namespace {

QString fold(const QString &text)
{
    return QString::fromStdString(SearchTextFolding::fold(text));
}

} // namespace

WindowAnswers::WindowAnswers(WindowList windows, qint64 ownPid, NativeWindowList nativeWindows)
    : mWindows(std::move(windows))
    , mNativeWindows(std::move(nativeWindows))
    , mOwnPid(ownPid ? ownPid : QCoreApplication::applicationPid())
{
}

QList<QVariantMap> WindowAnswers::answer(const QString &query, int timeLimitMs)
{
    Q_UNUSED(timeLimitMs);
    const QStringList words = fold(query).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // One letter would list every window: the found items need the room more.
    if (words.isEmpty() || fold(query).simplified().size() < 2)
        return {};
    const auto matches = [&words](const QString &title, const QString &application) {
        const QString text = fold(title + QLatin1Char(' ') + application);
        return std::all_of(words.cbegin(), words.cend(),
                           [&text](const QString &word) { return text.contains(word); });
    };
    const auto row = [](const QString &title, const QString &application, bool minimized) {
        return AnswerRecord::make(
            PreferenceKey, title,
            QOR_StringUtils::getLocalizedStringForKey(
                minimized ? KORVALE_KEY("AnswerMinimizedWindowOf") : KORVALE_KEY("AnswerWindowOf"))
                .arg(application.isEmpty() ? title : application));
    };
    QList<QVariantMap> rows;
    for (const X11Windows::ClientWindow &window : mWindows()) {
        if (window.pid == mOwnPid || window.title.isEmpty()
            || !matches(window.title, window.applicationClass))
            continue;
        QVariantMap found = row(window.title, window.applicationClass, window.minimized);
        found.insert(AnswerRecord::KeyWindow, qulonglong(window.id));
        rows << found;
    }
    // The agent's own windows are XWayland's: none of these is one.
    for (const WaylandToplevels::Toplevel &window :
         mNativeWindows ? mNativeWindows() : QList<WaylandToplevels::Toplevel>()) {
        if (window.title.isEmpty() || !matches(window.title, window.applicationId))
            continue;
        QVariantMap found = row(window.title, window.applicationId, window.minimized);
        found.insert(AnswerRecord::KeyNativeWindow, window.id);
        rows << found;
    }
    return rows;
}
