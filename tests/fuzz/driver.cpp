// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target without libFuzzer, so that the suite needs nothing but
// the project's own compiler: every file of the target's seed corpus first,
// then a fixed number of mutations of them drawn from a fixed seed, so that a
// failure comes back on the next run. VELTRANO_FUZZ_INPUTS and
// VELTRANO_FUZZ_SEED change the count and the draw; a corpus folder given on
// the command line replaces the one built in.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

// Well past every record the game reads, short of what would slow the run.
constexpr std::size_t kMaxInput = 64 * 1024;

std::vector<Bytes> readCorpus(const std::filesystem::path &folder) {
    std::vector<std::filesystem::path> paths;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            paths.push_back(entry.path());
        }
    }
    // In name order, so that the draw is the same on every file system.
    std::sort(paths.begin(), paths.end());
    std::vector<Bytes> corpus;
    for (const auto &path : paths) {
        std::ifstream in(path, std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return corpus;
}

std::uint8_t interestingByte(std::mt19937 &rng) {
    static const std::uint8_t values[] = {0, 1, 2, 9, 10, 11, 15, 16, 17, 0x7f, 0x80, 0xfe, 0xff};
    return rng() % 2 ? values[rng() % std::size(values)] : static_cast<std::uint8_t>(rng());
}

// One to four changes of the kinds that damage a record: bits flipped, bytes
// and 16-bit counts set to the edges of their ranges, the file cut short or
// drawn out, a piece repeated, or the head of one file on the tail of another.
Bytes mutate(std::mt19937 &rng, const std::vector<Bytes> &corpus, Bytes input) {
    const int changes = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < changes; ++i) {
        const std::size_t size = input.size();
        const std::size_t at = size ? rng() % size : 0;
        switch (rng() % 8) {
        case 0:
            if (size) {
                input[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
            }
            break;
        case 1:
            if (size) {
                input[at] = interestingByte(rng);
            }
            break;
        case 2:
            if (size >= 2) {
                static const int values[] = {-32768, -257, -2, -1, 0, 1, 2, 44, 45, 256, 32767};
                const int value = values[rng() % std::size(values)];
                const std::size_t pos = at & ~std::size_t{1};
                input[pos] = static_cast<std::uint8_t>(value & 0xff);
                input[std::min(pos + 1, size - 1)] = static_cast<std::uint8_t>((value >> 8) & 0xff);
            }
            break;
        case 3: // cut short
            input.resize(at);
            break;
        case 4: // a few bytes taken out of the middle
            input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                        input.begin() +
                            static_cast<std::ptrdiff_t>(std::min(size, at + 1 + rng() % 16)));
            break;
        case 5: { // bytes put in
            Bytes extra(1 + rng() % 32);
            std::generate(extra.begin(), extra.end(), [&] { return interestingByte(rng); });
            input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), extra.begin(),
                         extra.end());
            break;
        }
        case 6: // a piece repeated, now and then many times over
            if (size) {
                const std::size_t length = 1 + rng() % std::min<std::size_t>(size - at, 256);
                const Bytes piece(input.begin() + static_cast<std::ptrdiff_t>(at),
                                  input.begin() + static_cast<std::ptrdiff_t>(at + length));
                const std::size_t times = rng() % 16 ? 1 : 1 + rng() % 200;
                for (std::size_t k = 0; k < times && input.size() < kMaxInput; ++k) {
                    input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), piece.begin(),
                                 piece.end());
                }
            }
            break;
        default: { // spliced with another file of the corpus
            const Bytes &other = corpus[rng() % corpus.size()];
            const std::size_t from = other.empty() ? 0 : rng() % other.size();
            input.resize(at);
            input.insert(input.end(), other.begin() + static_cast<std::ptrdiff_t>(from),
                         other.end());
        }
        }
    }
    if (input.size() > kMaxInput) {
        input.resize(kMaxInput);
    }
    return input;
}

unsigned long environmentNumber(const char *name, unsigned long fallback) {
    const char *text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

} // namespace

int main(int argc, char **argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : VELTRANO_FUZZ_CORPUS;
    const std::vector<Bytes> corpus = readCorpus(folder);
    if (corpus.empty()) {
        std::fprintf(stderr, "no seed input in %s\n", folder.c_str());
        return 1;
    }
    const unsigned long inputs = environmentNumber("VELTRANO_FUZZ_INPUTS", VELTRANO_FUZZ_INPUTS);
    const unsigned long seed = environmentNumber("VELTRANO_FUZZ_SEED", 20261207);
    const auto start = std::chrono::steady_clock::now();
    for (const Bytes &input : corpus) {
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
    for (unsigned long i = 0; i < inputs; ++i) {
        const Bytes input = mutate(rng, corpus, corpus[rng() % corpus.size()]);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("%zu seed inputs and %lu mutations (seed %lu) in %lld ms\n", corpus.size(), inputs,
                seed, static_cast<long long>(elapsed.count()));
    return 0;
}
