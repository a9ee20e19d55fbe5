#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

class Module1;

// One record of "stat.txt": how many replies one character speaks in one
// scene. Act and scene are kept as written (two digits in the cache).
struct StatRecord
{
    QString act;
    QString scene;
    QString name;
    QString count;
};

// The records of the cache for the play's scene store: for every act of
// "treeview.ini" and every scene 1..count of it, one record per character
// of `names` in list order. A reply file counts for a character when the
// character of its name equals the character's name, letter case ignored.
// A missing scene folder counts as a scene without replies. std::nullopt
// (and *error) when "treeview.ini" cannot be read.
std::optional<QList<StatRecord>> CountReplies(const Module1 &state, const QStringList &names,
                                              QString *error);

// The cache's bytes: one line "AA","SS","NAME","COUNT" per record, CR LF ended.
QByteArray FormatStatCache(const QList<StatRecord> &records);
// The records of the cache's text (fields beyond the fourth are ignored,
// missing ones are empty).
QList<StatRecord> ParseStatCache(const QString &text);

// PlayFolder + "/stat.txt".
QString StatCachePath(const Module1 &state);

// Reads "stat.txt", counting and writing it first (atomically) when it does
// not exist: an existing cache is never rewritten. std::nullopt (and
// *error) when the count or the write fails, or the cache cannot be read.
std::optional<QList<StatRecord>> LoadStatCache(const Module1 &state, const QStringList &names,
                                               QString *error);

// The report of the records, with its three sections (the distribution by
// scene, the totals per character with the grand total, the distribution
// for each character), lines ended by CR LF. Totals go to the first
// character of `names` whose name equals the record's name exactly.
QString StatisticsReport(const QList<StatRecord> &records, const QStringList &names);

} // namespace tiradex
