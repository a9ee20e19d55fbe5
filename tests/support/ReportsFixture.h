#pragma once

// A play for the report tests in a temporary application folder, and the
// golden texts of tests/data/reports.

#include "TestFiles.h"
#include "TestPlay.h"
#include "core/app/Module1.h"

#include <QTemporaryDir>

namespace tiradex {

inline QByteArray Golden(const char *name)
{
    return ReadTestFile(QStringLiteral(TIRADEX_TEST_DATA_DIR "/reports/") + QLatin1String(name));
}

struct ReportsFixture
{
    QTemporaryDir dir;
    Module1 state;
    TestPlay play{state, dir.path()};

    // Replies 1..10: 1 A, 2 B, 3 A (act 1 scene 1); 4..6 A (scene 2); 7..10 B (act 2).
    static QList<TestPlay::Scene> twoActs()
    {
        const QString a = QStringLiteral("A");
        const QString b = QStringLiteral("B");
        return {TestPlay::numberedScene(1, 1, 1, 3, {a, b}),
                TestPlay::numberedScene(1, 2, 4, 3, {a}), TestPlay::numberedScene(2, 1, 7, 4, {b})};
    }
};

} // namespace tiradex
