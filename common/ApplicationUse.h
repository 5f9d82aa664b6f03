#pragma once

#include <QSet>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// "ApplicationsUse.krvdata": which application was in front when, and which were open on each
// local day. The agent writes it (ApplicationUseRecorder); the manager reads it for the activity
// report. One list: all use records, oldest first, then all day summaries, oldest first.
//
// Use record:   {"N": name, "D": start, "T": end (optional; absent or 0 is a single sample)}
// Day summary:  {"M": archived dictionary name -> 0 (a set), "D": local midnight of the day}
// Legacy day:   {"L": archived list of names, "D": ...}, read and converted, never written.
// Times are whole seconds since 2001-01-01 00:00 UTC.
namespace ApplicationUse {

extern const QString KeyName;
extern const QString KeyStart;
extern const QString KeyEnd;
extern const QString KeyOpened;
extern const QString KeyLegacyOpened;

// A lone sample stands for this long; samples of one application closer than the gap (after
// the end of what is merged so far) melt into one interval.
constexpr qint64 SampleSeconds = 60;
constexpr qint64 MergeGapSeconds = 90;
constexpr qint64 SaveIntervalSeconds = 3600;

// The time between samples: SampleSeconds, or KORVALE_APPLICATIONS_USE_PERIOD (whole seconds,
// 1 to 60) so that tests need not wait minutes. The merge rule keeps its 60 and 90 s.
double samplePeriodSeconds();

// The name stored for a process: the last element of its desktop entry or executable path,
// without its extension ("/usr/share/applications/org.gnome.Nautilus.desktop" gives
// "org.gnome.Nautilus"). Empty for an empty path.
QString nameForBundlePath(const QString &path);

struct Records {
    QVariantList uses; // use records
    QVariantList days; // day summaries
};

// Splits a file's list; legacy summaries become "M" summaries (those without "D" are dropped).
Records load(const QVariantList &fileList);
QVariantList fileList(const Records &records);

// Local midnight (the day's first instant) of the day holding `seconds`.
qint64 dayStart(qint64 seconds);

QVariantMap daySummary(const QSet<QString> &names, qint64 day);
// The names of a summary's "M" (or legacy "L"); empty when it does not decode.
QSet<QString> namesOfDay(const QVariantMap &summary);

// Melts consecutive samples into intervals and cuts an interval where the next application
// starts, in one pass. A compacted list stays as it is when compacted again, so the records
// before `from`, compacted by an earlier save, are not walked again.
void compact(QVariantList &uses, qsizetype from = 0);
// When use records older than the first day summary exist, summaries for their days go first.
void summarisePastDays(Records &records);
// Today's summary: the names seen since the last save, with those of a summary already written
// for today.
void closeToday(Records &records, QSet<QString> seenSinceSave, qint64 todayStart);
// All of a save but the writing; `compactedBefore` as for compact().
void prepareSave(Records &records, const QSet<QString> &seenSinceSave, qint64 todayStart,
                 qsizetype compactedBefore = 0);

} // namespace ApplicationUse
