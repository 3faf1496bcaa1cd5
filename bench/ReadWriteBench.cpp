// Reading and writing generated form files of 1,000 and 10,000 elements.
// Reading is measured against the floor of pugixml alone parsing the same
// bytes and visiting every element and attribute; writing against pugixml
// saving the same document (parsed from what the form writes) to a string and
// to a file; the first save after opening is measured on its own too, and so
// are the two halves of a recovery copy. After the runs it prints how many
// times its floor each takes.

#include "bench/BenchSupport.h"
#include "bench/FormGenerator.h"
#include "controls/StandardControls.h"
#include "model/ElementFactory.h"
#include "model/FormDefinitionDocument.h"
#include "services/ObjectModel.h"
#include "services/Recovery.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace fw;

namespace {

const int Sizes[] = {1000, 10000};
constexpr unsigned Seed = 7;

std::string g_folder;

std::string SourcePath(int elements)
{
    return g_folder + "/PUMP_Bench" + std::to_string(elements) + ".xml";
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Reads the generated file and says whether all of it arrived.
bool ReadWhole(FormDefinitionDocument& doc, int elements)
{
    return doc.ReadFile(SourcePath(elements)) && doc.WasReadWhole() &&
           doc.GetMainForm()->GetCount() == GeneratedFormElementCount(elements, Seed);
}

void ReadFile(benchmark::State& state, int elements)
{
    FormDefinitionDocument doc;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.ReadFile(SourcePath(elements)));
    if (!ReadWhole(doc, elements))
        state.SkipWithError("the generated file did not read whole");
}

// A save's file text, or (`WriteCopyToString`) a recovery copy's: what the
// window's thread spends on a copy, the forms left as they are.
void Serialise(benchmark::State& state, int elements, std::string (FormDefinitionDocument::*write)())
{
    FormDefinitionDocument doc;
    if (!ReadWhole(doc, elements)) {
        state.SkipWithError("the generated file did not read whole");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = (doc.*write)().size();
    state.counters["bytes"] = static_cast<double>(bytes);
}

// The first save after opening also brings the list into tab order; the
// saves after it find it in order already.
void WriteAfterOpen(benchmark::State& state, int elements)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<FormDefinitionDocument>();
        const bool whole = ReadWhole(*doc, elements);
        state.ResumeTiming();
        if (!whole) {
            state.SkipWithError("the generated file did not read whole");
            break;
        }
        bytes = doc->WriteToString().size();
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void WriteFile(benchmark::State& state, int elements)
{
    FormDefinitionDocument doc;
    if (!ReadWhole(doc, elements)) {
        state.SkipWithError("the generated file did not read whole");
        return;
    }
    const std::string target = g_folder + "/PUMP_Written" + std::to_string(elements) + ".xml";
    for (auto _ : state) {
        doc.WriteFile(target);
        if (!doc.GetWriteError().empty()) {
            state.SkipWithError(doc.GetWriteError().c_str());
            break;
        }
    }
}

// The other half of a recovery copy, on the copy writer's thread: the
// record and the copy, each through a temporary file flushed to the disk.
void RecoveryCopyWrite(benchmark::State& state, int elements)
{
    FormDefinitionDocument doc;
    if (!ReadWhole(doc, elements)) {
        state.SkipWithError("the generated file did not read whole");
        return;
    }
    const std::string text = doc.WriteCopyToString();
    const std::string copy = g_folder + "/PUMP_Bench.copy" + std::to_string(elements) + ".xml";
    RecoveryRecord record;
    record.original = SourcePath(elements);
    record.name = "PUMP_Bench.xml";
    record.owner = "1-bench";
    for (auto _ : state) {
        const std::string error = WriteRecoveryCopy(copy, text, record);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

// Everything the reader cannot do without: parse with the same options and
// touch every element name, attribute and text once.
std::size_t Walk(const pugi::xml_node& node)
{
    std::size_t sum = 0;
    for (const pugi::xml_attribute& a : node.attributes())
        sum += std::char_traits<char>::length(a.name()) + std::char_traits<char>::length(a.value());
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_element)
            sum += std::char_traits<char>::length(child.name()) + Walk(child);
        else
            sum += std::char_traits<char>::length(child.value());
    }
    return sum;
}

void PugixmlFloor(benchmark::State& state, int elements)
{
    const std::string bytes = Slurp(SourcePath(elements));
    const unsigned options = pugi::parse_default | pugi::parse_pi | pugi::parse_declaration;
    for (auto _ : state) {
        pugi::xml_document doc;
        if (!doc.load_buffer(bytes.data(), bytes.size(), options, pugi::encoding_auto)) {
            state.SkipWithError("pugixml cannot parse the generated file");
            break;
        }
        benchmark::DoNotOptimize(Walk(doc));
    }
}

struct StringSink : pugi::xml_writer {
    std::string text;
    void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }
};

// The document the form writes, as a pugixml tree.
bool LoadWritten(pugi::xml_document& dom, int elements)
{
    FormDefinitionDocument doc;
    if (!ReadWhole(doc, elements))
        return false;
    const std::string text = doc.WriteToString();
    const unsigned options = pugi::parse_default | pugi::parse_pi | pugi::parse_declaration;
    return dom.load_buffer(text.data(), text.size(), options, pugi::encoding_utf8);
}

// Indented by two spaces, as the form writer indents.
void PugixmlSaveFloor(benchmark::State& state, int elements)
{
    pugi::xml_document dom;
    if (!LoadWritten(dom, elements)) {
        state.SkipWithError("pugixml cannot parse the written file");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        StringSink sink;
        dom.save(sink, "  ", pugi::format_default, pugi::encoding_utf8);
        bytes = sink.text.size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

// Straight into the file: no temporary file, no flush to the disk.
void PugixmlSaveFileFloor(benchmark::State& state, int elements)
{
    pugi::xml_document dom;
    if (!LoadWritten(dom, elements)) {
        state.SkipWithError("pugixml cannot parse the written file");
        return;
    }
    const std::string target = g_folder + "/PUMP_PugixmlWritten" + std::to_string(elements) + ".xml";
    for (auto _ : state) {
        if (!dom.save_file(target.c_str(), "  ", pugi::format_default, pugi::encoding_utf8)) {
            state.SkipWithError("pugixml cannot write the file");
            break;
        }
    }
}

// Shows the runs as usual and keeps the CPU time of one iteration of each: on
// a shared machine the wall clock says more about the neighbours.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        benchmark::ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations <= 0)
                continue;
            // The library appends "/real_time" to the names we registered.
            std::string name = run.benchmark_name();
            if (std::size_t suffix = name.find("/real_time"); suffix != std::string::npos)
                name.erase(suffix);
            seconds[name] = run.cpu_accumulated_time / static_cast<double>(run.iterations);
        }
    }
    std::map<std::string, double> seconds;
};

std::string Name(const char* what, int elements)
{
    return std::string(what) + "/" + std::to_string(elements);
}

void PrintRatio(const CollectingReporter& reporter, const char* label, const char* what, int elements,
                const char* floorWhat = "PugixmlFloor")
{
    auto measured = reporter.seconds.find(Name(what, elements));
    auto floor = reporter.seconds.find(Name(floorWhat, elements));
    if (measured == reporter.seconds.end() || floor == reporter.seconds.end() || floor->second <= 0)
        return;
    std::printf("%s/floor N=%d: %.1fx\n", label, elements, measured->second / floor->second);
}

}  // namespace

int main(int argc, char** argv)
{
    bench::SetUpBenchEnvironment(FORMWRIGHT_SOURCE_DATA_DIR);

    std::string pattern = (std::filesystem::temp_directory_path() / "fw-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror(pattern.c_str());
        return 1;
    }
    g_folder = pattern;
    for (int elements : Sizes)
        std::ofstream(SourcePath(elements), std::ios::binary) << GenerateFormFile(elements, Seed);

    for (int elements : Sizes) {
        benchmark::RegisterBenchmark(Name("PugixmlFloor", elements).c_str(), PugixmlFloor, elements)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(Name("ReadFile", elements).c_str(), ReadFile, elements)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(Name("PugixmlSaveFloor", elements).c_str(), PugixmlSaveFloor, elements)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(Name("WriteToString", elements).c_str(), Serialise, elements,
                                     &FormDefinitionDocument::WriteToString)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(Name("WriteAfterOpen", elements).c_str(), WriteAfterOpen, elements)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(Name("PugixmlSaveFileFloor", elements).c_str(), PugixmlSaveFileFloor, elements)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(Name("WriteFile", elements).c_str(), WriteFile, elements)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(Name("RecoveryCopySerialise", elements).c_str(), Serialise, elements,
                                     &FormDefinitionDocument::WriteCopyToString)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(Name("RecoveryCopyWrite", elements).c_str(), RecoveryCopyWrite, elements)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }

    CollectingReporter reporter;
    if (!bench::RunBenchmarks(argc, argv, reporter))
        return 1;

    std::printf("\n");
    for (int elements : Sizes) {
        PrintRatio(reporter, "read", "ReadFile", elements);
        PrintRatio(reporter, "write", "WriteToString", elements, "PugixmlSaveFloor");
        PrintRatio(reporter, "write-after-open", "WriteAfterOpen", elements, "PugixmlSaveFloor");
        PrintRatio(reporter, "write-file", "WriteFile", elements, "PugixmlSaveFileFloor");
    }
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
    return 0;
}
