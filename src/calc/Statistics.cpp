#include "calc/Statistics.h"

#include "platform/ErrorLog.h"
#include "platform/RuntimeError.h"
#include "store/ConvertToArray.h"
#include "store/Numbers.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

// Start values of a pass; a value still at its start value after the pass
// was never updated and is shown as 0.
constexpr float kLightestStart = 30000;
constexpr qint16 kShortestStart = 30000;
constexpr qint16 kHighestTempStart = -1000;
constexpr qint16 kLowestTempStart = 1000;
constexpr float kSmallestDepthStart = 10000;

// A file shorter than this holds no complete record.
constexpr qint64 kMinimumFileSize = 20;

// A field as read when the log was read: its value, or its error again.
template <class T> T field(T value, quint8 error)
{
    if (error)
        throw RuntimeError { error };
    return value;
}

float checkedSum(float a, float b)
{
    const float sum = a + b;
    if (!std::isfinite(sum))
        throw RuntimeError { Err::Overflow };
    return sum;
}

// "If condition Then statement" under the error convention: a condition
// that fails is logged and execution goes on inside the branch, where the
// statement, reading the same field, fails and is logged as well. This is
// how an unreadable depth still reaches the depth count.
template <class Cond, class Body> void ifThen(ErrorTrap& trap, Cond&& cond, Body&& body)
{
    bool taken = true;
    trap.step([&] { taken = cond(); });
    if (taken)
        body();
}

// "If test(field) Then target = field", the field read anew each time.
template <class T, class Read, class Test>
void updateIf(ErrorTrap& trap, T& target, Read read, Test test)
{
    ifThen(
        trap, [&] { return test(read()); }, [&] { trap.step([&] { target = read(); }); });
}

void pass(ErrorTrap& trap, const QList<CatchNumbers>& records, CatchStatistics& s)
{
    s.heaviest = 0;
    s.lightest = kLightestStart;
    s.longest = 0;
    s.shortest = kShortestStart;
    s.maxAirTemp = kHighestTempStart;
    s.minAirTemp = kLowestTempStart;
    s.maxWaterTemp = kHighestTempStart;
    s.minWaterTemp = kLowestTempStart;
    s.maxDepth = 0;
    s.minDepth = kSmallestDepthStart;
    double depthSum = 0;
    qint64 depthCount = 0;

    for (const CatchNumbers& r : records) {
        const auto w = [&] { return field(r.weight, r.weightError); };
        const auto l = [&] { return field(r.length, r.lengthError); };
        const auto a = [&] { return field(r.airTemp, r.airError); };
        const auto t = [&] { return field(r.waterTemp, r.waterError); };
        const auto p = [&] { return field(r.depth, r.depthError); };

        // 0 kg and 0 cm never make a minimum; 0 °C never makes an extreme.
        updateIf(trap, s.heaviest, w, [&](float v) { return v > s.heaviest; });
        updateIf(trap, s.lightest, w, [&](float v) { return v < s.lightest && v != 0; });
        updateIf(trap, s.longest, l, [&](qint16 v) { return v > s.longest; });
        updateIf(trap, s.shortest, l, [&](qint16 v) { return v < s.shortest && v != 0; });
        updateIf(trap, s.minAirTemp, a, [&](qint16 v) { return v < s.minAirTemp && v != 0; });
        updateIf(trap, s.maxAirTemp, a, [&](qint16 v) { return v > s.maxAirTemp && v != 0; });
        updateIf(trap, s.minWaterTemp, t, [&](qint16 v) { return v < s.minWaterTemp && v != 0; });
        updateIf(trap, s.maxWaterTemp, t, [&](qint16 v) { return v > s.maxWaterTemp && v != 0; });
        trap.step([&] { s.totalWeight = checkedSum(s.totalWeight, w()); });

        // Only depths above 0 count, but an unreadable depth fails the test
        // and so still reaches the depth count.
        ifThen(
            trap, [&] { return p() > 0; },
            [&] {
                trap.step([&] { depthSum += p(); });
                updateIf(trap, s.maxDepth, p, [&](float v) { return v > s.maxDepth; });
                updateIf(trap, s.minDepth, p, [&](float v) { return v < s.minDepth; });
                ++depthCount;
            });
    }

    if (s.minAirTemp == kLowestTempStart)
        s.minAirTemp = 0;
    if (s.minWaterTemp == kLowestTempStart)
        s.minWaterTemp = 0;
    if (s.maxAirTemp == kHighestTempStart)
        s.maxAirTemp = 0;
    if (s.maxWaterTemp == kHighestTempStart)
        s.maxWaterTemp = 0;
    if (s.minDepth == kSmallestDepthStart)
        s.minDepth = 0;
    if (s.shortest == kShortestStart)
        s.shortest = 0;
    if (s.lightest == kLightestStart)
        s.lightest = 0;
    if (depthCount == 0)
        depthCount = 1;

    trap.step([&] {
        s.averageDepth = ToSingle(depthSum / depthCount);
        if (s.averageDepth < 0)
            s.averageDepth = 0;
    });
}

} // namespace

void SucheFische(const Env& env, qint64 catchFileSize, const QList<CatchNumbers>& records,
    CatchStatistics& stats)
{
    ErrorTrap trap(env, QStringLiteral("Sub SucheFische"));
    if (catchFileSize < 0) {
        trap.log(Err::FileNotFound);
        return;
    }
    if (catchFileSize < kMinimumFileSize)
        return;

    stats.totalWeight = 0;
    pass(trap, records, stats);
}
