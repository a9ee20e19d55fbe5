#pragma once

#include <QString>

namespace tiradex {

// The texts of the statistics, duration and scene/act text windows, used by
// the windows and by tiradex-tool. Each stands as the user sees it.
namespace ReportTexts {

inline QString statisticsTitle()
{
    return QStringLiteral("Statistiques");
}
inline QString durationsTitle()
{
    return QStringLiteral("Durations");
}
inline QString clipBoardCaption()
{
    return QStringLiteral("ClipBoard");
}
inline QString calculateCaption()
{
    return QStringLiteral("Calculate");
}
inline QString applySelectionCaption()
{
    return QStringLiteral("Apply the selection");
}
inline QString repliesNumbersCaption()
{
    return QStringLiteral("Replies numbers");
}

// Messages.
inline QString reportEmpty()
{
    return QStringLiteral("The zone of text is empty.");
}
inline QString textZoneEmpty()
{
    return QStringLiteral("Text zone is empty.");
}
inline QString copied()
{
    return QStringLiteral(
        "The text was copied in the clipboard. You can now paste it in an editor.");
}
inline QString noVoxFile()
{
    return QStringLiteral("No registered Vox file.");
}

// The statistics report.
inline QString distributionOfReplies()
{
    return QStringLiteral("Distribution of the replies");
}
inline QString totalForEveryCharacter()
{
    return QStringLiteral("Total for every character");
}
inline QString totalOfReplies()
{
    return QStringLiteral("Total of the replies : ");
}
inline QString distributionByCharacter()
{
    return QStringLiteral("Distribution by character");
}

// The duration report.
inline QString durationOfReplies()
{
    return QStringLiteral("Duration of the replies.");
}
inline QString totalRegisteredReplies()
{
    return QStringLiteral("Total of the registered replies (");
}
inline QString totalLikelyDuration()
{
    return QStringLiteral("Total likey duration : ");
}
// Shown in place of the estimate when the recorded replies have no text to
// measure a pace by.
inline QString noPace()
{
    return QStringLiteral("Total likey duration : unknown, the recorded replies have no text "
                          "to measure the pace by.");
}
inline QString precisionNote()
{
    return QStringLiteral("The indication of the total duration of the play will be precise all "
                          "the more as the number of vocal recordings will be important.");
}
inline QString repliesOnlyNote()
{
    return QStringLiteral("The calculations take into account only the duration of the replies.");
}

// A statistics count that could not be made.
inline QString cannotCount(const QString &why)
{
    return QStringLiteral("The replies cannot be counted: %1").arg(why);
}

} // namespace ReportTexts

} // namespace tiradex
