#pragma once

#include <QString>
#include <QStringList>

namespace tiradex {

class Module1;
class SceneCursor;

// Whether the open scene can be rehearsed, and what the user is told when
// it cannot.
struct RehearsalEntry
{
    enum class Verdict
    {
        Allowed,
        NoReply,           // no scene open, or a scene without replies: nothing to say
        MissingRecordings, // `message` lists them
        NoFilter           // `message` says so; the filter window is to be opened
    };
    Verdict verdict = Verdict::NoReply;
    QString message;
};

// The reply numbers each followed by "-": "0003-0007-".
QString MissingRecordingsList(const QStringList &replyNumbers);

// The message for the replies `missingList` without a recording, in the
// scene labelled `actText` ("ACT 1") and `sceneText` ("SCENE 2").
QString MissingRecordingsMessage(const QString &actText, const QString &sceneText,
                                 const QString &missingList);

QString NoFilterMessage();

// Checks the open scene of `scene` in this order: every reply has its
// recording (not checked when `voicesForMissing`: synthetic voices and
// estimated gaps stand in for them), then a filter is set. `actText` and
// `sceneText` are the labels of the act and scene shown.
RehearsalEntry CheckRehearsalEntry(const Module1 &state, const SceneCursor &scene,
                                   const QString &actText, const QString &sceneText,
                                   bool voicesForMissing = false);

} // namespace tiradex
