#pragma once

#include <QByteArray>
#include <QDBusContext>
#include <QObject>
#include <QString>

class SearchController;

// The agent's search on the session bus, for korvale-search: it finds the lists already
// prepared, including those the agent only holds in memory (bookmarks). Under the agent's name:
//   gdbus call --session --dest org.korvale.Daemon --object-path /org/korvale/Search
//              --method org.korvale.Search.Search QUERY TYPE FORM
// TYPE as korvale-search's --type (0-5, 9); FORM "lines" or "json". The reply is the bytes
// korvale-search prints, sent once the pass has run on the search engine's worker, so the
// agent's main thread only starts it. The protected notes (type 6) are refused.
class SearchBus : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.korvale.Search")
public:
    static const QString ObjectPath;
    static const QString Interface;
    static const QString Method;
    static const QString ErrorRefused;
    static const QString ErrorStopped;

    explicit SearchBus(SearchController &search, QObject *parent = nullptr);
    ~SearchBus() override;

    // On the session bus connection the agent's name is owned on; false when it cannot be.
    bool publish();
    // The filter values another program may ask for.
    static bool isSearchableType(int type);

public slots:
    Q_SCRIPTABLE QByteArray Search(const QString &query, int type, const QString &form);

private:
    SearchController &mSearch;
    bool mPublished = false;
};
