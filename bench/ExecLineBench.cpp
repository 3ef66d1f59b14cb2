// How long the autostart entry's Exec reader takes on long and deeply wrapped
// lines, up to the 4 MB an entry may be; each line must come back unchanged
// (bench/AutostartEntryBench times whole entries).
// The figures are in docs/PERFORMANCE.md:
//     bench/ExecLineBench --benchmark_counters_tabular=true

#include "ExecLine.h"

#include <benchmark/benchmark.h>
#include <functional>

namespace {
const QString host = QStringLiteral("/usr/bin/orvel-widget-host");

QByteArray repeated(const QByteArray &piece, qsizetype times)
{
    QByteArray out;
    out.reserve(piece.size() * times);
    for (qsizetype i = 0; i < times; ++i)
        out += piece;
    return out;
}

void readLine(benchmark::State &state, const std::function<QByteArray(qsizetype)> &make)
{
    const QByteArray line = make(state.range(0));
    for (auto _ : state) {
        const QByteArray kept = ExecLine::startingProgram(line, host).value;
        if (kept != line)
            state.SkipWithError("the line was not kept");
        benchmark::DoNotOptimize(kept);
    }
    state.counters["bytes"] = double(line.size());
}

void nestedEnv(benchmark::State &state)
{
    readLine(state, [](qsizetype n) { return repeated("env ", n) + host.toUtf8() + " --x"; });
}

void nestedNohup(benchmark::State &state)
{
    readLine(state, [](qsizetype n) { return repeated("nohup ", n) + host.toUtf8() + " --x"; });
}

void nestedSplitStrings(benchmark::State &state)
{
    readLine(state, [](qsizetype n) { return repeated("env -Senv ", n) + host.toUtf8(); });
}

void shellString(benchmark::State &state)
{
    readLine(state, [](qsizetype n) { return "sh -c \"" + repeated("a;", n / 2) + host.toUtf8() + '"'; });
}

void shellStringNamedInAnExpansion(benchmark::State &state)
{
    readLine(state, [](qsizetype n) {
        return "sh -c \"" + repeated("a;", n / 2) + "\\\\$(command -v orvel-widget-host) --x\"";
    });
}

// Moved paths, each in a string of its own: the user's line, left as it is.
void movedInNestedStrings(benchmark::State &state)
{
    const QByteArray line = "sh -c '" + repeated("sh -c /old/orvel-widget-host;", state.range(0) / 30) + "'";
    for (auto _ : state)
        benchmark::DoNotOptimize(ExecLine::startingProgram(line, host).value);
    state.counters["bytes"] = double(line.size());
}

// Names that are all different: none is looked up, the line is a shell's.
void distinctCommands(benchmark::State &state)
{
    readLine(state, [](qsizetype n) {
        QByteArray line = "sh -c '";
        for (int i = 0; line.size() < n; ++i)
            line += 'c' + QByteArray::number(i) + ';';
        return line + host.toUtf8() + "'";
    });
}

void bareWords(benchmark::State &state)
{
    readLine(state, [](qsizetype n) { return host.toUtf8() + repeated(" a", n / 2); });
}
} // namespace

BENCHMARK(nestedEnv)->Arg(20'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(nestedNohup)->Arg(20'000)->Arg(100'000)->Arg(600'000)->Unit(benchmark::kMillisecond);
BENCHMARK(nestedSplitStrings)->Arg(1'000)->Arg(100'000)->Arg(300'000)->Unit(benchmark::kMillisecond);
BENCHMARK(shellString)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(shellStringNamedInAnExpansion)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(movedInNestedStrings)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(distinctCommands)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(bareWords)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
