// A settings store of many groups of mixed items through one whole cycle (open, load, read and
// write every item, save), against a plain wxFileConfig doing the same reads and writes of the
// same entries of the same file; then the store's cycle at growing sizes, to show how it scales.
#include "kxRuzoVori/settings/kxSettings.h"
#include "support/kxBenchSupport.h"

#include <wx/filename.h>
#include <wx/init.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
const int g_itemsPerGroup = 100;
const wchar_t g_types[] = {L'B', L'D', L'L', L'S', L'U'};

kxSettingsItem MakeItem(int group, int item)
{
    const wxString name = wxString::Format(wxS("Entry%d"), item);
    switch (g_types[item % 5])
    {
    case L'B':
        return kxSettingsItem(name, item % 2 == 0);
    case L'D':
        return kxSettingsItem(name, group + item / 8.0);
    case L'L':
        return kxSettingsItem(name, group * 1000 + item);
    default:
        return kxSettingsItem(name, wxString::Format(wxS("text of %d/%d"), group, item),
                              g_types[item % 5]);
    }
}

void Declare(kxSettings& settings, int groups)
{
    for (int g = 0; g < groups; ++g)
    {
        kxSettingsGroup group;
        for (int i = 0; i < g_itemsPerGroup; ++i)
            group.AddItem(i, MakeItem(g, i));
        settings.AddGroup(group, g, true, wxString::Format(wxS("/Group%d"), g));
    }
}

// One cycle of the host's work: every item read and written once, then saved.
void StoreCycle(const wxString& file, int groups, int round)
{
    kxSettings settings(file, nullptr);
    Declare(settings, groups);
    settings.LoadSettings();
    bool flag;
    long number;
    double real;
    wxString text;
    for (int g = 0; g < groups; ++g)
    {
        for (int i = 0; i < g_itemsPerGroup; ++i)
        {
            switch (g_types[i % 5])
            {
            case L'B':
                settings.GetValue(g, i, flag);
                settings.SetValue(g, i, !flag, false);
                break;
            case L'D':
                settings.GetValue(g, i, real);
                settings.SetValue(g, i, real + 0.5, false);
                break;
            case L'L':
                settings.GetValue(g, i, number);
                settings.SetValue(g, i, number + 1, false);
                break;
            default:
                settings.GetValue(g, i, text);
                text.Last() = wxUniChar('0' + round % 10);
                settings.SetValue(g, i, text, false);
                break;
            }
        }
    }
    settings.Save2File();
}

// The peer reads every entry's text and writes new text to it, then flushes.
// Values alternate between rounds so that every flush has changes to write.
void PeerCycle(const wxString& file, int groups, const std::vector<std::vector<wxString>>& values,
               int round)
{
    wxFileConfig config(wxEmptyString, wxEmptyString, file, wxEmptyString,
                        wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_GLOBAL_FILE);
    config.SetExpandEnvVars(false);
    wxString text;
    for (int g = 0; g < groups; ++g)
    {
        config.SetPath(wxString::Format(wxS("/StaticGroup/Group%d"), g));
        for (int i = 0; i < g_itemsPerGroup; ++i)
        {
            const wxString name = wxString::Format(wxS("Entry%d"), i);
            config.Read(name, &text);
            kxBenchKeep(&text);
            config.Write(name, values[g][2 * i + round % 2]);
        }
    }
    config.Flush();
}

std::vector<std::vector<wxString>> PeerValues(const wxString& file, int groups)
{
    kxSettings settings(file, nullptr);
    Declare(settings, groups);
    settings.LoadSettings();
    wxFileConfig& config = settings;
    std::vector<std::vector<wxString>> values(groups);
    for (int g = 0; g < groups; ++g)
    {
        config.SetPath(wxString::Format(wxS("/StaticGroup/Group%d"), g));
        for (int i = 0; i < g_itemsPerGroup; ++i)
        {
            wxString text;
            config.Read(wxString::Format(wxS("Entry%d"), i), &text);
            values[g].push_back(text + wxS("1"));
            values[g].push_back(text + wxS("2"));
        }
    }
    settings.Freeze(true);
    return values;
}
} // namespace

int main()
{
    wxInitializer toolkit;
    const wxString dir = wxFileName::CreateTempFileName(wxS("kxbench-settings"));
    wxRemoveFile(dir);
    wxFileName::Mkdir(dir);
    const wxString storeFile = dir + wxS("/store.ini");
    const wxString peerFile = dir + wxS("/peer.ini");

    const int groups = 100;
    {
        kxSettings settings(storeFile, nullptr);
        Declare(settings, groups);
    }
    wxCopyFile(storeFile, peerFile);
    const std::vector<std::vector<wxString>> peerValues = PeerValues(peerFile, groups);

    printf("%d groups x %d items of mixed types: open, load, read and write each, save\n", groups,
           g_itemsPerGroup);
    int round = 0;
    kxBenchCompare(
        "settings-vs-fileconfig", [&] { StoreCycle(storeFile, groups, ++round); },
        [&] { PeerCycle(peerFile, groups, peerValues, round); });

    printf("the store's cycle by size\n");
    for (int size : {1000, 10000, 100000})
    {
        const int sizeGroups = size / g_itemsPerGroup;
        const wxString file = dir + wxString::Format(wxS("/size%d.ini"), size);
        {
            kxSettings settings(file, nullptr);
            Declare(settings, sizeGroups);
        }
        const double seconds =
            kxBenchMedian([&] { StoreCycle(file, sizeGroups, ++round); }, size >= 100000 ? 3 : 5);
        kxBenchRow(std::to_string(size) + " items", seconds);
        printf("per-item %d %.3f us\n", size, seconds / size * 1e6);
    }
    wxFileName::Rmdir(dir, wxPATH_RMDIR_RECURSIVE);
    return 0;
}
