#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>

class SearchController;

// The agent's search for the desktop's: the access window's lists and ranking, searched on the
// search engine's worker for other programs, with the to-dos and reminders after them, kept to
// what OfferedItems lets out. The protected notes are never searched, whatever is typed.
class OfferedSearch : public QObject
{
    Q_OBJECT
public:
    // The to-dos and the stored reminders as they stand; called on the main thread.
    using PersonalLists = std::function<QVariantList()>;
    using Done = std::function<void(const QList<QVariantMap> &records)>;

    OfferedSearch(SearchController &search, PersonalLists personal, QObject *parent = nullptr);
    ~OfferedSearch() override;

    // done runs on the main thread, unless this object is gone by then.
    void search(const QString &query, Done done);

    static constexpr int kLimit = 50;
    static constexpr int kPersonalLimit = 10;

private:
    struct Shared;
    SearchController &mSearch;
    PersonalLists mPersonal;
    std::shared_ptr<Shared> mShared;
};
