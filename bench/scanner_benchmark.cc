// Google Benchmark of reading source files, on a synthetic standard module of 100,000 lines
// in Japanese (most lines hold double-byte characters) and in plain ASCII:
//   ScanLines     the scanner alone, over lines already decoded in memory
//   DecodeLines   decoding code page 932 alone, over raw lines in memory
//   ReadLines     LineReader over the file: reading, splitting and decoding
//   ReadModule    ReadModule over the file: all of the above plus scanning
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "model/specification_model.h"
#include "text/line_reader.h"
#include "os/native_path.h"
#include "codepage/text_codec.h"
#include "source/module_scanner.h"
#include "synthetic_project.h"

namespace {

using dovrek::bench::Script;

constexpr long kLines = 100000;

// One synthetic module in memory and on disk, made once per script.
struct Sample {
  std::vector<std::string> raw_lines;      // code page 932, line ends removed
  std::vector<std::string> decoded_lines;  // UTF-8
  std::filesystem::path file;
  int64_t bytes = 0;

  explicit Sample(Script script) {
    std::string bytes_of_file = dovrek::bench::SyntheticSource(dovrek::bench::MemberKind::Module,
                                                               "basBench", 7, kLines, script)
                                    .bytes;
    bytes = static_cast<int64_t>(bytes_of_file.size());
    size_t start = 0;
    for (size_t end; (end = bytes_of_file.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      raw_lines.push_back(bytes_of_file.substr(start, end - start));
      decoded_lines.emplace_back();
      dovrek::AppendCp932AsUtf8(raw_lines.back(), &decoded_lines.back());
    }
    file = std::filesystem::temp_directory_path() /
           ("dovrek-bench-" + std::to_string(::getpid()) +
            (script == Script::Ascii ? "-ascii.bas" : "-japanese.bas"));
    std::ofstream(file, std::ios::binary) << bytes_of_file;
  }
  ~Sample() {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
  Sample(const Sample&) = delete;
  Sample& operator=(const Sample&) = delete;
};

const Sample& SampleFor(Script script) {
  static std::map<Script, Sample> samples;
  auto found = samples.find(script);
  if (found == samples.end()) found = samples.try_emplace(script, script).first;
  return found->second;
}

dovrek::Options AllOn() {
  dovrek::Options options;
  options.Cmt = options.Func = options.Trim = dovrek::CheckState::kOn;
  return options;
}

void Count(benchmark::State& state, const Sample& sample) {
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(sample.raw_lines.size()));
  state.SetBytesProcessed(state.iterations() * sample.bytes);
}

void BM_ScanLines(benchmark::State& state, Script script) {
  const Sample& sample = SampleFor(script);
  dovrek::Options options = AllOn();
  for (auto _ : state) {
    dovrek::SpecificationModel model;
    dovrek::ModuleScanner scanner(options, &model);
    scanner.Start(dovrek::SourcePath::Locate("basBench.bas"));
    for (const std::string& line : sample.decoded_lines) {
      dovrek::Status scanned = scanner.ScanLine(line);
      if (!scanned.ok()) state.SkipWithError(scanned.message().c_str());
    }
    scanner.Finish();
    benchmark::DoNotOptimize(model.Procedures.data());
  }
  Count(state, sample);
}
BENCHMARK_CAPTURE(BM_ScanLines, japanese, Script::Japanese)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanLines, ascii, Script::Ascii)->Unit(benchmark::kMillisecond);

// Decodes as LineReader does: ASCII lines are copied, others go through the table.
void BM_DecodeLines(benchmark::State& state, Script script) {
  const Sample& sample = SampleFor(script);
  std::string out;
  for (auto _ : state) {
    for (const std::string& raw : sample.raw_lines) {
      out.clear();
      if (dovrek::IsAscii(raw)) {
        out.assign(raw);
      } else {
        dovrek::AppendCp932AsUtf8(raw, &out);
      }
      benchmark::DoNotOptimize(out.data());
    }
  }
  Count(state, sample);
}
BENCHMARK_CAPTURE(BM_DecodeLines, japanese, Script::Japanese)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeLines, ascii, Script::Ascii)->Unit(benchmark::kMillisecond);

void BM_ReadLines(benchmark::State& state, Script script) {
  const Sample& sample = SampleFor(script);
  std::string line;
  for (auto _ : state) {
    dovrek::LineReader reader;
    dovrek::Status opened = reader.Open(sample.file.string());
    if (!opened.ok()) state.SkipWithError(opened.message().c_str());
    while (reader.ReadLine(&line)) benchmark::DoNotOptimize(line.data());
  }
  Count(state, sample);
}
BENCHMARK_CAPTURE(BM_ReadLines, japanese, Script::Japanese)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadLines, ascii, Script::Ascii)->Unit(benchmark::kMillisecond);

void BM_ReadModule(benchmark::State& state, Script script) {
  const Sample& sample = SampleFor(script);
  dovrek::SourcePath path = dovrek::SourcePath::Locate(dovrek::ToWindowsPath(sample.file.string()));
  dovrek::Options options = AllOn();
  for (auto _ : state) {
    dovrek::SpecificationModel model;
    if (!dovrek::ReadModule(path, options, &model).ok()) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(model.Procedures.data());
  }
  Count(state, sample);
}
BENCHMARK_CAPTURE(BM_ReadModule, japanese, Script::Japanese)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadModule, ascii, Script::Ascii)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
