#include "core/speech/GapTuning.h"

#include <algorithm>
#include <limits>

namespace tiradex {

GapTuning GapTuning::clamped() const
{
    GapTuning t;
    t.factorPercent = std::clamp(factorPercent, MinFactorPercent, MaxFactorPercent);
    t.extraSeconds = std::clamp(extraSeconds, MinExtraSeconds, MaxExtraSeconds);
    return t;
}

int GapTuning::apply(int gapSeconds) const
{
    const GapTuning t = clamped();
    const qint64 scaled = (qint64(std::max(gapSeconds, 1)) * t.factorPercent + 50) / 100;
    const qint64 tuned = std::max<qint64>(scaled + t.extraSeconds, 1);
    return int(std::min<qint64>(tuned, std::numeric_limits<qint16>::max()));
}

SpeakingPace SpeakingPace::FromRecordings(qint64 recordedSeconds, qint64 textBytes)
{
    SpeakingPace pace;
    if (recordedSeconds <= 0 || textBytes <= 0)
        return pace;
    // Seconds per byte rounded to four decimals, a half rounding up.
    pace.tenThousandths = (recordedSeconds * 10000 * 2 + textBytes) / (textBytes * 2);
    pace.measured = true;
    return pace;
}

int SpeakingPace::secondsFor(qint64 textBytes) const
{
    const qint64 seconds = std::max<qint64>(textBytes, 0) * tenThousandths / 10000;
    return int(std::min<qint64>(seconds, std::numeric_limits<qint16>::max()));
}

} // namespace tiradex
