// History memory after many recompositions of a 100-line item, against
// keeping a plain copy of every snapshot.
#include <benchmark/benchmark.h>

#include "editor/compose.h"
#include "output/output_history.h"

namespace {

editor::ItemForm hundredLineItem() {
    editor::ItemForm f;
    f.id = "legendary_sword";
    for (int i = 0; i < 97; ++i) f.description += "第" + std::to_string(i) + "行描述 &6金色文字\r\n";
    return f;
}

// Recomposes `rounds` times as the editor does: clear, then append each line,
// every write recorded. A field changes between rounds as a keystroke would.
void recompose(output::OutputHistory& history, const editor::ItemForm& base, int rounds) {
    for (int r = 0; r < rounds; ++r) {
        editor::ItemForm form = base;
        form.displayName = r % 2 ? "a" : "";
        std::string shown;
        history.record(shown);
        for (const auto& sub : editor::composeCommands(form)) {
            shown += editor::commandLine(form.id, sub);
            history.record(shown);
        }
    }
}

void BM_HistoryAfter1000Recompositions(benchmark::State& state) {
    const editor::ItemForm form = hundredLineItem();
    for (auto _ : state) {
        output::OutputHistory history;
        recompose(history, form, 1000);
        state.PauseTiming();
        std::size_t plain = 0;
        for (int i = 0; i < static_cast<int>(history.size()); ++i)
            plain += history.entryLength(i) + sizeof(std::string);
        state.counters["entries"] = static_cast<double>(history.size());
        state.counters["history_MB"] = static_cast<double>(history.memoryBytes()) / 1e6;
        state.counters["plain_copies_MB"] = static_cast<double>(plain) / 1e6;
        state.counters["ratio"] = static_cast<double>(plain) / static_cast<double>(history.memoryBytes());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HistoryAfter1000Recompositions)->Unit(benchmark::kMillisecond)->Iterations(1);

// One recomposition (a keystroke) on top of a long history.
void BM_RecordOneRecomposition(benchmark::State& state) {
    const editor::ItemForm form = hundredLineItem();
    output::OutputHistory history;
    recompose(history, form, 1000);
    for (auto _ : state) recompose(history, form, 1);
}
BENCHMARK(BM_RecordOneRecomposition)->Unit(benchmark::kMicrosecond);

}  // namespace
