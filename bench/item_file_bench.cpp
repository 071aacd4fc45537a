// Opening and saving an item file of an item with 200 power lines, against
// composing that item's output once; the ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

#include "editor/command_import.h"
#include "editor/compose.h"
#include "editor/item_file.h"

namespace {

editor::ItemForm itemWith200Powers() {
    editor::ItemForm f;
    f.id = "legendary_sword";
    f.displayName = "&6&l传说之剑";
    f.lore = "北方的传说";
    f.damage = "15";
    f.materialId = "276";
    f.dataValue = "0";
    f.description = "第一行描述\r\n第二行描述\r\n  第三行  ";
    f.permission = "rpg.sword";
    f.keepEnchant = 0;
    for (int i = 0; i < 80; ++i) f.skillPowers.push_back("projectile tick snowball " + std::to_string(i) + " 5 40");
    for (int i = 0; i < 70; ++i) f.potionPowers.push_back("potionhit damage 100 0 poison " + std::to_string(i));
    for (int i = 0; i < 50; ++i) f.consumePowers.push_back("food tick " + std::to_string(i));
    return f;
}

std::string composedOutput(const editor::ItemForm& form) {
    std::string output;
    for (const auto& sub : editor::composeCommands(form)) output += editor::commandLine(form.id, sub);
    return output;
}

// The data the window saves: the form plus the editors' boxes.
editor::ItemFileData savedData() {
    editor::ItemFileData data = editor::itemFileDataOf(itemWith200Powers());
    for (const editor::ItemFileField& field : editor::itemFileFields()) {
        if (field.kind == editor::ItemFileKind::Text) data.texts.try_emplace(std::string(field.control), "12");
        if (field.kind == editor::ItemFileKind::Selection) data.selections.try_emplace(std::string(field.control), 0);
        if (field.kind == editor::ItemFileKind::Check) data.checks.try_emplace(std::string(field.control), false);
    }
    return data;
}

const std::string& savedBytes() {
    static const std::string bytes = editor::serializeItemFile(savedData());
    return bytes;
}

void BM_ComposeOnce(benchmark::State& state) {
    const editor::ItemForm form = itemWith200Powers();
    for (auto _ : state) benchmark::DoNotOptimize(composedOutput(form));
}
BENCHMARK(BM_ComposeOnce);

void BM_Save(benchmark::State& state) {
    const editor::ItemFileData data = savedData();
    for (auto _ : state) benchmark::DoNotOptimize(editor::serializeItemFile(data));
    state.counters["bytes"] = static_cast<double>(savedBytes().size());
}
BENCHMARK(BM_Save);

void BM_Open(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(editor::parseItemFile(savedBytes(), nullptr));
}
BENCHMARK(BM_Open);

void BM_OpenAndSave(benchmark::State& state) {
    for (auto _ : state) {
        editor::ParsedItemFile opened = editor::parseItemFile(savedBytes(), nullptr);
        benchmark::DoNotOptimize(editor::serializeItemFile(*opened.data));
    }
}
BENCHMARK(BM_OpenAndSave);

void BM_ImportOutput(benchmark::State& state) {
    const std::string output = composedOutput(itemWith200Powers());
    for (auto _ : state) benchmark::DoNotOptimize(editor::importCommands(output));
}
BENCHMARK(BM_ImportOutput);

// Keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // CPU time: the machine is shared, and wall time counts the waits.
        for (const Run& run : runs) nanoseconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double compose = reporter.nanoseconds["BM_ComposeOnce"];
    if (compose <= 0) return 0;
    for (const char* name : {"BM_Open", "BM_Save", "BM_OpenAndSave", "BM_ImportOutput"}) {
        if (reporter.nanoseconds.count(name)) {
            std::printf("%-16s %6.1f x composing once (CPU time)\n", name, reporter.nanoseconds[name] / compose);
        }
    }
    return 0;
}
