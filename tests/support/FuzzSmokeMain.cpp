// Driver that turns a libFuzzer harness into a short deterministic smoke test: every file
// under the fixtures folder, then a few thousand mutations of them and of random bytes.
// Built with -fsanitize=fuzzer instead, the harness runs under libFuzzer unchanged.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  std::vector<std::vector<uint8_t>> corpus;
  if (argc > 1 && std::filesystem::is_directory(argv[1])) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[1])) {
      if (!entry.is_regular_file() || entry.file_size() > (1u << 22)) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  corpus.emplace_back();
  std::mt19937 rng(12345);
  for (const auto& input : corpus) LLVMFuzzerTestOneInput(input.data(), input.size());
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> input = corpus[rng() % corpus.size()];
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
      switch (rng() % 4) {
        case 0:
          if (!input.empty()) input[rng() % input.size()] = static_cast<uint8_t>(rng());
          break;
        case 1:
          input.insert(input.begin() + (input.empty() ? 0 : rng() % input.size()), static_cast<uint8_t>(rng()));
          break;
        case 2:
          if (!input.empty()) input.erase(input.begin() + rng() % input.size());
          break;
        default:
          if (!input.empty()) input.resize(rng() % input.size());
          break;
      }
    }
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::printf("fuzz smoke: %zu seeds, 3000 mutations, no fault\n", corpus.size());
  return 0;
}
