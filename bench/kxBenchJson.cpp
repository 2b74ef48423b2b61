// Parsing and writing two public JSON documents with the library against nlohmann::json and
// RapidJSON, and the heap a parsed tree takes against nlohmann's.
#include "kxRuzoVori/json/wxJSONReader.h"
#include "kxRuzoVori/json/wxJSONWriter.h"
#include "support/kxBenchSupport.h"

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <wx/init.h>
#include <wx/mstream.h>

#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

// Every allocation of the process is counted where it is made, in the C heap, so that the heap a
// tree holds can be compared whatever made it: operator new, the toolkit's own tables, arrays.
extern "C"
{
    void* __libc_malloc(size_t size);
    void* __libc_calloc(size_t count, size_t size);
    void* __libc_realloc(void* p, size_t size);
    void __libc_free(void* p);
}

namespace
{
std::atomic<long long> s_heapNow{0};
std::atomic<long long> s_heapPeak{0};

void* Counted(void* p)
{
    if (!p)
        return p;
    long long now = s_heapNow += static_cast<long long>(malloc_usable_size(p));
    long long peak = s_heapPeak.load();
    while (now > peak && !s_heapPeak.compare_exchange_weak(peak, now))
    {
    }
    return p;
}

void Uncount(void* p)
{
    if (p)
        s_heapNow -= static_cast<long long>(malloc_usable_size(p));
}
} // namespace

extern "C" void* malloc(size_t size)
{
    return Counted(__libc_malloc(size));
}

extern "C" void* calloc(size_t count, size_t size)
{
    return Counted(__libc_calloc(count, size));
}

extern "C" void* realloc(void* p, size_t size)
{
    const long long before = p ? static_cast<long long>(malloc_usable_size(p)) : 0;
    void* moved = __libc_realloc(p, size);
    if (moved || !size)
    {
        s_heapNow -= before;
        Counted(moved);
    }
    return moved;
}

extern "C" void free(void* p)
{
    Uncount(p);
    __libc_free(p);
}

namespace
{
// A parse takes a few milliseconds: enough runs for a median that a busy machine does not move.
const int kRepeats = 25;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The peak heap, above what was in use before, while work runs and keeps its result. The work
// runs on a thread of its own, so that no memory a library keeps for reuse from the runs before
// hides from the count.
template <class Work> long long PeakHeap(Work work)
{
    long long before = s_heapNow.load();
    s_heapPeak = before;
    std::thread worker(work);
    worker.join();
    return s_heapPeak.load() - before;
}

void Document(const std::string& label, const std::string& bytes)
{
    const double size = static_cast<double>(bytes.size());
    printf("%s: %zu bytes\n", label.c_str(), bytes.size());

    auto libraryParse = [&]
    {
        wxJSONReader reader(wxJSONREADER_STRICT);
        wxJSONValue root;
        wxMemoryInputStream is(bytes.data(), bytes.size());
        if (reader.Parse(is, &root) != 0)
            abort();
        kxBenchKeep(&root);
    };
    auto nlohmannParse = [&]
    {
        nlohmann::json root = nlohmann::json::parse(bytes);
        kxBenchKeep(&root);
    };
    auto rapidParse = [&]
    {
        rapidjson::Document root;
        root.Parse(bytes.data(), bytes.size());
        if (root.HasParseError())
            abort();
        kxBenchKeep(&root);
    };
    kxBenchCompare("json-parse-" + label + "-vs-nlohmann", libraryParse, nlohmannParse, size,
                   kRepeats);
    kxBenchCompare("json-parse-" + label + "-vs-rapidjson", libraryParse, rapidParse, size,
                   kRepeats);

    const wxString text = wxString::FromUTF8(bytes.data(), bytes.size());
    kxBenchCompare(
        "json-parse-" + label + "-wxstring-vs-nlohmann",
        [&]
        {
            wxJSONReader reader(wxJSONREADER_STRICT);
            wxJSONValue root;
            if (reader.Parse(text, &root) != 0)
                abort();
            kxBenchKeep(&root);
        },
        nlohmannParse, size, kRepeats);

    wxJSONValue tree;
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxMemoryInputStream is(bytes.data(), bytes.size());
    reader.Parse(is, &tree);
    const nlohmann::json reference = nlohmann::json::parse(bytes);
    rapidjson::Document rapid;
    rapid.Parse(bytes.data(), bytes.size());

    auto libraryWrite = [&]
    {
        wxJSONWriter writer(wxJSONWRITER_NONE);
        wxMemoryOutputStream os;
        writer.Write(tree, os);
        kxBenchKeep(&os);
    };
    auto nlohmannWrite = [&]
    {
        std::string out = reference.dump();
        kxBenchKeep(out.data());
    };
    auto rapidWrite = [&]
    {
        rapidjson::StringBuffer out;
        rapidjson::Writer<rapidjson::StringBuffer> writer(out);
        rapid.Accept(writer);
        kxBenchKeep(out.GetString());
    };
    kxBenchCompare("json-write-" + label + "-vs-nlohmann", libraryWrite, nlohmannWrite, size,
                   kRepeats);
    kxBenchCompare("json-write-" + label + "-vs-rapidjson", libraryWrite, rapidWrite, size,
                   kRepeats);
    kxBenchCompare(
        "json-write-" + label + "-wxstring-vs-nlohmann",
        [&]
        {
            wxJSONWriter writer(wxJSONWRITER_NONE);
            wxString out;
            writer.Write(tree, out);
            kxBenchKeep(&out);
        },
        nlohmannWrite, size, kRepeats);

    wxJSONValue kept;
    long long libraryHeap = PeakHeap(
        [&]
        {
            wxJSONReader keeper(wxJSONREADER_STRICT);
            wxMemoryInputStream in(bytes.data(), bytes.size());
            keeper.Parse(in, &kept);
        });
    nlohmann::json keptReference;
    long long nlohmannHeap = PeakHeap([&] { keptReference = nlohmann::json::parse(bytes); });
    printf("  %-44s %12.1f MiB\n", "peak heap of the tree (library)", libraryHeap / 1048576.0);
    printf("  %-44s %12.1f MiB\n", "peak heap of the tree (nlohmann)", nlohmannHeap / 1048576.0);
    printf("ratio json-memory-%s-vs-nlohmann %.3f\n", label.c_str(),
           static_cast<double>(libraryHeap) / static_cast<double>(nlohmannHeap));
    fflush(stdout);
}
} // namespace

int main()
{
    wxInitializer toolkit;
    const std::string folder = kxBenchSharedDir() + "/bench-data/";
    Document("twitter", ReadFile(folder + "twitter.json"));
    Document("citm", ReadFile(folder + "citm_catalog.json"));
    return 0;
}
