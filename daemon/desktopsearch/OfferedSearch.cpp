#include "OfferedSearch.h"

#include "OfferedItems.h"
#include "PreparedList.h"
#include "SearchController.h"
#include "SearchPass.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

namespace {
// The access window's filters: everything, and the notes alone (the to-dos and reminders are
// searched as a notes list of their own).
constexpr int AllTypes = 0;
constexpr int NotesType = 5;
} // namespace

// Outlives this object while a pass holds it: the worker may still run after the agent dropped
// the provider.
struct OfferedSearch::Shared {
    PreparedListCache personalCache;
    std::atomic<bool> stop{false};
};

OfferedSearch::OfferedSearch(SearchController &search, PersonalLists personal, QObject *parent)
    : QObject(parent)
    , mSearch(search)
    , mPersonal(std::move(personal))
    , mShared(std::make_shared<Shared>())
{
}

OfferedSearch::~OfferedSearch()
{
    mShared->stop = true;
}

void OfferedSearch::search(const QString &query, Done done)
{
    if (query.trimmed().isEmpty()) {
        done({});
        return;
    }
    SearchSources personal;
    personal.notes = mPersonal ? mPersonal() : QVariantList();
    QPointer<OfferedSearch> self(this);
    mSearch.searchForCaller(AllTypes, query,
                            [self, shared = mShared, personal, query,
                             done = std::move(done)](const SearchPass::Result &result) {
                                QList<QVariantMap> records;
                                if (result.completed) {
                                    const SearchPass::Result mine =
                                        SearchPass(shared->personalCache, 1)
                                            .run(personal, NotesType, query, {}, shared->stop);
                                    const qsizetype personalCount =
                                        std::min<qsizetype>(mine.items.size(), kPersonalLimit);
                                    for (const FoundItem &item : result.items) {
                                        if (records.size() >= kLimit - personalCount)
                                            break;
                                        const QVariantMap record = item.record();
                                        if (OfferedItems::isOffered(record))
                                            records.append(record);
                                    }
                                    for (qsizetype i = 0; i < personalCount; ++i) {
                                        const QVariantMap record = mine.items.at(i).record();
                                        if (OfferedItems::isOffered(record))
                                            records.append(record);
                                    }
                                }
                                // The application outlives any provider: whether this one is still
                                // there is asked on the main thread, where it would be destroyed.
                                QMetaObject::invokeMethod(
                                    QCoreApplication::instance(),
                                    [self, records, done] {
                                        if (self)
                                            done(records);
                                    },
                                    Qt::QueuedConnection);
                            });
}
