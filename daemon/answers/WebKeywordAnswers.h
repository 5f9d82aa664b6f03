#pragma once

#include "AnswerFamily.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

#include <mutex>

// "g quokka": a keyword at the start of the query sends the rest to a search site, opened in the
// default browser. The keywords and their sites are the preference AnswersWebKeywordList when
// set, a few well-known sites otherwise.
class WebKeywordAnswers : public AnswerFamily
{
public:
    static inline const QString PreferenceKey = QStringLiteral("AnswersWebKeywords");
    static inline const QString ListPreferenceKey = QStringLiteral("AnswersWebKeywordList");
    // In a site's address, where the query goes.
    static inline const QString QueryMark = QStringLiteral("<<QUERY>>");

    struct Site {
        QString keyword;
        QString name;
        QString addressTemplate;
        bool operator==(const Site &) const = default;
    };

    explicit WebKeywordAnswers(QLocale locale = QLocale());

    QString preferenceKey() const override { return PreferenceKey; }
    QList<QVariantMap> answer(const QString &query, int timeLimitMs) override;

    // Any thread.
    void setSites(QList<Site> sites);
    // The preference's list of {"keyword", "name", "address"} maps; entries without a keyword
    // or without the query mark in an http(s) address are left out. Unset: the defaults.
    static QList<Site> sitesFrom(const QVariant &preference, const QLocale &locale);
    static QList<Site> defaultSites(const QLocale &locale);
    static QVariantList toPreference(const QList<Site> &sites);
    // Each word percent-encoded and the words joined by "+", as the search forms send them
    // (the manager's web search for applications does the same).
    static QString queryText(const QString &text);

private:
    std::mutex mMutex;
    QList<Site> mSites;
};
