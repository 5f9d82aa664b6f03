#include "WindowAnswers.h"

#include "AnswerRecord.h"
#include "QOR_StringUtils.h"
#include "SearchTextFolding.h"

#include <QCoreApplication>

namespace {

QString fold(const QString &text)
{
    return QString::fromStdString(SearchTextFolding::fold(text));
}

} // namespace

WindowAnswers::WindowAnswers(WindowList windows, qint64 ownPid)
    : mWindows(std::move(windows))
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
    QList<QVariantMap> rows;
    for (const X11Windows::ClientWindow &window : mWindows()) {
        if (window.pid == mOwnPid || window.title.isEmpty())
            continue;
        const QString text = fold(window.title + QLatin1Char(' ') + window.applicationClass);
        const bool found = std::all_of(words.cbegin(), words.cend(), [&text](const QString &word) {
            return text.contains(word);
        });
        if (!found)
            continue;
        const QString application =
            window.applicationClass.isEmpty() ? window.title : window.applicationClass;
        QVariantMap row =
            AnswerRecord::make(PreferenceKey, window.title,
                               QOR_StringUtils::getLocalizedStringForKey(
                                   window.minimized ? KORVALE_KEY("AnswerMinimizedWindowOf")
                                                    : KORVALE_KEY("AnswerWindowOf"))
                                   .arg(application));
        row.insert(AnswerRecord::KeyWindow, qulonglong(window.id));
        rows << row;
    }
    return rows;
}
