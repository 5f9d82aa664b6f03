#include "AgentOtherData.h"

#include "DaemonController.h"

AgentOtherData::AgentOtherData(DaemonController &controller,
                               OtherDataReaders::Environment environment, QObject *parent)
    : QObject(parent)
    , mController(controller)
    , mReaders(controller.preferences(), std::move(environment))
{
    connect(&mReaders, &OtherDataReaders::faviconsSaved, this,
            [this](const QVariantList &favicons) {
                mController.lists().mListOfFavicons = favicons;
                emit faviconsChanged();
            });
}

QVariantList AgentOtherData::readAddressBook()
{
    return mReaders.readAddressBook(mController.lists().mListOfAddressBook);
}

QVariantList AgentOtherData::readBookmarks()
{
    return mReaders.readBookmarks();
}

void AgentOtherData::readCalendarEvents()
{
    DaemonLists &lists = mController.lists();
    lists.mListOfCalendarEvents =
        mReaders.readCalendarEvents(lists.mListOfCalendarEvents, QDateTime::currentDateTime());
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
