#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

// The web keywords of the access window ("g quokka"): which keyword sends the query to which
// site. Stored in the preference AnswersWebKeywordList, which the manager edits and the agent
// reads; a few well-known sites when it was never set.
namespace WebKeywordSites {

extern const QString PreferenceKey;
// In a site's address, where the query goes.
extern const QString QueryMark;

struct Site {
    QString keyword;
    QString name;
    QString addressTemplate;
    bool operator==(const Site &) const = default;
};

// Google, Wikipedia in the locale's language, DuckDuckGo.
QList<Site> defaults(const QLocale &locale);
// The preference's list of {"keyword", "name", "address"} maps; entries without a keyword, with
// a space in it, or without the query mark in an http(s) address are left out; a site without
// a name takes its address's host. Unset: the defaults; an empty list: none.
QList<Site> fromPreference(const QVariant &preference, const QLocale &locale);
QVariantList toPreference(const QList<Site> &sites);
// Whether a site would be kept by fromPreference.
bool isUsable(const Site &site);

} // namespace WebKeywordSites
