// A settings store of many groups of mixed items loading, reading and writing every item and
// saving, against a plain wxFileConfig doing the same reads and writes of the same entries of the
// same file, at 1,000, 10,000 and 100,000 items; and once with opening and closing included.
#include "kxRuzoVori/settings/kxSettings.h"
#include "support/kxBenchSupport.h"

#include <wx/filename.h>
#include <wx/init.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
const int kItemsPerGroup = 100;
const wchar_t kTypes[] = {L'B', L'D', L'L', L'S', L'U'};

kxSettingsItem MakeItem(int group, int item)
{
    const wxString name = wxString::Format(wxS("Entry%d"), item);
    switch (kTypes[item % 5])
    {
    case L'B':
        return kxSettingsItem(name, item % 2 == 0);
    case L'D':
        return kxSettingsItem(name, group + item / 8.0);
    case L'L':
        return kxSettingsItem(name, group * 1000 + item);
    default:
        return kxSettingsItem(name, wxString::Format(wxS("text of %d/%d"), group, item),
                              kTypes[item % 5]);
    }
}

void Declare(kxSettings& settings, int groups)
{
    for (int g = 0; g < groups; ++g)
    {
        kxSettingsGroup group;
        for (int i = 0; i < kItemsPerGroup; ++i)
            group.AddItem(i, MakeItem(g, i));
        settings.AddGroup(group, g, true, wxString::Format(wxS("/Group%d"), g));
    }
}

// The host's work on an open store: load, read and write every item once, save.
void StoreWork(kxSettings& settings, int groups, int round)
{
    settings.LoadSettings();
    bool flag;
    long number;
    double real;
    wxString text;
    for (int g = 0; g < groups; ++g)
    {
        for (int i = 0; i < kItemsPerGroup; ++i)
        {
            switch (kTypes[i % 5])
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

// The same with opening the file and declaring the groups, and saving again on closing.
void StoreCycle(const wxString& file, int groups, int round)
{
    kxSettings settings(file, nullptr);
    Declare(settings, groups);
    StoreWork(settings, groups, round);
}

// The peer reads every entry's text and writes new text to it, then flushes. Values alternate
// between rounds so that every flush has changes to write.
void PeerWork(wxFileConfig& config, int groups, const std::vector<std::vector<wxString>>& values,
              int round)
{
    wxString text;
    for (int g = 0; g < groups; ++g)
    {
        config.SetPath(wxString::Format(wxS("/StaticGroup/Group%d"), g));
        for (int i = 0; i < kItemsPerGroup; ++i)
        {
            const wxString name = wxString::Format(wxS("Entry%d"), i);
            config.Read(name, &text);
            kxBenchKeep(&text);
            config.Write(name, values[g][2 * i + round % 2]);
        }
    }
    config.Flush();
}

void PeerCycle(const wxString& file, int groups, const std::vector<std::vector<wxString>>& values,
               int round)
{
    wxFileConfig config(wxEmptyString, wxEmptyString, file, wxEmptyString,
                        wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_GLOBAL_FILE);
    config.SetExpandEnvVars(false);
    PeerWork(config, groups, values, round);
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
        for (int i = 0; i < kItemsPerGroup; ++i)
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

// A store file and a peer file of the same entries, for groups groups.
void MakeFiles(const wxString& storeFile, const wxString& peerFile, int groups)
{
    {
        kxSettings settings(storeFile, nullptr);
        Declare(settings, groups);
    }
    wxCopyFile(storeFile, peerFile);
}
} // namespace

int main()
{
    wxInitializer toolkit;
    const wxString dir = wxFileName::CreateTempFileName(wxS("kxbench-settings"));
    wxRemoveFile(dir);
    wxFileName::Mkdir(dir);

    int round = 0;
    for (int groups : {10, 100, 1000})
    {
        const int items = groups * kItemsPerGroup;
        const wxString storeFile = dir + wxString::Format(wxS("/store%d.ini"), items);
        const wxString peerFile = dir + wxString::Format(wxS("/peer%d.ini"), items);
        MakeFiles(storeFile, peerFile, groups);
        const std::vector<std::vector<wxString>> peerValues = PeerValues(peerFile, groups);
        const int repeats = items >= 100000 ? 3 : 7;
        printf("%d groups x %d items of mixed types: load, read and write each, save\n", groups,
               kItemsPerGroup);
        {
            kxSettings settings(storeFile, nullptr);
            Declare(settings, groups);
            wxFileConfig config(wxEmptyString, wxEmptyString, peerFile, wxEmptyString,
                                wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_GLOBAL_FILE);
            config.SetExpandEnvVars(false);
            const std::string name = items == 10000
                                         ? std::string("settings-vs-fileconfig")
                                         : "settings-vs-fileconfig-" + std::to_string(items);
            kxBenchCompare(
                name, [&] { StoreWork(settings, groups, ++round); },
                [&] { PeerWork(config, groups, peerValues, round); }, 0, repeats);
        }
        if (items == 10000)
        {
            printf("the same, with opening the file, declaring the groups and closing\n");
            kxBenchCompare(
                "settings-vs-fileconfig-with-open", [&] { StoreCycle(storeFile, groups, ++round); },
                [&] { PeerCycle(peerFile, groups, peerValues, round); }, 0, repeats);
        }
    }
    wxFileName::Rmdir(dir, wxPATH_RMDIR_RECURSIVE);
    return 0;
}
