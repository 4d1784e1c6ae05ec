// Speed of converting a picture file into RGB rows (LoadDIBImageA, as the 3D textures
// and the live view's pictures take them): a 3000 x 2000 picture at 24 bits (18 MB) and
// at 8 bits with a colour table (6 MB), run after run, its last write long past, with the
// processor time of a load and how many times a load reads it (once); the same with its
// last write just made (then read twice, and taken once it has settled); and
// the file read whole into memory, the floor under any load.
//
//   picture_speed.exe [--runs N]
//
// Runs in the program directory (the current directory), where it writes its pictures.
// Times are medians in ms. Uses only what every build of the loader has, so that
// scripts/benchmark.sh can build it against an earlier build and run both in turns.
#include "bench_support.h"
#include "files/picture_files.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Put16(std::vector<char>& b, size_t at, uint32_t v)
{
    b[at] = static_cast<char>(v), b[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::vector<char>& b, size_t at, uint32_t v)
{
    Put16(b, at, v & 0xFFFF), Put16(b, at + 2, v >> 16);
}

// A bottom-up BMP of width x height at 24 or 8 bits, a gradient with a grey table.
std::vector<char> MakePicture(int width, int height, int bits)
{
    const uint32_t colours = bits == 8 ? 256 : 0;
    const uint32_t stride = ((width * bits + 31) / 32) * 4;
    const uint32_t offset = 14 + 40 + colours * 4;
    std::vector<char> b(offset + static_cast<size_t>(stride) * height);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size())), Put32(b, 10, offset);
    Put32(b, 14, 40), Put32(b, 18, width), Put32(b, 22, height), Put16(b, 26, 1), Put16(b, 28, bits);
    Put32(b, 46, colours);
    for (uint32_t i = 0; i < colours; ++i)
        Put32(b, 54 + i * 4, i * 0x010101u);
    for (int y = 0; y < height; ++y) {
        char* row = &b[offset + static_cast<size_t>(y) * stride];
        for (int x = 0; x < width * bits / 8; ++x)
            row[x] = static_cast<char>(x * 7 + y * 3);
    }
    return b;
}

double ProcessMs()
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto ms = [](const FILETIME& t) { return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

void Load(const char* path)
{
    DIBImage* image = LoadDIBImageA(path);
    if (!image) {
        std::printf("%s was not loaded\n", path);
        std::exit(1);
    }
    std::free(image->pixels);
    std::free(image);
}

// The processor time of a load: the process's clock moves in steps (10 ms under Wine), so
// it is the mean over loads enough that one step is under a hundredth of their sum.
void PrintProcessorTime(const std::string& name, const char* path, int runs)
{
    const double cpu = ProcessMs(), start = Now();
    double spent = 0;
    int loads = 0;
    // Where the clock never moves (or far more coarsely), 20 s are enough.
    while (loads < runs || (spent < 1000 && Now() - start < 20000)) {
        Load(path);
        ++loads;
        spent = ProcessMs() - cpu;
    }
    std::printf("%-64s %10.2f ms   mean of %d (%.2f s in all)\n", name.c_str(), spent / loads, loads, spent / 1000);
    std::fflush(stdout);
}

void TimeLoads(const std::string& name, const char* path, int runs)
{
    const auto load = [path] { Load(path); };
    // A picture as a user mostly opens it: its last write long past (dated before), it is
    // read once.
    PrintTime(name + ", loaded", Median(runs, load), runs);
    PrintValue(name + ", loaded, reads per load", ReadsPerLoad(load), "");
    PrintProcessorTime(name + ", loaded, processor time per load", path, runs);
    // Just written, each load within a tick of the write: read twice, and taken once it
    // has settled, as the rule for recent writes (files/whole_reads.h) reads a file that
    // may be changing.
    PrintTime(name + ", loaded, written just now", Median(runs, load, [path] { DateLastWrite(path, 0); }), runs);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = StartBenchmark(argc, argv, 10);
    const struct {
        const char* name;
        const char* file;
        int bits;
    } pictures[] = {{"3000 x 2000 24-bit", "picture-24.bmp", 24}, {"3000 x 2000 8-bit", "picture-8.bmp", 8}};
    // Made and dated first, and timed once they are aged.
    for (const auto& picture : pictures) {
        RawWrite(picture.file, MakePicture(3000, 2000, picture.bits));
        DateLastWrite(picture.file, 3600);
    }
    Sleep(kAgedAfter);
    for (const auto& picture : pictures)
        TimeLoads(std::string("picture ") + picture.name, picture.file, runs);
    // The floor: the 24-bit file's bytes read into a fresh block, as nothing less can load it.
    PrintTime("picture 3000 x 2000 24-bit, file read whole", Median(runs, [] {
                  std::vector<char> bytes = RawRead("picture-24.bmp");
                  if (bytes.empty())
                      std::exit(1);
              }), runs);
    return 0;
}
