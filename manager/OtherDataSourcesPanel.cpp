#include "OtherDataSourcesPanel.h"

#include "ItemRowDelegate.h"
#include "QOR_StringUtils.h"
#include "platform/DBusNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace {

const QString AgentPath = QStringLiteral("/org/korvale/OtherData");
const QString AgentInterface = QStringLiteral("org.korvale.OtherData");
// The agent answers from memory; a busy one is not waited for long.
constexpr int AnswerTimeoutMs = 5000;

QString localized(const QString &key)
{
    return QOR_StringUtils::getLocalizedStringForKey(key);
}

QString originText(const QString &origin)
{
    if (origin == QLatin1String("eds"))
        return localized(KORVALE_KEY("OtherDataOriginEds"));
    if (origin == QLatin1String("edsFiles"))
        return localized(KORVALE_KEY("OtherDataOriginEdsFiles"));
    if (origin == QLatin1String("thunderbird"))
        return localized(KORVALE_KEY("OtherDataOriginThunderbird"));
    if (origin == QLatin1String("kde"))
        return localized(KORVALE_KEY("OtherDataOriginKde"));
    return localized(KORVALE_KEY("OtherDataOriginUser"));
}

QLabel *quietLabel(const QString &text)
{
    auto *label = new QLabel(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ItemRowDelegate::secondaryColour(palette, false));
    label->setPalette(palette);
    return label;
}

} // namespace

OtherDataSourcesPanel::OtherDataSourcesPanel(QWidget *parent, const QString &agentService)
    : QWidget(parent)
    , mAgentService(agentService)
    , mStatus(new QLabel)
    , mList(new QWidget)
    , mGrid(new QGridLayout(mList))
{
    auto *title = new QLabel(localized(KORVALE_KEY("OtherDataSourcesTitle")));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    mStatus->setWordWrap(true);
    mGrid->setContentsMargins(12, 0, 0, 0);
    mGrid->setHorizontalSpacing(16);
    mGrid->setVerticalSpacing(2);
    // Compact: the count beside its row, not at the far edge of a wide window.
    mGrid->setColumnStretch(3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(mStatus);
    layout->addWidget(mList);
    mStatus->setText(localized(KORVALE_KEY("OtherDataSourcesAsking")));
    mList->hide();
}

QString OtherDataSourcesPanel::statusText() const
{
    return mStatus->isHidden() ? QString() : mStatus->text();
}

void OtherDataSourcesPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void OtherDataSourcesPanel::refresh()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        mAgentService, AgentPath, AgentInterface, QStringLiteral("Sources"));
    auto *watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(call, AnswerTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *answer) {
                answer->deleteLater();
                const QDBusPendingReply<QVariantList> reply = *answer;
                showAnswer(reply.isError()
                               ? std::nullopt
                               : std::optional<QVariantList>(
                                   DBusNotificationCenter::fromWire(reply.value()).toList()));
            });
}

void OtherDataSourcesPanel::setShownKinds(bool contacts, bool calendars)
{
    mContacts = contacts;
    mCalendars = calendars;
    if (mAnswers > 0)
        showRows();
}

void OtherDataSourcesPanel::showAnswer(const std::optional<QVariantList> &sources)
{
    ++mAnswers;
    mAnswer = sources;
    showRows();
}

void OtherDataSourcesPanel::showRows()
{
    const std::optional<QVariantList> &sources = mAnswer;
    mRows.clear();
    if (sources) {
        for (const QVariant &entry : *sources) {
            const QVariantMap source = entry.toMap();
            const QString kind = source.value(QStringLiteral("kind")).toString();
            if (!(kind == QLatin1String("calendar") ? mCalendars : mContacts))
                continue;
            mRows.append(
                {source.value(QStringLiteral("name")).toString(),
                 localized(kind == QLatin1String("calendar") ? KORVALE_KEY("OtherDataKindCalendar")
                                                             : KORVALE_KEY("OtherDataKindContacts"))
                     + QStringLiteral(" · ")
                     + originText(source.value(QStringLiteral("origin")).toString()),
                 QLocale().toString(source.value(QStringLiteral("count")).toInt())});
        }
    }
    while (QLayoutItem *item = mGrid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (int i = 0; i < mRows.size(); ++i) {
        const Row &row = mRows.at(i);
        auto *name = new QLabel(row.name);
        name->setTextInteractionFlags(Qt::TextSelectableByMouse);
        mGrid->addWidget(name, i, 0);
        mGrid->addWidget(quietLabel(row.kindAndOrigin), i, 1);
        QLabel *count = quietLabel(row.count);
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mGrid->addWidget(count, i, 2);
    }
    mList->setVisible(!mRows.isEmpty());
    mStatus->setVisible(mRows.isEmpty());
    mStatus->setText(!sources ? localized(KORVALE_KEY("OtherDataSourcesNoAgent"))
                              : localized(KORVALE_KEY("OtherDataSourcesNone")));
}
