// Runs a fuzz target over the files it is given (or the files in the folders
// it is given) once each, without libFuzzer: the seed corpus as a plain test
// in every build, the sanitized one included.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Replay(const std::filesystem::path& file, int& count) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  ++count;
}

}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file()) Replay(entry.path(), count);
    } else {
      Replay(path, count);
    }
  }
  std::printf("%d inputs replayed\n", count);
  // An empty corpus would make this test pass without trying anything.
  return count > 0 ? 0 : 1;
}
