// How long reading and editing a whole autostart entry takes, for the largest
// entries a desktop reads, up to the 4 MB an entry may be (600,000 keys among
// them). Each must be answered in well under a second:
//     bench/AutostartEntryBench --benchmark_counters_tabular=true

#include "LoginItem.h"
#include "PrivateFiles.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <functional>

namespace {
const QString host = QStringLiteral("/usr/bin/orvel-widget-host");
constexpr qsizetype cap = PrivateFiles::keptFileLimit;

// Lines of a piece, as many as fit in `size` after the header.
QByteArray filled(
    const QByteArray &head, const QByteArray &piece, qsizetype size, const QByteArray &tail = {})
{
    QByteArray out = head;
    out.reserve(size);
    while (out.size() + piece.size() + tail.size() <= size)
        out += piece;
    return out + tail;
}

void edit(benchmark::State &state, const QByteArray &entry)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(AutostartLoginItem::editedEntry(entry, host, true));
    state.counters["bytes"] = double(entry.size());
}

// The whole road: the file read, judged and left as it is (or written).
void status(benchmark::State &state, const QByteArray &entry)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("orvel.desktop"));
    if (!file.open(QIODevice::WriteOnly) || file.write(entry) != entry.size())
        state.SkipWithError("the entry could not be written");
    file.close();
    AutostartLoginItem item(file.fileName(), host);
    for (auto _ : state)
        benchmark::DoNotOptimize(item.status());
    state.counters["bytes"] = double(entry.size());
}

const QByteArray keys = filled("[Desktop Entry]\n", "Exec=x\n", cap);
const QByteArray shortKeys = filled("[Desktop Entry]\n", "A=1\n", cap);
const QByteArray crKeys = filled("[Desktop Entry]\r", "Exec=x\r", cap);
const QByteArray keysGLibRefuses = filled("\xEF\xBB\xBF[Desktop Entry]\nno key\n", "Hidden=true\n", cap);
const QByteArray groups = filled({}, "[Desktop Entry]\nExec=x\n", cap);
const QByteArray comment = filled("[Desktop Entry]\nExec=/usr/bin/orvel-widget-host\n#", "x", cap - 1, "\n");
const QByteArray wrappers = filled("[Desktop Entry]\nExec=", "env ", cap - 40, host.toUtf8() + " --x\n");
const QByteArray shell = filled("[Desktop Entry]\nExec=sh -c '", "a;", cap - 40, host.toUtf8() + "'\n");
const QByteArray words = filled("[Desktop Entry]\nExec=/old/orvel-widget-host", " a", cap - 2, "\n");
} // namespace

BENCHMARK_CAPTURE(edit, keys599k, keys)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(edit, keys1M, shortKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(edit, keys599kCrOnly, crKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(edit, keysGLibRefuses, keysGLibRefuses)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(edit, groups175k, groups)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(edit, commentLine, comment)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(edit, envWrappers1M, wrappers)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(edit, shellString, shell)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(edit, movedWith2MWords, words)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(status, keys599k, keys)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(status, keys599kCrOnly, crKeys)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
