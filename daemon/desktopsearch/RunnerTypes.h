#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// The structures of KRunner's D-Bus runner interface (org.kde.krunner1), as its published
// description gives them: a match is (id, text, icon name, category, relevance, properties),
// an action (id, text, icon name).
struct RunnerMatch {
    QString id;
    QString text;
    QString iconName;
    // KRunner's match category: 100 an exact match, 70 high ... 0 lowest.
    int category = 0;
    double relevance = 0;
    // "subtext", "urls", "icon-data", "actions"...
    QVariantMap properties;
};
using RunnerMatches = QList<RunnerMatch>;

struct RunnerAction {
    QString id;
    QString text;
    QString iconName;
};
using RunnerActions = QList<RunnerAction>;

QDBusArgument &operator<<(QDBusArgument &argument, const RunnerMatch &match);
const QDBusArgument &operator>>(const QDBusArgument &argument, RunnerMatch &match);
QDBusArgument &operator<<(QDBusArgument &argument, const RunnerAction &action);
const QDBusArgument &operator>>(const QDBusArgument &argument, RunnerAction &action);

namespace RunnerTypes {
// Once per process, before the first call that carries them.
void registerTypes();
} // namespace RunnerTypes

Q_DECLARE_METATYPE(RunnerMatch)
Q_DECLARE_METATYPE(RunnerAction)
