// Composition of a large item: the form of a 200-line output.
#include <benchmark/benchmark.h>

#include "editor/compose.h"

namespace {

editor::ItemForm largeItem(int lines) {
    editor::ItemForm f;
    f.id = "legendary_sword";
    f.displayName = "&6&l传说之剑";
    f.damage = "15";
    f.materialId = "276";
    // Everything but the 3 fixed lines is description or power lines.
    for (int i = 0; i < (lines - 6) / 2; ++i) f.description += "第" + std::to_string(i) + "行描述文字\r\n";
    for (int i = 0; i < (lines - 6) - (lines - 6) / 2; ++i)
        f.skillPowers.push_back("flame 10 " + std::to_string(i) + " tick");
    return f;
}

void BM_ComposeCommands200(benchmark::State& state) {
    const editor::ItemForm form = largeItem(200);
    for (auto _ : state) {
        editor::CommandList commands = editor::composeCommands(form);
        benchmark::DoNotOptimize(commands);
    }
}
BENCHMARK(BM_ComposeCommands200);

void BM_ComposeAndFormatLines200(benchmark::State& state) {
    const editor::ItemForm form = largeItem(200);
    for (auto _ : state) {
        std::string output;
        for (const auto& sub : editor::composeCommands(form)) output += editor::commandLine(form.id, sub);
        benchmark::DoNotOptimize(output);
    }
}
BENCHMARK(BM_ComposeAndFormatLines200);

}  // namespace
