// vaskarel-merge on a folder of 1,000 generated scripts (100 texts, 20 KB of code each;
// the headers beside the code, or in a language folder beside it, or in three)
// and on one script of 100,000 texts and 50 MB of code, beside the plain reading and
// writing of the same bytes, to show whether a run is bound by the disk or the merge.
// The inputs are generated once under $TMPDIR (or /tmp), and removed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/merge_tool.h"
#include "engine/merge.h"
#include "main/text_pane.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFolderPairs = 1000;
constexpr int kFolderTexts = 100;
constexpr size_t kFolderCodeBytes = 20 * 1024;
constexpr int kBigTexts = 100000;
constexpr size_t kBigCodeBytes = 50u << 20;
const char* const kLanguages[] = {"English", "Italian", "French"};

std::string Header(int texts) {
  std::string h = "string DLG_TEXT[" + std::to_string(texts) + "] = {\r\n";
  for (int n = 0; n < texts; ++n) {
    h += "\"Dialog line " + std::to_string(n) +
         ": Well met, traveller. What brings you here?\",\r\n";
  }
  return h + "};\r\n";
}

// The header of one language of three: every fifth text carries a run-time token, and
// the second and third languages are in Windows-1252.
std::string LanguageHeader(int texts, int language) {
  const char* const kLines[] = {"Well met, traveller. What brings you here?",
                                "Ben trovato, viaggiatore. Cosa ti porta qui? Cos\xEC.",
                                "Bien le bonjour, voyageur. Qu'est-ce qui t'am\xE8ne ici?"};
  std::string h = "string DLG_TEXT[" + std::to_string(texts) + "] = {\r\n";
  for (int n = 0; n < texts; ++n) {
    h += "\"" + std::to_string(n) + ": " + kLines[language] + (n % 5 == 0 ? " #sgender#" : "") +
         "\",\r\n";
  }
  return h + "};\r\n";
}

// Code of about `bytes` bytes with one reference a line, running through every text.
std::string Code(int texts, size_t bytes) {
  std::string c;
  c.reserve(bytes + 128);
  for (int line = 0; c.size() < bytes; ++line) {
    const int n = line % texts;
    c += "    if (Answer() == " + std::to_string(line % 7) + ") Say(npc, DLG_TEXT[" +
         std::to_string(n) + "]); // step " + std::to_string(line) + "\r\n";
  }
  return c;
}

void Write(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

// A whole file read with read(), as the program reads its inputs.
std::string Read(const fs::path& p) {
  std::string bytes;
  const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return bytes;
  struct stat st;
  if (::fstat(fd, &st) == 0) bytes.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  for (ssize_t n;
       done < bytes.size() && (n = ::read(fd, bytes.data() + done, bytes.size() - done)) > 0;) {
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  ::close(fd);
  return bytes;
}

// Writes bytes to a new file and syncs it, as the program does with a single result.
bool WriteAndSync(const fs::path& p, const std::string& bytes) {
  const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ok = ::fsync(fd) == 0 && ok;
  return ::close(fd) == 0 && ok;
}

std::string MergedInMemory(const std::string& code, const std::string& header) {
  return MergeTexts(NormalizeLineBreaks(code), DialogTexts(NormalizeLineBreaks(header)));
}

struct Inputs {
  fs::path root;
  // What the merge writes for each folder script and for the big one.
  std::string folderResult, bigResult;
  Inputs() {
    const char* tmp = std::getenv("TMPDIR");
    root = fs::path(tmp && *tmp ? tmp : "/tmp") / ("vk_cli_bench_" + std::to_string(::getpid()));
    const std::string header = Header(kFolderTexts);
    const std::string code = Code(kFolderTexts, kFolderCodeBytes);
    for (int i = 0; i < kFolderPairs; ++i) {
      const std::string part = "part" + std::to_string(i / 100);
      const std::string name = "script" + std::to_string(i);
      Write(root / "folder" / part / (name + ".c"), code);
      Write(root / "folder" / part / (name + ".h"), header);
      // The same scripts with their headers in a language folder beside the code.
      Write(root / "lang" / part / (name + ".c"), code);
      Write(root / "lang" / part / "English" / (name + ".h"), header);
      // In three languages, the code with Russian comments in UTF-8.
      Write(root / "langs" / part / (name + ".c"),
            "// \xD0\x94\xD0\xB8\xD0\xB0\xD0\xBB\xD0\xBE\xD0\xB3\r\n" + code);
      for (int l = 0; l < 3; ++l) {
        Write(root / "langs" / part / kLanguages[l] / (name + ".h"),
              LanguageHeader(kFolderTexts, l));
      }
    }
    folderResult = MergedInMemory(code, header);
    const std::string bigCode = Code(kBigTexts, kBigCodeBytes), bigHeader = Header(kBigTexts);
    Write(root / "big" / "big.c", bigCode);
    Write(root / "big" / "big.h", bigHeader);
    bigResult = MergedInMemory(bigCode, bigHeader);
  }
  ~Inputs() { fs::remove_all(root); }
};

Inputs& Data() {
  static Inputs inputs;
  return inputs;
}

class NullOutput : public platform::WritableFile {
 public:
  int Write(std::string_view, size_t*) override { return 0; }
  int Sync() override { return 0; }
  int Close() override { return 0; }
};

int RunTool(const std::vector<std::string>& args) {
  NullOutput out;
  std::ostringstream err;
  return RunMergeTool(args, out, err);
}

// The whole tool: walk, find the headers, read, merge, write beside, fsync, rename.
// Arg 0: headers beside the code; arg 1: in a language folder (--lang English).
void BM_FolderMerge(benchmark::State& state) {
  Data();  // generated before the clock runs
  const fs::path out = Data().root / "out";
  const bool lang = state.range(0) != 0;
  std::vector<std::string> args = {"-q", "-o", out.string()};
  if (lang) args.insert(args.end(), {"--lang", "English"});
  args.push_back((Data().root / (lang ? "lang" : "folder")).string());
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(out);
    state.ResumeTiming();
    if (RunTool(args) != 0) state.SkipWithError("merge failed");
  }
  state.SetItemsProcessed(state.iterations() * kFolderPairs);
}

// The same without writing anything, so that the search is not hidden by the disk.
void BM_FolderCheck(benchmark::State& state) {
  Data();
  const bool lang = state.range(0) != 0;
  std::vector<std::string> args = {"-q", "--check"};
  if (lang) args.insert(args.end(), {"--lang", "English"});
  args.push_back((Data().root / (lang ? "lang" : "folder")).string());
  for (auto _ : state) {
    if (RunTool(args) == 2) state.SkipWithError("check failed");
  }
  state.SetItemsProcessed(state.iterations() * kFolderPairs);
}

// --check of 1,000 scripts in three languages (--lang English --lang Italian --lang
// French): each script checked with each header, and the languages compared. Arg 0:
// every check; arg 1: the baseline, the same with the checks of the translations'
// tokens and of broken UTF-8 left out (--ignore), which do the new work.
void BM_FolderCheckLanguages(benchmark::State& state) {
  Data();
  std::vector<std::string> args = {"-q", "--check"};
  for (const char* language : kLanguages) args.insert(args.end(), {"--lang", language});
  if (state.range(0) != 0) args.push_back("--ignore=tokens,broken-utf8");
  args.push_back((Data().root / "langs").string());
  for (auto _ : state) {
    if (RunTool(args) == 2) state.SkipWithError("check failed");
  }
  state.SetItemsProcessed(state.iterations() * kFolderPairs);
}

// The baseline of a folder run: read both files of each script and write the bytes the
// merge writes, synced file by file (a copy with a sync per file), without the merge.
void BM_FolderCopySync(benchmark::State& state) {
  const fs::path out = Data().root / "copy";
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(out);
    state.ResumeTiming();
    for (const auto& e : fs::recursive_directory_iterator(Data().root / "folder")) {
      if (e.path().extension() != ".c") continue;
      benchmark::DoNotOptimize(Read(e.path()));
      benchmark::DoNotOptimize(Read(fs::path(e.path()).replace_extension(".h")));
      const fs::path target = out / fs::relative(e.path(), Data().root / "folder");
      fs::create_directories(target.parent_path());
      if (!WriteAndSync(target, Data().folderResult)) state.SkipWithError("write failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * kFolderPairs);
}

void BM_BigPairMerge(benchmark::State& state) {
  const fs::path out = Data().root / "big_out.c";
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(out);
    state.ResumeTiming();
    if (RunTool({"-q", (Data().root / "big" / "big.c").string(), "-o", out.string()}) != 0) {
      state.SkipWithError("merge failed");
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(out)));
}

// Only the work in memory: both texts normalised and the merge.
void BM_BigPairInMemory(benchmark::State& state) {
  const std::string code = Read(Data().root / "big" / "big.c");
  const std::string header = Read(Data().root / "big" / "big.h");
  size_t size = 0;
  for (auto _ : state) {
    const std::string merged = MergedInMemory(code, header);
    size = merged.size();
    benchmark::DoNotOptimize(merged.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}

void BM_BigPairCheck(benchmark::State& state) {
  for (auto _ : state) {
    if (RunTool({"-q", "--check", (Data().root / "big" / "big.c").string()}) == 2) {
      state.SkipWithError("check failed");
    }
  }
}

// The floor of the large script: read both files and write and sync the bytes the merge
// writes, without the merge.
void BM_BigPairReadWriteSync(benchmark::State& state) {
  const fs::path out = Data().root / "big_copy.c";
  for (auto _ : state) {
    benchmark::DoNotOptimize(Read(Data().root / "big" / "big.c"));
    benchmark::DoNotOptimize(Read(Data().root / "big" / "big.h"));
    if (!WriteAndSync(out, Data().bigResult)) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Data().bigResult.size()));
}

BENCHMARK(BM_FolderMerge)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_FolderCheck)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_FolderCheckLanguages)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_FolderCopySync)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BigPairMerge)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BigPairInMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BigPairCheck)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_BigPairReadWriteSync)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
