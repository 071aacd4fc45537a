// Opening and saving an item file of an item with 200 power lines, against
// composing that item's output once; then files of the 16 MB limit in the
// shapes that once made saving quadratic (list entries, block lines that
// collide with the end tag, unknown keys, one long line), each against the
// same shape at 1 MB: time per byte stays the same when both ways are
// linear. The ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <algorithm>
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

// Files of about `bytes` bytes in each shape.
enum Shape { kListEntries, kCollidingBlockLines, kUnknownKeys, kOneLongLine, kShapeCount };
const char* const kShapeNames[] = {"list entries", "block lines = end tag", "unknown keys", "one long line"};

editor::ItemFileData dataOfShape(int shape, std::size_t bytes) {
    editor::ItemFileData data;
    data.texts["编辑框2"] = "big";
    std::size_t size = 0;
    switch (shape) {
    case kListEntries: {
        auto& list = data.lists["列表框_技能"];
        while (size < bytes) size += list.emplace_back("aoe tick " + std::to_string(list.size())).size() + 10;
        break;
    }
    case kCollidingBlockLines: {
        std::string& text = data.texts["编辑框13"];
        for (int n = 1; text.size() < bytes; ++n) {
            text += n == 1 ? std::string("END_OF_TEXT") : "END_OF_TEXT_" + std::to_string(n);
            text += "\r\n";
        }
        break;
    }
    case kUnknownKeys:
        while (size < bytes) {
            // Keys long enough to live on the heap at every size.
            const std::string key = "unknown_key_" + std::to_string(10000000 + size);
            data.document.setValue("mine" + std::to_string(size / 65536), key, "value");
            size += key.size() + 8;
        }
        break;
    case kOneLongLine:
        data.texts["编辑框6"] = std::string(bytes, 'x');
        break;
    }
    return data;
}

// Both sizes well beyond the processor caches, so that the ratio shows the
// algorithm rather than the cache.
constexpr std::size_t kSmallFile = 4u << 20;
constexpr std::size_t kLimitFile = editor::kMaxItemFileBytes - (1u << 20);  // room for the rest of the file

void BM_SaveShape(benchmark::State& state) {
    const editor::ItemFileData data = dataOfShape(static_cast<int>(state.range(0)), state.range(1));
    std::size_t bytes = 0;
    for (auto _ : state) bytes = editor::serializeItemFile(data).size();
    state.SetBytesProcessed(static_cast<int64_t>(bytes * state.iterations()));
    state.SetLabel(kShapeNames[state.range(0)]);
}

void BM_OpenShape(benchmark::State& state) {
    const std::string file = editor::serializeItemFile(dataOfShape(static_cast<int>(state.range(0)), state.range(1)));
    for (auto _ : state) {
        const editor::ParsedItemFile parsed = editor::parseItemFile(file, nullptr);
        if (!parsed.data) state.SkipWithError(parsed.error.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(file.size() * state.iterations()));
    state.SetLabel(kShapeNames[state.range(0)]);
}

void shapeArguments(benchmark::internal::Benchmark* b) {
    for (int shape = 0; shape < kShapeCount; ++shape) {
        b->Args({shape, static_cast<int64_t>(kSmallFile)});
        b->Args({shape, static_cast<int64_t>(kLimitFile)});
    }
    // The least of three: the machine is shared.
    b->Unit(benchmark::kMillisecond)->Repetitions(3);
}
BENCHMARK(BM_SaveShape)->Apply(shapeArguments);
BENCHMARK(BM_OpenShape)->Apply(shapeArguments);

// Keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // CPU time (in each benchmark's unit): the machine is shared, and
        // wall time counts the waits.
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            const double time = run.GetAdjustedCPUTime();
            auto [at, added] = nanoseconds.try_emplace(name, time);
            if (!added) at->second = std::min(at->second, time);
        }
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // Time per byte at the limit against at 4 MB: about 1 when linear.
    for (const char* what : {"BM_SaveShape", "BM_OpenShape"}) {
        for (int shape = 0; shape < kShapeCount; ++shape) {
            const std::string prefix = std::string(what) + "/" + std::to_string(shape) + "/";
            const double small = reporter.nanoseconds[prefix + std::to_string(kSmallFile)];
            const double large = reporter.nanoseconds[prefix + std::to_string(kLimitFile)];
            if (small <= 0 || large <= 0) continue;
            std::printf("%-13s %-22s %7.0f ms for %.0f MB, %4.2f x the time per byte of 4 MB\n", what,
                        kShapeNames[shape], large, static_cast<double>(kLimitFile) / (1 << 20),
                        (large / static_cast<double>(kLimitFile)) / (small / static_cast<double>(kSmallFile)));
        }
    }
    const double compose = reporter.nanoseconds["BM_ComposeOnce"];
    if (compose <= 0) return 0;
    for (const char* name : {"BM_Open", "BM_Save", "BM_OpenAndSave", "BM_ImportOutput"}) {
        if (reporter.nanoseconds.count(name)) {
            std::printf("%-16s %6.1f x composing once (CPU time)\n", name, reporter.nanoseconds[name] / compose);
        }
    }
    return 0;
}
