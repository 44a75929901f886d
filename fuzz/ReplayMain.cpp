// Runs a fuzz target's entry point without libFuzzer: over its seeds and a
// fixed set of mutations of them, or over the files named on the command line
// (a crash input saved by a fuzzing run). "--write-seeds DIR" writes the seeds
// as files for a fuzzing run.

#include "FuzzSeeds.h"
#include "platform/files/SafeFile.h"

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr int kMutationsPerSeed = 400;

void Run(const std::string& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

// Small edits of the kinds that break readers: flipped bits, lost, doubled
// and inserted bytes, cut ends, extreme numbers and other line breaks.
class Mutator {
public:
    std::string Mutate(std::string text)
    {
        const int edits = Pick(1, 3);
        for (int i = 0; i < edits; ++i)
            Edit(text);
        return text;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    std::size_t At(const std::string& text)
    {
        return text.empty() ? 0 : static_cast<std::size_t>(Pick(0, static_cast<int>(text.size()) - 1));
    }

    void Edit(std::string& text)
    {
        static const char* const kNumbers[] = {"99999999999999999999", "-1", "-2147483649", "1e999", "nan", "0", ""};
        const std::size_t at = At(text);
        const std::size_t length = static_cast<std::size_t>(Pick(1, 24));
        switch (Pick(0, 7)) {
        case 0:
            if (!text.empty())
                text[at] = static_cast<char>(text[at] ^ (1 << Pick(0, 7)));
            break;
        case 1:
            if (!text.empty())
                text[at] = static_cast<char>(Pick(0, 255));
            break;
        case 2: text.erase(at, length); break;
        case 3: text.insert(at, text.substr(At(text), length)); break;
        case 4: text.insert(at, std::string(length, static_cast<char>(Pick(0, 255)))); break;
        case 5: text.resize(at); break;
        case 6: {
            std::size_t digits = at;
            while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
                ++digits;
            text.replace(at, digits - at, kNumbers[Pick(0, 6)]);
            break;
        }
        default: {
            const std::size_t lineBreak = text.find("\r\n", at);
            if (lineBreak != std::string::npos)
                text.replace(lineBreak, 2, Pick(0, 1) ? "\n" : "\r");
            break;
        }
        }
    }

    std::mt19937 m_random{20251210};
};

int WriteSeeds(const std::string& folder)
{
    const std::vector<std::string> seeds = FuzzSeeds();
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        const std::string path = folder + "/seed_" + std::to_string(i);
        std::string error;
        if (!WriteFileAtomically(path, seeds[i], &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--write-seeds")
        return WriteSeeds(argv[2]);
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            std::string input, error;
            if (!ReadWholeFile(argv[i], input, &error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return 1;
            }
            Run(input);
        }
        return 0;
    }
    Mutator mutator;
    std::size_t runs = 0;
    for (const std::string& seed : FuzzSeeds()) {
        Run(seed);
        for (int i = 0; i < kMutationsPerSeed; ++i)
            Run(mutator.Mutate(seed));
        runs += 1 + kMutationsPerSeed;
    }
    std::printf("replayed %zu inputs\n", runs);
    return 0;
}
