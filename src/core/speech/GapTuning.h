#pragma once

#include <QtGlobal>

namespace tiradex {

// How the actor stretches the gaps of a non-stop rehearsal and of a
// practice track: every gap is multiplied by a factor and lengthened by an
// extra time. Whole numbers only, so the arithmetic is exact.
struct GapTuning
{
    static constexpr int MinFactorPercent = 50;
    static constexpr int MaxFactorPercent = 200;
    static constexpr int DefaultFactorPercent = 100;
    static constexpr int MinExtraSeconds = 0;
    static constexpr int MaxExtraSeconds = 5;

    int factorPercent = DefaultFactorPercent; // 50 to 200: 0.5 to 2.0 times
    int extraSeconds = 0;                     // 0 to 5

    // The same tuning with both values brought into their ranges.
    GapTuning clamped() const;
    // The tuned length of a gap of `gapSeconds` (at least 1): the factor
    // applied and rounded to the nearest second (a half rounds up), the
    // extra added, and never below 1 second. With the defaults it is
    // `gapSeconds` unchanged.
    int apply(int gapSeconds) const;

    bool operator==(const GapTuning &) const = default;
};

// The actor's speaking pace, in ten-thousandths of a second per byte of
// reply text, as the durations report computes it: recorded seconds over
// the bytes of the recorded replies' texts, rounded to four decimals.
struct SpeakingPace
{
    // Stated pace when the actor has recorded nothing yet: 0.0650 s per
    // byte, about fifteen letters a second, an unhurried stage delivery.
    static constexpr qint64 DefaultTenThousandths = 650;

    qint64 tenThousandths = DefaultTenThousandths;
    bool measured = false; // false: the default pace

    // The pace of `recordedSeconds` spoken over `textBytes`; the default
    // pace when there are no bytes or no seconds.
    static SpeakingPace FromRecordings(qint64 recordedSeconds, qint64 textBytes);
    // Whole seconds for a reply text of `textBytes`: pace times bytes,
    // rounded down (a result of 0 becomes the rehearsal's short gap).
    int secondsFor(qint64 textBytes) const;
};

} // namespace tiradex
