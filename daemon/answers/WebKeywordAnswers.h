#pragma once

#include "AnswerFamily.h"
#include "WebKeywordSites.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

#include <mutex>

// "g quokka": a keyword at the start of the query sends the rest to a search site, opened in the
// default browser. The keywords and their sites: WebKeywordSites.
class WebKeywordAnswers : public AnswerFamily
{
public:
    static const QString PreferenceKey;
    using Site = WebKeywordSites::Site;

    explicit WebKeywordAnswers(QLocale locale = QLocale());

    QString preferenceKey() const override { return PreferenceKey; }
    QList<QVariantMap> answer(const QString &query, int timeLimitMs) override;

    // Any thread.
    void setSites(QList<Site> sites);
    // Each word percent-encoded and the words joined by "+", as the search forms send them
    // (the manager's web search for applications does the same).
    static QString queryText(const QString &text);

private:
    std::mutex mMutex;
    QList<Site> mSites;
};
