#include "AgentOtherData.h"

#include "DaemonController.h"
#include "EdsData.h"

#include <QPointer>
#include <QTimer>

#include <utility>

AgentOtherData::AgentOtherData(DaemonController &controller,
                               OtherDataReaders::Environment environment, QObject *parent)
    : QObject(parent)
    , mController(controller)
    , mReaders(std::move(environment))
{
    connect(&mReaders, &OtherDataReaders::faviconsSaved, this,
            [this](const QVariantList &favicons) {
                mController.lists().mListOfFavicons = favicons;
                emit faviconsChanged();
            });
    // A reader is never what the quit waits for: the readings stop with the agent.
    connect(&mController, &DaemonController::terminating, this,
            [this] { stopReading(ReaderThread::StopWaitMs); });
    // A change in one of Evolution Data Server's sources rereads that source alone, a moment
    // later so that a synchronisation bringing many items costs one reading.
    for (QTimer *timer : {&mEdsContacts, &mEdsEvents}) {
        timer->setSingleShot(true);
        timer->setInterval(EdsChangeDelayMs);
    }
    connect(&mEdsContacts, &QTimer::timeout, this, [this] {
        if (mController.settings().mOtherDataAddressBook)
            readOtherData(true, false);
    });
    connect(&mEdsEvents, &QTimer::timeout, this, [this] {
        if (mController.settings().mOtherDataCalendarEvents)
            readCalendarEvents();
    });
    // Called on the module's thread.
    const auto startOnThisThread = [self = QPointer<AgentOtherData>(this)](QTimer *timer) {
        return [self, timer] {
            QMetaObject::invokeMethod(
                self.data(),
                [self, timer] {
                    if (self && !timer->isActive())
                        timer->start();
                },
                Qt::QueuedConnection);
        };
    };
    EdsData::instance().watch(startOnThisThread(&mEdsContacts), startOnThisThread(&mEdsEvents));
}

AgentOtherData::~AgentOtherData()
{
    EdsData::instance().watch({}, {});
    stopReading(ReaderThread::StopWaitMs);
}

bool AgentOtherData::stopReading(int ms)
{
    return mThread.stop(ms);
}

void AgentOtherData::readOtherData(bool addressBook, bool bookmarks)
{
    if (mOtherDataReading) {
        mOtherDataAgain = true;
        return;
    }
    mOtherDataReading = true;
    const OtherDataReaders::Reading contacts =
        addressBook ? mReaders.addressBookReading() : OtherDataReaders::Reading();
    const OtherDataReaders::Reading browsers =
        bookmarks ? mReaders.bookmarksReading() : OtherDataReaders::Reading();
    mThread.run(
        [contacts, browsers] {
            QVariantMap read;
            if (contacts)
                read.insert(QStringLiteral("contacts"), contacts());
            if (browsers)
                read.insert(QStringLiteral("bookmarks"), browsers());
            return QVariant(read);
        },
        [this](const QVariant &read) { adoptOtherData(read.toMap()); });
}

void AgentOtherData::adoptOtherData(const QVariantMap &read)
{
    mOtherDataReading = false;
    // The settings as they are now: a source switched off during the reading stays off.
    const DaemonSettings &settings = mController.settings();
    DaemonLists &lists = mController.lists();
    QVariantList replaced[2];
    const auto contacts = read.constFind(QStringLiteral("contacts"));
    if (contacts != read.cend() && settings.mOtherDataAddressBook) {
        QVariantList found = contacts->toList();
        if (!found.isEmpty())
            replaced[0] = std::exchange(lists.mListOfAddressBook, std::move(found));
    }
    const auto bookmarks = read.constFind(QStringLiteral("bookmarks"));
    if (bookmarks != read.cend() && settings.mOtherDataBookmarks) {
        replaced[1] = std::exchange(lists.mListOfBookMarks, bookmarks->toList());
        if (settings.mOtherDataBookmarksFavicons)
            QTimer::singleShot(100, this, [this] { updateFavicons(); });
    }
    // Freeing thousands of records costs the main thread milliseconds, more while the reader
    // allocates beside it: the lists replaced go to the reader thread to be freed there.
    mThread.run(
        [contacts = std::move(replaced[0]), bookmarks = std::move(replaced[1])]() mutable {
            contacts = QVariantList();
            bookmarks = QVariantList();
            return QVariant();
        },
        {});
    emit otherDataAdopted();
    if (mOtherDataAgain) {
        mOtherDataAgain = false;
        if (settings.mOtherDataAddressBook || settings.mOtherDataBookmarks)
            readOtherData(settings.mOtherDataAddressBook != 0, settings.mOtherDataBookmarks != 0);
    }
}

void AgentOtherData::readCalendarEvents(std::function<void()> adopted)
{
    if (adopted)
        mCalendarWaiting.push_back(std::move(adopted));
    if (mCalendarReading)
        return;
    mCalendarReading = true;
    mThread.run([reading = mReaders.calendarReading(
                     QDateTime::currentDateTime())] { return QVariant(reading()); },
                [this](const QVariant &read) {
                    mCalendarReading = false;
                    QVariantList events = read.toList();
                    if (!events.isEmpty()) {
                        mThread.run(
                            [replaced = std::exchange(mController.lists().mListOfCalendarEvents,
                                                      std::move(events))]() mutable {
                                replaced = QVariantList();
                                return QVariant();
                            },
                            {});
                    }
                    std::vector<std::function<void()>> waiting;
                    waiting.swap(mCalendarWaiting);
                    for (const std::function<void()> &done : waiting)
                        done();
                });
}

void AgentOtherData::updateFavicons()
{
    if (mController.settings().mOtherDataBookmarksFavicons == 0)
        return;
    // The thread takes both lists as they are when it starts.
    DaemonController *controller = &mController;
    mReaders.updateFavicons([controller] { return controller->lists().mListOfBookMarks; },
                            [controller] { return controller->lists().mListOfFavicons; });
}
