// Many files in one remote folder: placing them in the model, visiting them and finding them by remote path, and
// Add Files From XML collecting and placing a gallery of as many pictures. Each reports its time per file beside
// the same names put into a hash set once (the least any check of taken names costs).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/dialogs/site_folder_model.h"
#include "app/dialogs/xml_file_collection.h"
#include "app/model/file_pair.h"
#include "platform/win/codepage1252.h"

namespace {

std::vector<std::string> Names(int n)
{
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        names.push_back("/photos/IMG_" + std::to_string(i) + ".jpg");
    return names;
}

void PerFile(benchmark::State& state, int n)
{
    state.counters["per_file"] =
        benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ModelPlacesVisitsAndFinds(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<std::string> names = Names(n);
    for (auto _ : state) {
        CSiteFolderModel model;
        for (const std::string& name : names)
            model.AddFile(name, "/gallery/any", 0);
        size_t visited = 0;
        for (CSiteFile* file = model.GetFirstFile(); file; file = model.GetNextFile())
            ++visited;
        const CSiteFile* found = model.FindFileByRemotePath("/gallery/IMG_0.jpg");
        benchmark::DoNotOptimize(visited);
        benchmark::DoNotOptimize(found);
    }
    PerFile(state, n);
}
BENCHMARK(BM_ModelPlacesVisitsAndFinds)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_HashSetOfTheNames(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<std::string> names = Names(n);
    for (auto _ : state) {
        std::unordered_set<std::string> taken;
        for (const std::string& name : names)
            taken.insert(LowerCase1252(name.substr(name.rfind('/') + 1)));
        benchmark::DoNotOptimize(taken.size());
    }
    PerFile(state, n);
}
BENCHMARK(BM_HashSetOfTheNames)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A gallery's folder on disk: its XML names each of its pictures, which lie in one folder.
class Gallery
{
public:
    explicit Gallery(int n)
        : m_folder(std::filesystem::temp_directory_path() / ("pelorin-gallery-" + std::to_string(::getpid()) + "-" +
                                                             std::to_string(n)))
    {
        std::filesystem::create_directories(m_folder / "images");
        std::ofstream xml(m_folder / "gallery.xml", std::ios::binary);
        xml << "<gallery>\n";
        for (int i = 0; i < n; ++i) {
            const std::string name = "images/IMG_" + std::to_string(i) + ".jpg";
            std::ofstream(m_folder / name, std::ios::binary) << 'x';
            xml << "<image src=\"" << name << "\"/>\n";
        }
        xml << "</gallery>\n";
    }
    ~Gallery()
    {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    std::string Xml() const { return (m_folder / "gallery.xml").string(); }

private:
    std::filesystem::path m_folder;
};

void BM_AddFilesFromXml(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const Gallery gallery(n);
    for (auto _ : state) {
        CSiteFolderModel model;
        model.Reset();
        std::vector<CFilePair> pairs;
        std::vector<std::string> sourceNames;
        CollectedFiles set;
        CollectXmlFiles(gallery.Xml(), sourceNames, set);
        const int placed = PlaceCollectedFiles(set, model, pairs, sourceNames);
        if (placed != n + 1)
            state.SkipWithError("not every file was placed");
    }
    PerFile(state, n);
}
BENCHMARK(BM_AddFilesFromXml)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
