#pragma once

// A play for the report tests: the scenes of the two-act example (act 1:
// scene 1 A 2 replies and B 1, scene 2 A 3; act 2: scene 1 B 4) in a
// temporary application folder, and the golden texts of tests/data/reports.

#include "TestPlay.h"
#include "core/app/Module1.h"

#include <QFile>
#include <QTemporaryDir>

namespace tiradex {

inline QByteArray Golden(const char *name)
{
    QFile file(QStringLiteral(TIRADEX_TEST_DATA_DIR "/reports/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing golden file");
}

inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ReportsFixture
{
    QTemporaryDir dir;
    Module1 state;
    TestPlay play{state, dir.path()};

    // Replies 1..10: 1 A, 2 B, 3 A (act 1 scene 1); 4..6 A (scene 2); 7..10 B (act 2).
    static QList<TestPlay::Scene> twoActs()
    {
        auto scene = [](int act, int number, QList<QPair<int, QString>> replies) {
            TestPlay::Scene s{act, number, QStringLiteral("SCENE %1. A place.").arg(number), {}};
            for (const auto &r : replies)
                s.replies.append(
                    {r.first, r.second, {QStringLiteral("Words of %1.").arg(r.first)}});
            return s;
        };
        const QString a = QStringLiteral("A");
        const QString b = QStringLiteral("B");
        return {scene(1, 1, {{1, a}, {2, b}, {3, a}}), scene(1, 2, {{4, a}, {5, a}, {6, a}}),
                scene(2, 1, {{7, b}, {8, b}, {9, b}, {10, b}})};
    }
};

} // namespace tiradex
