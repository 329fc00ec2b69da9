// Replays inputs through a fuzz target without libFuzzer, so that builds made with any compiler (Release, valgrind)
// check every saved input: `replay_<target> PATH...`, each PATH a file or a folder whose files are replayed in name
// order. A crash ends the process as under the fuzzer; otherwise the exit status is 0 when every input could be read.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/fuzz_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);
// Defined only by the targets that need a set-up.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// The files of a path: itself, or a folder's regular files sorted by name.
std::vector<std::filesystem::path> inputs_of(const std::filesystem::path& path) {
    if (!std::filesystem::is_directory(path)) return {path};
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);  // reading through its buffer leaves its state as the opening left it
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in) LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    else std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
    return static_cast<bool>(in);
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0, failed = 0;
    for (int i = 1; i < argc; ++i)
        for (const std::filesystem::path& file : inputs_of(argv[i])) (replay(file) ? replayed : failed) += 1;
    std::printf("replay: %d inputs\n", replayed);
    return failed == 0 && replayed > 0 ? 0 : 1;
}
